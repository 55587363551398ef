// The two framings of the line, and the bytes and sizes that make them.
#pragma once

inline constexpr int FRAMING_LINES = 0;    // CR LF lines
inline constexpr int FRAMING_STX_ETX = 1;  // STX ... ETX; any nonzero value means this

inline constexpr char STX = 0x02;
inline constexpr char ETX = 0x03;
inline constexpr char CR = 0x0D;
inline constexpr char LF = 0x0A;

inline constexpr int COMM_FRAME_MAX = 2048;  // longer frames are cut here, see the framers
inline constexpr int COMM_READ_MAX = 2048;   // bytes taken from the driver per read
// In long-reply mode the line framer joins lines until it holds at least this many characters:
// the shortest answer a ZEFA-101 gives to a data read.
inline constexpr int LONG_REPLY_MIN_LEN = 143;
