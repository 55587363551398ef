// How the traffic log shows a line: a frame's control bytes (STX, ETX, a CR or LF inside a
// reply, any other) spelled out, since no Hangul console face draws them.
#pragma once

#include <string>
#include <string_view>

// "<STX>", "<ETX>", "<CR>", "<LF>" for those bytes, "<15>" (hex) for the other control bytes;
// everything else, Hangul included, as it is.
std::string ShowControlBytes(std::string_view text);
