#include <gtest/gtest.h>

#include "base/printable_text.h"

TEST(PrintableText, ShowsTextAsItIsAndEscapesEverythingThatCouldActOnAScreen)
{
    const struct {
        std::string bytes;
        std::string shown;
    } rows[] = {
        {"OK", "OK"},
        {"\x02" "D270101" "\x03", "<STX>D270101<ETX>"},
        {"#READY\r\nOK", "#READY<CR><LF>OK"},
        {"개교기념일", "개교기념일"},
        {"\x1b[2J\x1b]0;title\x07", "\\x1B[2J\\x1B]0;title\\x07"},
        {std::string("\x7f\x00", 2), "\\x7F\\x00"},
        {"\xc2\x9b" "31m", "\\xC2\\x9B31m"},       // CSI as a C1 control
        {"\xc2\xa0", "\xc2\xa0"},                  // no-break space is text
        {"\xc0\xaf", "\\xC0\\xAF"},                // overlong '/'
        {"\xed\xa0\x80", "\\xED\\xA0\\x80"},       // a surrogate
        {"\xf4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},  // above U+10FFFF
        {"\xea\xb0", "\\xEA\\xB0"},                // cut short
        {"\xff", "\\xFF"},
    };
    for (const auto& row : rows) EXPECT_EQ(PrintableText(row.bytes), row.shown) << row.shown;
}
