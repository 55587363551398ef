// Election days that are public holidays: regular elections on the days the election law
// fixes from the end of each term, and the early presidential elections declared holidays.
#pragma once

#include <vector>

#include "date/holiday_law.h"

// The year's election days in calendar order.
std::vector<LawHoliday> ElectionDays(int year);
