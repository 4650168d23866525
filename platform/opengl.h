// OpenGL 1.1 and GLU are the real libraries everywhere; elsewhere than on Windows this header
// also declares the wgl binding that our platform layer provides.
#pragma once

#include "platform/win32.h"

#include <GL/gl.h>
#include <GL/glu.h>

#ifndef _WIN32
struct HGLRC__;
typedef struct HGLRC__* HGLRC;

HGLRC WINAPI wglCreateContext(HDC deviceContext);
BOOL WINAPI wglMakeCurrent(HDC deviceContext, HGLRC renderContext);
BOOL WINAPI wglDeleteContext(HGLRC renderContext);
#endif
