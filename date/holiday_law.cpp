#include "date/holiday_law.h"

#include <algorithm>
#include <array>
#include <climits>

#include "date/election_days.h"
#include "date/holidays.h"
#include "date/lunar_date.h"

namespace {

struct Fixed {
    int year, month, day;
    const char* name;
};

// Solar days the law adds for every year from `since` on.
struct YearlyDay {
    int since, month, day;
    const char* name;
};

constexpr YearlyDay kYearlyDays[] = {{2013, 10, 9, "한글날"}, {2026, 5, 1, "노동절"}, {2026, 7, 17, "제헌절"}};

// Declared by the government for one year only; later ones the operator marks by hand.
constexpr Fixed kOneOffs[] = {
    {2015, 8, 14, "임시공휴일"}, {2016, 5, 6, "임시공휴일"},  {2017, 10, 2, "임시공휴일"}, {2020, 8, 17, "임시공휴일"},
    {2023, 10, 2, "임시공휴일"}, {2024, 10, 1, "임시공휴일"}, {2025, 1, 27, "임시공휴일"},
};

constexpr const char* kSubstituteName = "대체공휴일";

// How a holiday that falls badly is made up for.
enum class Substitute {
    Never,
    Block,   // 설날 and 추석: a day of the three is a Sunday or another holiday
    Single,  // a Saturday, a Sunday or another holiday
};

// Day numbers of the dates from which the wider substitute rules apply.
const int kSubstitutesBegin = DayNumber(2014, 1, 1);
const int kWiderSubstitutes = DayNumber(2021, 8, 4);
const int kBuddhaChristmasSubstitutes = DayNumber(2023, 5, 4);

struct Holiday {
    int first, last;  // day numbers; a block spans three days
    Substitute substitute;
};

class YearBuilder {
public:
    explicit YearBuilder(int year) : m_nYear(year), m_nJan1(DayNumber(year, 1, 1)) {}

    std::vector<LawHoliday> Build()
    {
        AddTables();
        AddLaw();
        for (const Holiday& h : m_holidays) {
            for (int n = h.first; n <= h.last; ++n) ++Taken(n);
        }
        AddSubstitutes();
        std::sort(m_added.begin(), m_added.end(), [](const LawHoliday& a, const LawHoliday& b) {
            return a.month != b.month ? a.month < b.month : a.day < b.day;
        });
        return m_added;
    }

private:
    int Solar(int month, int day) const { return DayNumber(m_nYear, month, day); }

    // Day number of a lunar date of the lunar year that shares the number, or 0 outside the table.
    int Lunar(int month, int day) const
    {
        CLunarDate date(2009, 1, 1, CAL_SOLAR, 0);
        if (!date.SetDate(m_nYear, month, day, CAL_LUNAR, 0)) return 0;
        return DayNumber(date.GetYear(CAL_SOLAR), date.GetMonth(CAL_SOLAR), date.GetDay(CAL_SOLAR));
    }

    void Add(int first, int last, Substitute s) { m_holidays.push_back({first, last, s}); }

    void AddLawDay(int month, int day, const char* name, Substitute s)
    {
        Add(Solar(month, day), Solar(month, day), s);
        m_added.push_back({month, day, name});
    }

    // Single from day number `since` on, Never before.
    static Substitute SingleFrom(int since, int n) { return n >= since ? Substitute::Single : Substitute::Never; }

    // Since when a day of the solar table has had a substitute; 신정 and 현충일 never have.
    static int SolarSubstituteSince(int month, int day)
    {
        if (month == 5 && day == 5) return kSubstitutesBegin;
        if (month == 12 && day == 25) return kBuddhaChristmasSubstitutes;
        if ((month == 3 && day == 1) || (month == 8 && day == 15) || (month == 10 && day == 3))
            return kWiderSubstitutes;
        return INT_MAX;
    }

    // The fixed tables, as the holiday rule reads them, with the law's substitute rule of each.
    void AddTables()
    {
        for (const HolidayRule& rule : SolarHolidays) {
            if (rule.kind == 0) continue;
            const int n = Solar(rule.month, rule.day);
            Add(n, n, SingleFrom(SolarSubstituteSince(rule.month, rule.day), n));
        }
        const int newYear = Lunar(1, 1);
        if (newYear != 0) {
            Add(newYear - 1, newYear + 1, newYear >= kSubstitutesBegin ? Substitute::Block : Substitute::Never);
        }
        const int buddha = Lunar(4, 8);
        if (buddha != 0) Add(buddha, buddha, SingleFrom(kBuddhaChristmasSubstitutes, buddha));
        const int harvest = Lunar(8, 15);
        if (harvest != 0) {
            Add(harvest - 1, harvest + 1, harvest >= kSubstitutesBegin ? Substitute::Block : Substitute::Never);
        }
    }

