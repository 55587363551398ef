// National holidays that the Korean public-holiday law adds, for the year in question, to the
// two fixed tables: 한글날, 제헌절, 노동절, election days, one-off days the government declared,
// and substitute holidays (대체공휴일). Computed once per year and kept.
#pragma once

#include <vector>

struct LawHoliday {
    int month;
    int day;
    const char* name;  // UTF-8
};

// The year's additions in calendar order, one entry per day.
std::vector<LawHoliday> LawHolidays(int year);

// 1 when the law makes that solar day a holiday beyond the two tables.
int IsLawHoliday(int year, int month, int day);

// 1 when the day is one the law lists as a holiday every year: the two tables, 한글날, 노동절,
// 제헌절; not a substitute, election or declared day, nor a Sunday.
int IsStandingHoliday(int year, int month, int day);
