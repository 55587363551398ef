// A holiday file: an iCalendar file whose all-day events are days off. Read once by libical, it
// gives its days for any year shown, so they can be marked again after every clear of the marks.
//
// libical's recurrence iterator is where the file's reach ends (recurrence.h): a repeating event
// it cannot follow is refused, and so is a year it cannot reach (imported_holidays.h), never left
// empty.
#pragma once

#include <climits>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/operator_message.h"
#include "date/lunar_date.h"

// A holiday file is a few kB, a national calendar for years some 100 kB: a larger one is refused
// unread. libical's tree takes about 100 times the text, so this also bounds the memory.
inline constexpr std::size_t HOLIDAY_FILE_MOST_BYTES = 1024 * 1024;

// One all-day event; days are day numbers (DayNumber).
struct AllDayEvent {
    int line;                         // of its BEGIN:VEVENT
    std::string summary;              // SUMMARY as PrintableText shows it; empty without one
    int start;                        // DTSTART
    int length;                       // days covered from each start, at least 1
    std::vector<std::string> rules;   // RRULE values without COUNT, as libical writes them
    std::vector<int> extraStarts;     // RDATE, and every start of a rule with COUNT; sorted
    std::vector<int> excludedStarts;  // EXDATE, and instances that another event replaces; sorted
    int knownThrough = INT_MAX;       // the last day its starts are known of: 2582-12-31 while
                                      // a rule may repeat past libical's reach
};

struct HolidayFile {
    std::string name;  // the file as given (a path); messages show it escaped
    std::vector<AllDayEvent> events;
};

struct HolidayFileRead {
    std::optional<HolidayFile> file;  // empty when the file is refused as a whole
    int refusedLine = 0;              // the line at fault; 0 when the file could not be read
    OperatorMessage refusal;
    std::vector<OperatorMessage> skipped;  // one per event with a time of day, which marks nothing
};

// `name` is how messages name the file.
HolidayFileRead ReadHolidayFile(std::string_view text, const std::string& name);
// A regular file of at most HOLIDAY_FILE_MOST_BYTES; a FIFO or a device is refused, never waited
// on. `text`, when given, receives the bytes read.
HolidayFileRead ReadHolidayFile(const std::filesystem::path& path, std::string* text = nullptr);
