// The exported days as JSON for other programs, written by nlohmann-json.
#pragma once

#include <string>
#include <vector>

#include "holiday_files/exported_holidays.h"

// {"year": YEAR, "holidays": [{"date": "YYYY-MM-DD", "kind": "national" | "marked" | "biweekly",
// "name": ...}, ...] in calendar order, "notes": [{"korean": ..., "english": ...}]}: the notes say
// what the rules cannot know of the year (an empty list when nothing). Indented by two, UTF-8 left
// as it is, ending with a newline.
std::string HolidayJsonText(int year, const std::vector<ExportedHoliday>& days);
