// Text from outside (a terminal's reply, a file's name or SUMMARY, an argument) as a console, a
// message or a listing may show it. A terminal, or anyone on a device server's port, must not be
// able to move the cursor, change colours or forge a line of its own on an operator's screen.
#pragma once

#include <string>
#include <string_view>

// Printable ASCII and well-formed UTF-8 (Hangul included) as they are; STX, ETX, CR and LF as
// "<STX>", "<ETX>", "<CR>", "<LF>", as the traffic is read; every other control byte, C1 control,
// and byte that is not well-formed UTF-8 as "\xNN".
std::string PrintableText(std::string_view bytes);
// One console line as it is shown: PrintableText of the line, and the "\n" that ended it, if
// one did, kept as the line's end.
std::string PrintableLine(std::string_view line);
