// A host whose work buffer cannot be had stops with an error box before anything is made.
#include "host/demo_system.h"
#include "platform/headless/control.h"
#include "tests/support/refusing_allocator.h"

#include <gtest/gtest.h>

TEST(OutOfMemory, HostWithoutItsBufferStopsWithABox) {
    headless::reset();
    refuseArrays = true;
    DemoSystem host(640, 480, 32, 16, 1, "Pelvaro, fast-intro", "");
    refuseArrays = false;
    ASSERT_EQ(host.textBuffer, nullptr);
    running = 1;
    EXPECT_EQ(host.run(), -1);
    ASSERT_EQ(headless::messageBoxes().size(), 1u);
    EXPECT_EQ(headless::messageBoxes()[0].text, "Not enough memory to start.");
    EXPECT_EQ(headless::messageBoxes()[0].caption, "ERROR!");
    EXPECT_EQ(headless::messageBoxes()[0].type, static_cast<UINT>(MB_OK | MB_ICONWARNING));
    EXPECT_TRUE(headless::windows().empty());
    EXPECT_EQ(headless::currentDisplayMode(), headless::desktopMode());
}
