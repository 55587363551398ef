#include "protocol/read_reply.h"

#include <cstring>

#include "protocol/terminal_model.h"

namespace {

// Reads up to `width` characters like atoi: leading white space, one sign, then digits up
// to the first non-digit; no digits give 0. Two characters never overflow an int.
int ReadField(const char* p, int width)
{
    int i = 0;
    while (i < width && (p[i] == ' ' || (p[i] >= '\t' && p[i] <= '\r'))) ++i;
    int sign = 1;
    if (i < width && (p[i] == '+' || p[i] == '-')) {
        if (p[i] == '-') sign = -1;
        ++i;
    }
    int value = 0;
    for (; i < width && p[i] >= '0' && p[i] <= '9'; ++i) value = value * 10 + (p[i] - '0');
    return sign * value;
}

int Clamp(int n, int lo, int hi)
{
    return n < lo ? lo : (n > hi ? hi : n);
}

}  // namespace

int ParseReadReply(const char* text, int model, int (&marks)[13][32])
{
    const int length = static_cast<int>(std::strlen(text));
    int set = 0;
    for (int at = ReadReplyHeaderLength(model); at < length; at += 4) {
        const int left = length - at;
        const int month = ReadField(text + at, Clamp(left, 0, 2));
        const int day = ReadField(text + at + 2, Clamp(left - 2, 0, 2));
        if (month < 1 || month > 12 || day < 1 || day > 31) continue;
        marks[month][day] = 1;
        ++set;
    }
    return set;
}
