#include "date/lunar_date.h"

#include <climits>
#include <cstdint>
#include <cstdio>

#include "date/local_clock.h"
#include "date/lunar_table.h"

namespace {

constexpr int kSolarMonthDays[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

constexpr bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

constexpr int SolarMonthDays(int year, int month)
{
    return kSolarMonthDays[month] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

// Days before 1 January of `year` (year >= 1), as a 64-bit count.
constexpr std::int64_t DaysBeforeYear(std::int64_t year)
{
    const std::int64_t p = year - 1;
    return 365 * p + p / 4 - p / 100 + p / 400;
}

int LunarCode(int year, int month)  // year LUNAR_FIRST_YEAR..LUNAR_LAST_YEAR, month 1..12
{
    return LunarMonthCodes[year - LUNAR_FIRST_YEAR][month - 1];
}

int LunarMonthLength(int code, int leap)
{
    if (leap == 0) return (code == 2 || code == 5 || code == 6) ? 30 : 29;
    switch (code) {
    case 3:
    case 5: return 29;
    case 4:
    case 6: return 30;
    default: return 0;  // no leap month after this one
    }
}

const char* const kWeekdaySyllable[8] = {"", "일", "월", "화", "수", "목", "금", "토"};

}  // namespace

static_assert(DaysBeforeYear(1) + 1 == 1);
static_assert(DaysBeforeYear(2009) + 1 == 733408);
static_assert(DaysBeforeYear(MAX_SOLAR_YEAR + 1) <= INT_MAX);
static_assert(DaysBeforeYear(MAX_SOLAR_YEAR + 2) > INT_MAX);

int DaysInMonth(int year, int month, int calendar, int leap)
{
    if (month < 1 || month > 12) return 0;
    if (calendar == CAL_SOLAR) return SolarMonthDays(year, month);
    if (year < LUNAR_FIRST_YEAR || year > LUNAR_LAST_YEAR) return 0;
    return LunarMonthLength(LunarCode(year, month), leap);
}

int IsValidDate(int year, int month, int day, int calendar, int leap)
{
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > 31) return 0;
    if (calendar == CAL_SOLAR && year > MAX_SOLAR_YEAR) return 0;
    const int n = DaysInMonth(year, month, calendar, leap);
    return (n != 0 && day <= n) ? 1 : 0;
}

int DayNumber(int year, int month, int day)
{
    if (!IsValidDate(year, month, day, CAL_SOLAR, 0)) return -1;
    std::int64_t n = DaysBeforeYear(year);
    for (int m = 1; m < month; ++m) n += SolarMonthDays(year, m);
    return static_cast<int>(n + day);
}

SolarDate FromDayNumber(int n)
{
    if (n < 1) return {0, 0, 0};
    // 146097 days make 400 years; the estimate is off by at most one year either way.
    auto year = static_cast<int>(static_cast<std::int64_t>(n) * 400 / 146097 + 1);
    while (year > 1 && n <= DaysBeforeYear(year)) --year;
    while (n > DaysBeforeYear(year) + 365 + (IsLeapYear(year) ? 1 : 0)) ++year;
    int dayOfYear = static_cast<int>(n - DaysBeforeYear(year));  // [1, 366]
    int month = 1;
    while (dayOfYear > SolarMonthDays(year, month)) {
        dayOfYear -= SolarMonthDays(year, month);
        ++month;
    }
    return {year, month, dayOfYear};
}

int DayOfWeek(int year, int month, int day)
{
    return DayNumber(year, month, day) % 7 + 1;
}

int HasLeapMonth(int lunarYear, int lunarMonth)
{
    if (!IsValidDate(lunarYear, lunarMonth, 1, CAL_LUNAR, 0)) return 0;
    return LunarCode(lunarYear, lunarMonth) >= 3 ? 1 : 0;
}

CLunarDate::CLunarDate()
{
    SetToday();
}

CLunarDate::CLunarDate(int year, int month, int day, int calendar, int leap)
{
    if (!SetDate(year, month, day, calendar, leap)) SetToday();
}

void CLunarDate::SetToday()
{
    const LocalTime now = ReadLocalClock();
    m_nSolarYear = now.year;
    m_nSolarMonth = now.month;
    m_nSolarDay = now.day;
    m_nWeekday = DayOfWeek(m_nSolarYear, m_nSolarMonth, m_nSolarDay);
    SolarToLunar();
}

int CLunarDate::SetDate(int year, int month, int day, int calendar, int leap)
{
    if (year <= 1 || !IsValidDate(year, month, day, calendar, leap)) return 0;
    if (calendar == CAL_SOLAR) {
        m_nSolarYear = year;
        m_nSolarMonth = month;
        m_nSolarDay = day;
        m_nWeekday = DayOfWeek(year, month, day);
        SolarToLunar();
        return 1;
    }
    m_nLunarYear = year;
    m_nLunarMonth = month;
    m_nLunarDay = day;
    m_bLeapMonth = leap;
    if (!LunarToSolar()) return 0;
    m_nWeekday = DayOfWeek(m_nSolarYear, m_nSolarMonth, m_nSolarDay);
    return 1;
}

int CLunarDate::GetDaysInMonth(int calendar) const
{
    if (calendar == CAL_SOLAR) return DaysInMonth(m_nSolarYear, m_nSolarMonth, CAL_SOLAR, 0);
    return DaysInMonth(m_nLunarYear, m_nLunarMonth, CAL_LUNAR, m_bLeapMonth);
}

int CLunarDate::GetWeeksInMonth() const
{
    const int w = DayOfWeek(m_nSolarYear, m_nSolarMonth, 1);
    const int n = DaysInMonth(m_nSolarYear, m_nSolarMonth, CAL_SOLAR, 0);
    return (w + n - 2) / 7 + 1;
}

int CLunarDate::GetWeekOfMonth() const
{
    const int w = DayOfWeek(m_nSolarYear, m_nSolarMonth, 1);
    return (w + m_nSolarDay - 2) / 7 + 1;
}

int CLunarDate::Add(int years, int months, int days, int calendar)
{
    return calendar == CAL_SOLAR ? AddSolar(years, months, days) : AddLunar(years, months, days);
}

int CLunarDate::AddSolar(int years, int months, int days)
{
    // 64-bit so that no shift can wrap; anything outside the 32-bit day range fails.
    std::int64_t y = m_nSolarYear;
    int m = m_nSolarMonth;
    int d = m_nSolarDay;
    const std::int64_t totalYears = static_cast<std::int64_t>(years) + months / 12;
    const int r = months % 12;
    if (totalYears != 0) {
        y += totalYears;
        if (y < 1 || y > MAX_SOLAR_YEAR) return 0;
    }
    if (r != 0) {
        m += r;
        if (m > 12) {
            m -= 12;
            y += 1;
        } else if (m < 1) {
            m += 12;
            y -= 1;
        }
        if (y < 1 || y > MAX_SOLAR_YEAR) return 0;
    }
    const int year = static_cast<int>(y);
    if ((totalYears != 0 || r != 0) && !IsValidDate(year, m, d, CAL_SOLAR, 0)) {
        d = DaysInMonth(year, m, CAL_SOLAR, 0);
    }
    SolarDate target{year, m, d};
    if (days != 0) {
        const std::int64_t n = static_cast<std::int64_t>(DayNumber(year, m, d)) + days;
        if (n < 1 || n > INT_MAX) return 0;
        target = FromDayNumber(static_cast<int>(n));
    }
    return SetDate(target.year, target.month, target.day, CAL_SOLAR, 0);
}

int CLunarDate::AddLunar(int years, int months, int days)
{
    CLunarDate moved(m_nLunarYear, m_nLunarMonth, m_nLunarDay, CAL_LUNAR, m_bLeapMonth);
    const std::int64_t shiftedYear = static_cast<std::int64_t>(m_nLunarYear) + years;
    if (shiftedYear < LUNAR_FIRST_YEAR || shiftedYear > LUNAR_LAST_YEAR) return 0;
    int y = static_cast<int>(shiftedYear);
    int m = m_nLunarMonth;
    const int d = m_nLunarDay;

    if (IsValidDate(y, m, d, CAL_LUNAR, m_bLeapMonth)) {
        moved.SetDate(y, m, d, CAL_LUNAR, m_bLeapMonth);
    } else if (IsValidDate(y, m, d, CAL_LUNAR, 0)) {
        moved.SetDate(y, m, d, CAL_LUNAR, 0);
    } else if (IsValidDate(y, m, d - 1, CAL_LUNAR, 0)) {
        moved.SetDate(y, m, d - 1, CAL_LUNAR, 0);
    } else {
        return 0;
    }

    if (months != 0) {
        int inLeap = moved.IsLeapMonth();
        // Leaving the table ends the walk: no lunar date exists out there.
        for (; months > 0; --months) {
            if (HasLeapMonth(y, m) && !inLeap) {
                inLeap = 1;
            } else {
                inLeap = 0;
                if (++m > 12) {
                    m = 1;
                    if (++y > LUNAR_LAST_YEAR) return 0;
                }
            }
        }
        for (; months < 0; ++months) {
            if (HasLeapMonth(y, m) && inLeap) {
                inLeap = 0;
            } else {
                if (--m < 1) {
                    m = 12;
                    if (--y < LUNAR_FIRST_YEAR) return 0;
                }
                inLeap = HasLeapMonth(y, m);
            }
        }
        if (!moved.SetDate(y, m, d, CAL_LUNAR, inLeap) && !moved.SetDate(y, m, d - 1, CAL_LUNAR, inLeap)) {
            return 0;
        }
    }

    if (days != 0 && !moved.AddSolar(0, 0, days)) return 0;
    return SetDate(moved.m_nSolarYear, moved.m_nSolarMonth, moved.m_nSolarDay, CAL_SOLAR, 0);
}

int CLunarDate::SolarToLunar()
{
    m_nLunarYear = m_nLunarMonth = m_nLunarDay = m_bLeapMonth = 0;
    if (m_nSolarYear < LUNAR_FIRST_YEAR || m_nSolarYear > LUNAR_LAST_YEAR) return 0;
    int i = DayNumber(m_nSolarYear, m_nSolarMonth, m_nSolarDay) - LUNAR_BASE_DAY;
    // 1 to 22 January 1841 come before the table's first lunar day.
    if (i < 1) return 0;

    int year = LUNAR_FIRST_YEAR;
    for (int k = LUNAR_YEAR_COUNT - 1; k >= 0; --k) {
        if (i > LunarCumDays[k]) {
            year = LUNAR_FIRST_YEAR + 1 + k;
            i -= LunarCumDays[k];
            break;
        }
    }
    // i is now the day of that lunar year, from 1.
    for (int m = 1; m <= 12; ++m) {
        const int code = LunarCode(year, m);
        const int length = LunarMonthLength(code, 0);
        if (i <= length) {
            m_nLunarYear = year;
            m_nLunarMonth = m;
            m_nLunarDay = i;
            return 1;
        }
        i -= length;
        if (code >= 3) {
            const int leapLength = LunarMonthLength(code, 1);
            if (i <= leapLength) {
                m_nLunarYear = year;
                m_nLunarMonth = m;
                m_nLunarDay = i;
                m_bLeapMonth = 1;
                return 1;
            }
            i -= leapLength;
        }
    }
    return 0;  // unreachable while LunarCumDays matches the codes
}

int CLunarDate::LunarToSolar()
{
    int n = LUNAR_BASE_DAY;
    if (m_nLunarYear > LUNAR_FIRST_YEAR) n += LunarCumDays[m_nLunarYear - LUNAR_FIRST_YEAR - 1];
    for (int m = 1; m < m_nLunarMonth; ++m) n += LunarCodeDays(LunarCode(m_nLunarYear, m));
    if (m_bLeapMonth) n += LunarMonthLength(LunarCode(m_nLunarYear, m_nLunarMonth), 0);
    n += m_nLunarDay;
    const SolarDate s = FromDayNumber(n);
    if (!IsValidDate(s.year, s.month, s.day, CAL_SOLAR, 0)) return 0;
    m_nSolarYear = s.year;
    m_nSolarMonth = s.month;
    m_nSolarDay = s.day;
    return 1;
}

std::string CLunarDate::Format(int calendar) const
{
    char text[64];
    if (calendar == CAL_SOLAR) {
        const char* weekday = (m_nWeekday >= 1 && m_nWeekday <= 7) ? kWeekdaySyllable[m_nWeekday] : "";
        std::snprintf(text, sizeof text, "%d년 %02d월 %02d일 %s요일", m_nSolarYear, m_nSolarMonth, m_nSolarDay,
                      weekday);
        return text;
    }
    std::snprintf(text, sizeof text, "%d년 %02d월 %02d일%s", m_nLunarYear, m_nLunarMonth, m_nLunarDay,
                  m_bLeapMonth ? "(윤달)" : "");
    return text;
}
