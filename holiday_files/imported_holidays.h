// The days of one year that holiday files give, each with where it came from: an event's
// SUMMARY and its file, for the listing and the exports now and for whoever shows a day's origin.
#pragma once

#include <string>
#include <vector>

#include "base/operator_message.h"
#include "date/holidays.h"
#include "date/lunar_date.h"
#include "date/mark_names.h"
#include "holiday_files/holiday_file.h"

// An event that covers a day.
struct ImportedName {
    std::string summary;  // as in AllDayEvent; empty for an event without one
    std::string file;     // the file's name, as PrintableText shows it
};

struct ImportedHoliday {
    SolarDate date;
    std::vector<ImportedName> names;  // the events covering it, each (summary, file) once; the first 8
};

struct ImportedYear {
    std::vector<ImportedHoliday> days;      // in calendar order
    std::vector<OperatorMessage> refusals;  // one per file whose days of the year cannot be known
};

// The days of `year` that the files' events cover. A file is refused for the year, its days all
// left out, when libical cannot follow one of its repeating events into it, or when its rules
// without COUNT repeat more in it than a holiday file needs (100,000 steps: a start is one,
// setting a rule up forty); the cost is the year's, whatever DTSTART is.
ImportedYear ImportedHolidays(const std::vector<HolidayFile>& files, int year);

// Marks the days of `year` of every file in settings.marks, which hold that year, and gives each
// its SUMMARYs in `names`. Returns the refusals of ImportedHolidays.
std::vector<OperatorMessage> MarkHolidayFileDays(const std::vector<HolidayFile>& files, int year,
                                                 HolidaySettings& settings, MarkNames& names);
