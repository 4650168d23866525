// A host on the headless machine whose hooks record what they are given and what OpenGL holds.
#pragma once

#include "host/demo_system.h"
#include "platform/headless/control.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct GlState {
    double projection[16];
    double modelView[16];
    std::vector<int> viewport;
    int matrixMode;
    bool depthTest;
    int depthFunction;
    std::vector<float> clearColour;
    double clearDepth;
    int shadeModel;
    int perspectiveHint;
};

// What the hooks saw during the latest run.
extern int initCalls;
extern int frameCalls;
extern std::string initTitle;
extern std::string frameTitle;
extern GlState stateAtInit;
extern headless::DisplayMode displayAtInit;
extern bool cursorAtInit;
extern headless::WindowState openedWindow; // as it was at the first frame
extern std::vector<std::string> titlesAtFrames;

// How the frame hook steers the run: Escape once this many frames are drawn (0: never), the
// virtual time each frame takes, and whether to trace platform calls from the first frame on.
extern int endAfterFrames;
extern int64_t frameNanoseconds;
extern bool recordCallsFromFirstFrame;

// Registers a class named "glwin" of our own; false when one exists already.
bool registerRivalClass();

class HostFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A fresh host, as the entry makes it but with the given mode, size and depths.
    DemoSystem& makeHost(int32_t mode, const char* commandLine = "", uint32_t width = 640,
                         uint32_t height = 480, uint32_t colour = 32, uint32_t depth = 16);

private:
    std::vector<DemoSystem*> hosts;
};
