// The line settings a port is opened with. Each transport maps them with a table of its own
// (termios flags, the Win32 DCB, RFC 2217's values).
#pragma once

#include <cstdint>

// The terminal's line speed, bits per second.
inline constexpr std::uint32_t TERMINAL_BAUD_RATE = 9600;

enum class CommParity : std::uint8_t { None, Odd, Even, Mark, Space };
enum class CommStopBits : std::uint8_t { One, OneAndHalf, Two };

struct CommLineSettings {
    int port = 0;  // n of COMn
    std::uint32_t baudRate = TERMINAL_BAUD_RATE;
    std::uint8_t byteSize = 8;
    CommParity parity = CommParity::None;
    CommStopBits stopBits = CommStopBits::One;
};