    void AddLaw()
    {
        for (const YearlyDay& y : kYearlyDays) {
            if (m_nYear >= y.since) {
                AddLawDay(y.month, y.day, y.name, SingleFrom(kWiderSubstitutes, Solar(y.month, y.day)));
            }
        }
        for (const LawHoliday& e : ElectionDays(m_nYear)) AddLawDay(e.month, e.day, e.name, Substitute::Never);
        for (const Fixed& f : kOneOffs) {
            if (f.year == m_nYear) AddLawDay(f.month, f.day, f.name, Substitute::Never);
        }
    }

    // One substitute per day that calls for one, even when two holidays on it qualify; it is
    // the first working day after the holiday (after the whole block for 설날 and 추석).
    void AddSubstitutes()
    {
        std::vector<std::pair<int, int>> calls;  // (day that calls, search from after this day)
        for (const Holiday& h : m_holidays) {
            for (int n = h.first; n <= h.last; ++n) {
                const int weekday = Weekday(n);
                const bool shared = Taken(n) > 1;
                const bool block = h.substitute == Substitute::Block && (weekday == 1 || shared);
                const bool single = h.substitute == Substitute::Single && (weekday == 1 || weekday == 7 || shared);
                if (block || single) calls.emplace_back(n, h.last);
            }
        }
        std::sort(calls.begin(), calls.end());
        for (size_t i = 0; i < calls.size(); ++i) {
            int after = calls[i].second;
            while (i + 1 < calls.size() && calls[i + 1].first == calls[i].first)
                after = std::max(after, calls[++i].second);
            int n = after + 1;
            while (Weekday(n) == 1 || Weekday(n) == 7 || Taken(n) > 0) ++n;
            ++Taken(n);
            const SolarDate d = FromDayNumber(n);
            m_added.push_back({d.month, d.day, kSubstituteName});
        }
    }

    int Weekday(int n) const
    {
        const SolarDate d = FromDayNumber(n);
        return DayOfWeek(d.year, d.month, d.day);
    }

    // Holidays on day n; the year and a week either side are enough for every rule.
    int& Taken(int n) { return m_taken[n - m_nJan1 + kMargin]; }

    static constexpr int kMargin = 40;
    int m_nYear;
    int m_nJan1;
    std::vector<Holiday> m_holidays;
    std::vector<LawHoliday> m_added;
    std::array<int, 366 + 2 * kMargin> m_taken{};
};

struct CachedYear {
    int year = 0;
    std::vector<LawHoliday> list;
    unsigned char marked[13][32] = {};
};

// A few years kept per thread: the calendars and the year walks ask about one year at a time,
// the year either side now and then.
const CachedYear& Cached(int year)
{
    thread_local std::array<CachedYear, 4> cache;
    thread_local size_t next = 0;
    for (const CachedYear& c : cache) {
        if (c.year == year) return c;
    }
    CachedYear& c = cache[next];
    next = (next + 1) % cache.size();
    c.year = year;
    c.list = year >= 2 && year < MAX_SOLAR_YEAR ? YearBuilder(year).Build() : std::vector<LawHoliday>{};
    std::fill(&c.marked[0][0], &c.marked[0][0] + sizeof c.marked, 0);
    for (const LawHoliday& h : c.list) c.marked[h.month][h.day] = 1;
    return c;
}

}  // namespace

std::vector<LawHoliday> LawHolidays(int year)
{
    return Cached(year).list;
}

int IsLawHoliday(int year, int month, int day)
{
    if (month < 1 || month > 12 || day < 1 || day > 31) return 0;
    return Cached(year).marked[month][day];
}

int IsStandingHoliday(int year, int month, int day)
{
    CLunarDate date(2009, 1, 1, CAL_SOLAR, 0);
    if (!date.SetDate(year, month, day, CAL_SOLAR, 0)) return 0;
    if (FindHolidayRow(SolarHolidays, month, day) || LunarHolidayRow(date)) return 1;
    for (const YearlyDay& y : kYearlyDays) {
        if (year >= y.since && month == y.month && day == y.day) return 1;
    }
    return 0;
}
