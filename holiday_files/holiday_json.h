// The exported days as JSON for other programs, written by nlohmann-json.
#pragma once

#include <string>
#include <vector>

#include "holiday_files/exported_holidays.h"

// An array of {"date": "YYYY-MM-DD", "kind": "national" | "marked" | "biweekly", "name": ...}
// in calendar order, indented by two, UTF-8 left as it is, ending with a newline.
std::string HolidayJsonText(const std::vector<ExportedHoliday>& days);
