// The show clock against the virtual millisecond clock, across its wrap.
#include "platform/headless/control.h"
#include "show/show_clock.h"

#include <gtest/gtest.h>

namespace {

constexpr int64_t wrap = int64_t{1} << 32; // milliseconds

// Sets the virtual clock so that timeGetTime reads the given value (taken modulo 2^32).
void clockReads(int64_t milliseconds) {
    headless::setClockNanoseconds(milliseconds * 1'000'000);
}

} // namespace

TEST(ShowClock, StrictTestAtEveryThreshold) {
    struct Case {
        const char* name;
        int64_t start; // where the show began, in clock milliseconds
        uint32_t t;
    };
    const Case cases[] = {
        {"ordinary", 5'000, 1'234},
        {"zero threshold", 77, 0},
        {"end of the show", 1'000, 132'000},
        {"start near the wrap, threshold past it", wrap - 1'000, 132'000},
        {"start just before the wrap", wrap - 1, 0},
        {"start exactly at the wrap", wrap, 10},
        {"threshold ending exactly at the wrap", wrap - 500, 499},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        headless::reset();
        clockReads(c.start);
        showStartMs = timeGetTime();
        EXPECT_FALSE(isPastMs(c.t)) << "at the start";
        clockReads(c.start + c.t);
        EXPECT_FALSE(isPastMs(c.t)) << "exactly t after the start";
        clockReads(c.start + c.t + 1);
        EXPECT_TRUE(isPastMs(c.t)) << "one millisecond later";
        clockReads(c.start + c.t + 100'000);
        EXPECT_TRUE(isPastMs(c.t)) << "long after";
    }
    headless::reset();
}

TEST(ShowClock, ReadsTheClockAtEveryCall) {
    headless::reset();
    clockReads(wrap - 10);
    showStartMs = timeGetTime();
    EXPECT_FALSE(isPastMs(0)) << "in the very millisecond the show began";
    headless::advanceMilliseconds(1);
    EXPECT_TRUE(isPastMs(0));
    EXPECT_FALSE(isPastMs(20));
    headless::advanceMilliseconds(20);
    EXPECT_TRUE(isPastMs(20)) << "21 ms later, across the wrap";
    headless::reset();
}
