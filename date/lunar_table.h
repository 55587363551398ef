// The Korean lunisolar calendar for lunar years 1841-2049 as month codes. The official calendar
// is published through solar 2050; lunar 2049 is the last year it holds to its end.
#pragma once

inline constexpr int LUNAR_FIRST_YEAR = 1841;
inline constexpr int LUNAR_LAST_YEAR = 2049;
inline constexpr int LUNAR_YEAR_COUNT = LUNAR_LAST_YEAR - LUNAR_FIRST_YEAR + 1;  // 209

// Solar day number of 22 January 1841, the day before lunar 1841-01-01.
inline constexpr int LUNAR_BASE_DAY = 672068;

// [year - 1841][month - 1]; the code gives the month's length and its leap month:
// 1 = 29, 2 = 30, 3 = 29 + leap 29, 4 = 29 + leap 30, 5 = 30 + leap 29, 6 = 30 + leap 30.
extern const signed char LunarMonthCodes[LUNAR_YEAR_COUNT][12];

// [k] = days of lunar years 1841 .. 1841 + k together, leap months included.
extern const int LunarCumDays[LUNAR_YEAR_COUNT];

// Days of month and its leap month together for a code 1..6.
constexpr int LunarCodeDays(int code)
{
    constexpr int kDays[7] = {0, 29, 30, 58, 59, 59, 60};
    return (code >= 1 && code <= 6) ? kDays[code] : 0;
}
