#include "date/election_days.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct Election {
    int year, month, day;
    const char* name;
};

// As held or fixed: every regular election of 2010-2030, the early presidential ones of 2017 and
// 2025, and the presidential election of 2030 that follows from the one in 2025.
constexpr Election kKnown[] = {
    {2010, 6, 2, "지방선거일"},  {2012, 4, 11, "국회의원선거일"}, {2012, 12, 19, "대통령선거일"},
    {2014, 6, 4, "지방선거일"},  {2016, 4, 13, "국회의원선거일"}, {2017, 5, 9, "대통령선거일"},
    {2018, 6, 13, "지방선거일"}, {2020, 4, 15, "국회의원선거일"}, {2022, 3, 9, "대통령선거일"},
    {2022, 6, 1, "지방선거일"},  {2024, 4, 10, "국회의원선거일"}, {2025, 6, 3, "대통령선거일"},
    {2026, 6, 3, "지방선거일"},  {2028, 4, 12, "국회의원선거일"}, {2030, 3, 27, "대통령선거일"},
    {2030, 6, 12, "지방선거일"},
};

std::vector<std::string> Texts(int year, const std::vector<LawHoliday>& days)
{
    std::vector<std::string> texts;
    for (const LawHoliday& d : days) {
        texts.push_back(std::to_string(year) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day) + " " +
                        d.name);
    }
    return texts;
}

}  // namespace

// The years 2010-2030 exactly: no regular election missed, none where a vacancy cut the term
// short (2017-12, 2027-03), none twice.
TEST(ElectionDays, EveryElectionOf2010To2030AndNoOther)
{
    for (int year = 2010; year <= 2030; ++year) {
        std::vector<LawHoliday> expected;
        for (const Election& e : kKnown) {
            if (e.year == year) expected.push_back({e.month, e.day, e.name});
        }
        EXPECT_EQ(Texts(year, ElectionDays(year)), Texts(year, expected));
    }
}

// Worked out by hand from the law: 2034 counts from 31 May, itself a Wednesday; 2035 and 2040
// carry the presidential terms on from 2030 five years at a time.
TEST(ElectionDays, AfterTheListTheRuleGivesTheDays)
{
    EXPECT_EQ(Texts(2034, ElectionDays(2034)), std::vector<std::string>{"2034-5-31 지방선거일"});
    EXPECT_EQ(Texts(2035, ElectionDays(2035)), std::vector<std::string>{"2035-3-28 대통령선거일"});
    EXPECT_EQ(Texts(2040, ElectionDays(2040)),
              (std::vector<std::string>{"2040-3-28 대통령선거일", "2040-4-11 국회의원선거일"}));
    EXPECT_TRUE(ElectionDays(2039).empty());
}
