// The run's settings: process-wide values, shared by the host and the setup dialog's procedure,
// which is given no pointer to the host.
#pragma once

#include "platform/win32.h"

#include <cstdint>

extern uint32_t screenWidth;
extern uint32_t screenHeight;
extern uint32_t colourBits;
extern uint32_t depthBits;
extern int32_t fullscreen;
extern float fieldOfView;
extern float nearPlane;
extern float farPlane;
extern char titleText[64];
extern char commandLineText[256];

// 1 from the program's start; cleared by an aborted dialog or by the loop taking WM_QUIT.
extern int32_t running;

extern HWND windowHandle;
