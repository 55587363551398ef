#include "protocol/frames.h"

#include <gtest/gtest.h>

#include "protocol/terminal_model.h"

namespace {

constexpr int Z1 = MODEL_ZEFA101;
constexpr int Z2 = MODEL_ZEFA102;

struct FrameCase {
    const char* what;
    std::string frame;
    std::string bytes;
};

std::string S(const char* text, size_t n)
{
    return std::string(text, n);
}

}  // namespace

TEST(Frames, ByteExactInBothFramings)
{
    const LocalTime monday{2009, 1, 26, 13, 5, 9};
    const LocalTime year2100{2100, 3, 1, 0, 0, 0};  // a Monday
    const FrameCase cases[] = {
        {"E lines", FrameConnect(Z1), "#E\r\n"},
        {"E stx", FrameConnect(Z2),
         S("\x02"
           "E\x03",
           3)},
        {"T lines, no seconds", FrameSetTime(Z1, monday), "#T09012621305\r\n"},
        {"T stx", FrameSetTime(Z2, monday), S("\x02T0901262130509\x03", 16)},
        {"T year 2100", FrameSetTime(Z2, year2100), S("\x02T10003012000000\x03", 17)},
        {"T Sunday digit", FrameSetTime(Z2, {2009, 1, 25, 23, 59, 59}), S("\x02T0901251235959\x03", 16)},
        {"R lines", FrameRead(Z1, 2027), "#R\r\n"},
        {"R stx", FrameRead(Z2, 2027), S("\x02R27\x03", 5)},
        {"R stx 2009", FrameRead(Z2, 2009), S("\x02R09\x03", 5)},
        {"R stx 2100", FrameRead(Z2, 2100), S("\x02R100\x03", 6)},
        {"C lines", FrameDelete(Z1, 2027), "#C\r\n"},
        {"C stx", FrameDelete(Z2, 2012),
         S("\x02"
           "C12\x03",
           5)},
        {"D lines", FrameHoliday(Z1, {9, 3, 1}), "#D0301\r\n"},
        {"D stx", FrameHoliday(Z2, {9, 3, 1}),
         S("\x02"
           "D090301\x03",
           9)},
        {"D stx end record", FrameHoliday(Z2, {27, 0, 0}),
         S("\x02"
           "D270000\x03",
           9)},
        {"D stx 2100", FrameHoliday(Z2, {100, 12, 25}),
         S("\x02"
           "D1001225\x03",
           10)},
        {"W", FrameWeekdays("2671"), S("\x02W2671\x03", 7)},
        {"L", FrameLoanPeriods(14, 7), S("\x02L014007\x03", 9)},
        {"L widest", FrameLoanPeriods(255, 250), S("\x02L255250\x03", 9)},
    };
    for (const FrameCase& c : cases) EXPECT_EQ(c.frame, c.bytes) << c.what;
}
