// A holiday file: an iCalendar file whose all-day events are days off. Read once by libical, it
// gives its days for any year shown, so they can be marked again after every clear of the marks.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/operator_message.h"
#include "date/holidays.h"
#include "date/lunar_date.h"

// One all-day event; days are day numbers (DayNumber).
struct AllDayEvent {
    int start;                        // DTSTART
    int length;                       // days covered from each start, at least 1
    std::vector<std::string> rules;   // RRULE values, as libical writes them
    std::vector<int> extraStarts;     // RDATE
    std::vector<int> excludedStarts;  // EXDATE, and instances that another event replaces
};

struct HolidayFile {
    std::string name;  // how messages name the file
    std::vector<AllDayEvent> events;
};

struct HolidayFileRead {
    std::optional<HolidayFile> file;  // empty when the file is refused as a whole
    int refusedLine = 0;              // the line at fault; 0 when the file could not be opened
    OperatorMessage refusal;
    std::vector<OperatorMessage> skipped;  // one per event with a time of day, which marks nothing
};

// `name` is how messages name the file.
HolidayFileRead ReadHolidayFile(std::string_view text, const std::string& name);
// `text`, when given, receives the bytes read.
HolidayFileRead ReadHolidayFile(const std::filesystem::path& path, std::string* text = nullptr);

// The solar days of `year` that the file's events cover, in calendar order, each once.
std::vector<SolarDate> HolidayFileDays(const HolidayFile& file, int year);

// Marks the days of `year` of every file in settings.marks, which hold that year.
void MarkHolidayFileDays(const std::vector<HolidayFile>& files, int year, HolidaySettings& settings);
