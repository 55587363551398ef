// The names of the national holidays a day is, from the two tables and the law: the text that
// exports show beside a day the holiday rule has already found.
#pragma once

#include <string>
#include <vector>

class CLunarDate;

// Every named reason that makes the day a national holiday, UTF-8, in this order: the solar
// table, the lunar table, the law. The lunar rows without a name (the days beside 설날 and 추석,
// the eve of the New Year) give the name of their festival. Empty when nothing names the day.
// The day must have been set.
std::vector<std::string> HolidayNames(const CLunarDate& day);
