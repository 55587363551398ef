#include "date/election_days.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// 2010-2030 as held or fixed (the earlier list of election days) and the presidential election
// of 2030 that follows from the one in 2025; 2007, 2008 and the years after 2030 worked out by
// hand from the law. None where a vacancy cut the term short (2017-12, 2027-03), none twice.
TEST(ElectionDays, EveryElectionFrom2006To2040AndNoOther)
{
    const std::vector<std::string> expected = {
        "2007-12-19 대통령선거일",   "2008-04-09 국회의원선거일", "2010-06-02 지방선거일",
        "2012-04-11 국회의원선거일", "2012-12-19 대통령선거일",   "2014-06-04 지방선거일",
        "2016-04-13 국회의원선거일", "2017-05-09 대통령선거일",   "2018-06-13 지방선거일",
        "2020-04-15 국회의원선거일", "2022-03-09 대통령선거일",   "2022-06-01 지방선거일",
        "2024-04-10 국회의원선거일", "2025-06-03 대통령선거일",   "2026-06-03 지방선거일",
        "2028-04-12 국회의원선거일", "2030-03-27 대통령선거일",   "2030-06-12 지방선거일",
        "2032-04-14 국회의원선거일", "2034-05-31 지방선거일",     "2035-03-28 대통령선거일",
        "2036-04-09 국회의원선거일", "2038-06-02 지방선거일",     "2040-03-28 대통령선거일",
        "2040-04-11 국회의원선거일",
    };
    std::vector<std::string> days;
    for (int year = 2006; year <= 2040; ++year) {
        for (const LawHoliday& d : ElectionDays(year)) {
            char text[64];
            std::snprintf(text, sizeof text, "%d-%02d-%02d %s", year, d.month, d.day, d.name);
            days.push_back(text);
        }
    }
    EXPECT_EQ(days, expected);
}
