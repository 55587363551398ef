// The days of a year that Dorvane hands to other programs (the iCalendar and JSON exports):
// every national holiday, marked day and biweekly day off, each with its name.
#pragma once

#include <string>
#include <vector>

#include "date/holidays.h"
#include "date/lunar_date.h"
#include "date/mark_names.h"

enum class DayOffKind { National, Marked, Biweekly };

struct ExportedHoliday {
    SolarDate date;
    DayOffKind kind;
    // UTF-8: a national holiday's own names joined by ", ", a marked day's names (its holiday
    // files' SUMMARYs) likewise, else the kind's name
    std::string name;
};

// The kind for programs: "national", "marked", "biweekly".
const char* DayOffKindKey(DayOffKind kind);
// The kind for people: "국가공휴일", "설정공휴일", "격주휴무".
const char* DayOffKindName(DayOffKind kind);

// Calendar order. A day's kind is what the holiday rule gives under `settings` with Sundays
// taken as ordinary days: a national holiday or a marked day on a Sunday is exported as such,
// and plain Sundays are left out. A marked day is called by its `names`, where it has any.
std::vector<ExportedHoliday> ExportedHolidays(int year, const HolidaySettings& settings, const MarkNames& names);
