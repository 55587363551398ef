// What the holiday rules cannot know for a year. Left unsaid, a year would reach a terminal with
// holidays missing and nobody told.
#pragma once

#include <vector>

#include "base/operator_message.h"
#include "date/lunar_date.h"

// The one-off holidays and early elections that date/ lists are those declared up to this day.
inline constexpr SolarDate DECLARED_DAYS_KNOWN_UNTIL{2025, 6, 3};

// True when the lunar table does not hold every day of solar `year`, so that 설날, 부처님 오신 날,
// 추석 and their substitute days cannot be found.
bool LunarHolidaysUnknown(int year);

// For the operator, each with how to add what is missing (a click in the dialog, --mark, a
// holiday file): the lunar holidays of a year outside the table, and, for a year that ends after
// DECLARED_DAYS_KNOWN_UNTIL, the days declared since.
std::vector<OperatorMessage> UnknownHolidayNotes(int year);
