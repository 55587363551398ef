// The handle and overlapped-record types of the serial object, per platform.
#pragma once

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

using CommHandle = HANDLE;
using CommOverlapped = OVERLAPPED;
inline const CommHandle COMM_NO_HANDLE = INVALID_HANDLE_VALUE;
#else
using CommHandle = int;  // file descriptor
// POSIX has no overlapped I/O. The two records carry the ends of the pipe that wakes the
// reader out of poll(): m_ovRead.hEvent is polled by the reader, m_ovWrite.hEvent is written by
// Close.
struct CommOverlapped {
    int hEvent = -1;
};
inline constexpr CommHandle COMM_NO_HANDLE = -1;
#endif
