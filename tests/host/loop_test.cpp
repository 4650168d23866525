// The main loop, the frame timer and the window procedure, driven by the virtual clock.
#include "host/demo_system.h"
#include "platform/headless/control.h"
#include "tests/host/host_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

using Loop = HostFixture;

// Input queued by the start-up hook reaches the loop before its first frame.
std::vector<std::pair<UINT, WPARAM>> inputAtStart;
int messagesAtStart;
int quitAtFrame;

void queueInput(const char* title) {
    for (auto [message, wParam] : inputAtStart) {
        if (message == WM_CLOSE)
            headless::requestClose();
        else
            headless::pressKey(wParam, message == WM_KEYDOWN);
    }
    for (int i = 0; i < messagesAtStart; ++i)
        headless::postToWindow(windowHandle, WM_USER + i);
    (void)title;
    headless::recordCalls(true);
}

void quitFromFrame(const char*) {
    ++frameCalls;
    if (frameCalls == quitAtFrame)
        PostQuitMessage(5);
}

int peeksBeforeFirstSwap() {
    const auto& calls = headless::calls();
    auto swap = std::find(calls.begin(), calls.end(), "SwapBuffers");
    return static_cast<int>(std::count(calls.begin(), swap, "PeekMessageA"));
}

} // namespace

TEST(FrameTimer, MeasuresTheIntervalSinceTheLastFrame) {
    struct Case {
        const char* name;
        int64_t frequency;
        int64_t previous;
        int64_t now;
        double expectedSeconds; // what frameSeconds holds afterwards (it starts at 0.25)
        double expectedRate;
    };
    const Case cases[] = {
        {"over a second", 10'000'000, 1'000, 15'001'000, 1e-7, 1.0 / 1.5},
        {"exactly a second", 10'000'000, 0, 10'000'000, 1.0, 1.0},
        {"a 60th of a second", 600, 100, 110, 10.0 / 600.0, 60.0},
        {"still counter", 10'000'000, 42, 42, 0.25, 0.0},
        {"backwards counter", 10'000'000, 20'000'000, 15'000'000, -0.5, -2.0},
        {"no counter", 0, 0, 1'000, 0.25, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        headless::reset();
        DemoSystem host(640, 480, 32, 16, 0, "t", "");
        headless::setCounterFrequency(c.frequency);
        host.readCounterFrequency();
        EXPECT_EQ(host.ticksPerSecond, static_cast<double>(c.frequency));
        host.currentCount = c.previous;
        headless::pinCounter(c.now);
        double seconds = 0.25;
        const double rate = host.measureFrame(seconds);
        EXPECT_EQ(seconds, c.expectedSeconds);
        EXPECT_DOUBLE_EQ(rate, c.expectedRate);
        EXPECT_EQ(host.previousCount, c.previous);
        EXPECT_EQ(host.currentCount, c.now);
        delete[] host.textBuffer;
    }
    headless::reset();
}

TEST_F(Loop, EachPendingMessageDelaysTheFrameByOneTurn) {
    for (int pending : {0, 1, 5}) {
        headless::reset();
        DemoSystem& host = makeHost(0);
        host.initCallback = queueInput;
        inputAtStart.clear();
        messagesAtStart = pending;
        endAfterFrames = 1;
        ASSERT_EQ(host.run(), 0);
        EXPECT_EQ(peeksBeforeFirstSwap(), pending + 1) << pending << " messages";
    }
}

TEST_F(Loop, EscapeAndCloseEndTheRunOtherKeysDoNothing) {
    struct Case {
        const char* name;
        UINT message;
        WPARAM key;
        bool ends;
    };
    const Case cases[] = {
        {"Escape down", WM_KEYDOWN, VK_ESCAPE, true},
        {"Escape up", WM_KEYUP, VK_ESCAPE, true},
        {"close request", WM_CLOSE, 0, true},
        {"space", WM_KEYDOWN, VK_SPACE, false},
        {"Q", WM_KEYDOWN, 'Q', false},
        {"return up", WM_KEYUP, VK_RETURN, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        headless::reset();
        DemoSystem& host = makeHost(0);
        host.initCallback = queueInput;
        inputAtStart = {{c.message, c.key}};
        messagesAtStart = 0;
        endAfterFrames = 3; // Escape after three frames, should the key not end the run
        EXPECT_EQ(host.run(), 0);
        EXPECT_EQ(frameCalls, c.ends ? 0 : 3);
        EXPECT_TRUE(headless::windows().empty());
    }
}

TEST_F(Loop, QuitMessageEndsTheLoopAtOnceWithItsCode) {
    DemoSystem& host = makeHost(0);
    host.frameCallback = quitFromFrame;
    quitAtFrame = 2;
    headless::recordCalls(true);
    EXPECT_EQ(host.run(), 5);
    EXPECT_EQ(frameCalls, 2);
    EXPECT_EQ(running, 0);
    EXPECT_EQ(host.lastMessage.message, static_cast<UINT>(WM_QUIT));
    const auto& calls = headless::calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "SwapBuffers"), 2);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "DispatchMessageA"), 0);
}

TEST_F(Loop, WindowedTitleShowsTheMeasuredRate) {
    struct Case {
        int64_t frameNanoseconds;
        const char* rate;
    };
    // The first frame is measured from the clock's origin, where the virtual clock starts.
    const Case cases[] = {
        {800'000, "1250.00"},
        {40'000'000, "25.00"},
        {3'000'000'000, " 0.33"},
        {1'000, "1000000.00"},
    };
    for (const Case& c : cases) {
        headless::reset();
        DemoSystem& host = makeHost(0);
        frameNanoseconds = c.frameNanoseconds;
        endAfterFrames = 3;
        ASSERT_EQ(host.run(), 0);
        ASSERT_EQ(titlesAtFrames.size(), 3u);
        EXPECT_EQ(titlesAtFrames[0], "(Pelvaro, fast-intro) -- [640x480^32^16]");
        EXPECT_EQ(titlesAtFrames[1], "(Pelvaro, fast-intro) -- [640x480^32^16] [fps:  0.00]")
            << "the first interval is zero on a clock that has not moved";
        EXPECT_EQ(titlesAtFrames[2],
                  std::string("(Pelvaro, fast-intro) -- [640x480^32^16] [fps: ") + c.rate + "]");
        EXPECT_DOUBLE_EQ(host.framesPerSecond * c.frameNanoseconds, 1e9);
    }
}

TEST_F(Loop, FullscreenTitleNeverChanges) {
    DemoSystem& host = makeHost(1);
    frameNanoseconds = 16'000'000;
    endAfterFrames = 4;
    headless::recordCalls(true);
    ASSERT_EQ(host.run(), 0);
    for (const std::string& title : titlesAtFrames)
        EXPECT_EQ(title, "(Pelvaro, fast-intro) -- [640x480^32^16]");
    const auto& calls = headless::calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "SetWindowTextA"), 0);
}

TEST_F(Loop, StalledFrameStepsTheShowByATenMillionthOfASecond) {
    DemoSystem& host = makeHost(0);
    headless::setClockNanoseconds(5'000'000'000); // the first interval spans 5 s of uptime
    frameNanoseconds = 20'000'000;
    endAfterFrames = 1;
    ASSERT_EQ(host.run(), 0);
    EXPECT_EQ(host.frameSeconds, 1e-7);
    EXPECT_DOUBLE_EQ(host.framesPerSecond, 0.2);
}
