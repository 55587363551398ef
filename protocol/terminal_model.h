// What a terminal model is: its id, its name, how its frames are delimited on the line and how
// its answer to a data read begins. Everything else that differs by model asks here.
#pragma once

#include <string>
#include <string_view>

inline constexpr int MODEL_ZEFA101 = 0;  // "#", letter, fields, CR LF
inline constexpr int MODEL_ZEFA102 = 1;  // STX, letter, fields, ETX

// The names, indexed by model: the only spelling printed or shown anywhere.
inline constexpr const char* MODEL_NAMES[] = {"ZEFA-101", "ZEFA-102"};

const char* ModelName(int model);
// Every model's name, in order, joined by `separator` ("|" in a usage line, " or " in a message).
std::string ModelNames(const char* separator);
// MODEL_ZEFA101 or MODEL_ZEFA102 for its name, in upper or lower case; -1 for anything else.
int ParseModelName(std::string_view name);
// FRAMING_LINES for the ZEFA-101, FRAMING_STX_ETX for the ZEFA-102 (comm/framing.h).
int ModelFraming(int model);
// Characters ahead of the MMDD groups in the answer to R; the tool skips them unread.
int ReadReplyHeaderLength(int model);

// The years a terminal's frames can carry: their year field is the year minus 2000, and four
// digits at most.
inline constexpr int TERMINAL_FIRST_YEAR = 2000;
inline constexpr int TERMINAL_LAST_YEAR = 9999;
inline constexpr bool IsTerminalYear(int year)
{
    return year >= TERMINAL_FIRST_YEAR && year <= TERMINAL_LAST_YEAR;
}
