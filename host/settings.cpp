#include "host/settings.h"

uint32_t screenWidth;
uint32_t screenHeight;
uint32_t colourBits;
uint32_t depthBits;
int32_t fullscreen;
float fieldOfView;
float nearPlane;
float farPlane;
char titleText[64];
char commandLineText[256];

int32_t running = 1;

HWND windowHandle;
