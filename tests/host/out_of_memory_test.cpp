// A host whose work buffer cannot be had stops with an error box before anything is made.
#include "host/demo_system.h"
#include "platform/headless/control.h"

#include <gtest/gtest.h>

#include <new>

namespace {

bool refuseArrays = false;

} // namespace

// The host asks for its buffer without exceptions; this binary can make that request fail.
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (refuseArrays)
        return nullptr;
    try {
        return ::operator new[](size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

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
