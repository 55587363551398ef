#include "date/election_days.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "date/lunar_date.h"

namespace {

struct Date {
    int year, month, day;
};

struct Office {
    const char* name;
    int daysBefore;  // the vote is the first Wednesday from this many days before the term ends
    int termYears;
};

constexpr Office kPresident{"대통령선거일", 70, 5};
constexpr Office kAssembly{"국회의원선거일", 50, 4};
constexpr Office kLocal{"지방선거일", 30, 4};

// Held within 60 days of a vacancy, on a day declared for each. The count ended the next
// morning, when the president took office for a full five years: from then on the regular
// elections follow this day's anniversaries.
constexpr Date kEarlyPresidential[] = {{2017, 5, 9}, {2025, 6, 3}};

// The terms of an office that end on the same day of the year, every termYears from
// `firstEnd` on, until the one an early election on day number `cutOn` cut short.
struct TermRun {
    Office office;
    Date firstEnd;
    int cutOn;
};

// The law made regular election days public holidays on 6 September 2006; before, each
// was declared one by one.
const int kRegularElectionsAreHolidays = DayNumber(2006, 9, 6);

std::vector<TermRun> TermRuns()
{
    std::vector<TermRun> runs = {{kAssembly, {2008, 5, 29}, INT_MAX}, {kLocal, {2010, 6, 30}, INT_MAX}};
    Date end{2008, 2, 24};  // the term of the president elected in 2002
    for (const Date& early : kEarlyPresidential) {
        runs.push_back({kPresident, end, DayNumber(early.year, early.month, early.day)});
        end = {early.year + 5, early.month, early.day};
    }
    runs.push_back({kPresident, end, INT_MAX});
    return runs;
}

bool StandingHolidayOn(int n)
{
    const SolarDate d = FromDayNumber(n);
    return IsStandingHoliday(d.year, d.month, d.day) != 0;
}

// 공직선거법 제34조: a vote on a holiday, or beside one, would lose the voters who travel for
// it, so the Wednesday moves to the next week, once. The election commission's rules count
// the days of the public-holiday law's own list, not substitute, election or declared days,
// and 한식 (4 to 6 April), which no Wednesday the terms give ever meets: the presidential ones
// fall in the last week of March, the others from 9 April on.
int RegularElection(const Office& office, int termEnd)
{
    const int from = termEnd - office.daysBefore;
    const SolarDate d = FromDayNumber(from);
    int wednesday = from + (4 - DayOfWeek(d.year, d.month, d.day) + 7) % 7;
    if (StandingHolidayOn(wednesday - 1) || StandingHolidayOn(wednesday) || StandingHolidayOn(wednesday + 1)) {
        wednesday += 7;
    }
    return wednesday;
}

}  // namespace

std::vector<LawHoliday> ElectionDays(int year)
{
    if (year < 2 || year >= MAX_SOLAR_YEAR) return {};
    std::vector<std::pair<int, const char*>> days;  // (day number, name)
    for (const TermRun& run : TermRuns()) {
        // A vote comes at most 70 days before its term ends: terms ending this year or next.
        const int termYears = run.office.termYears;
        for (int k = std::max(0, (year - run.firstEnd.year + termYears - 1) / termYears);
             run.firstEnd.year + k * termYears <= year + 1; ++k) {
            const int endYear = run.firstEnd.year + k * termYears;
            // A term begun on 1 March ends on the last day of February.
            const int endDay = std::min(run.firstEnd.day, DaysInMonth(endYear, run.firstEnd.month, CAL_SOLAR, 0));
            const int termEnd = DayNumber(endYear, run.firstEnd.month, endDay);
            if (termEnd >= run.cutOn) break;
            const int n = RegularElection(run.office, termEnd);
            if (n >= kRegularElectionsAreHolidays && FromDayNumber(n).year == year)
                days.emplace_back(n, run.office.name);
        }
    }
    for (const Date& early : kEarlyPresidential) {
        if (early.year == year) days.emplace_back(DayNumber(early.year, early.month, early.day), kPresident.name);
    }
    std::sort(days.begin(), days.end());
    std::vector<LawHoliday> list;
    for (const auto& [n, name] : days) {
        const SolarDate d = FromDayNumber(n);
        list.push_back({d.month, d.day, name});
    }
    return list;
}
