// <windows.h> for the Win32 source files, lean and without the min and max macros. Only .cpp
// files include it: the OS types stay out of every header that others include.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
