// The line settings a port is opened with. Each transport maps them with a table of its own
// (termios flags, the Win32 DCB, RFC 2217's values).
#pragma once

#include <cstdint>

enum class CommParity : std::uint8_t { None, Odd, Even, Mark, Space };
enum class CommStopBits : std::uint8_t { One, OneAndHalf, Two };

struct CommLineSettings {
    int port = 0;  // n of COMn
    std::uint32_t baudRate = 9600;
    std::uint8_t byteSize = 8;
    CommParity parity = CommParity::None;
    CommStopBits stopBits = CommStopBits::One;
};
