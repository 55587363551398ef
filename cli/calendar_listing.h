// Every day of a year with its weekday and lunar date, one line a day.
#pragma once

#include <cstdio>

void PrintCalendar(int year, std::FILE* out);
