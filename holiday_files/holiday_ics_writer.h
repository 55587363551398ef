// The exported days as an iCalendar file (RFC 5545), written by libical.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "base/operator_message.h"
#include "holiday_files/exported_holidays.h"

// One all-day event per day, CRLF lines folded by libical. `stamp` is every event's DTSTAMP, the
// moment of the export. A UID depends on the date alone, so a calendar that imports the year
// again updates its events instead of doubling them. What the rules cannot know of the year goes
// in X-DORVANE-NOTE properties of the calendar, one a note, in English. False, with `refusal` naming the day, when
// libical cannot write one of the dates (none after 3000): it would write 00000000 instead.
bool HolidayCalendarText(int year, const std::vector<ExportedHoliday>& days, std::time_t stamp, std::string& text,
                         OperatorMessage& refusal);
