// The computer's local date and time, read once.
#pragma once

struct LocalTime {
    int year, month, day;      // month 1..12, day 1..31
    int hour, minute, second;  // 0..23, 0..59, 0..60
};

LocalTime ReadLocalClock();
