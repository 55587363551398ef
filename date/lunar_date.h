// One day held three ways: solar (Gregorian) date, Korean lunar date, weekday.
#pragma once

#include <string>

inline constexpr int CAL_SOLAR = 1;
inline constexpr int CAL_LUNAR = 2;  // every value other than CAL_SOLAR means lunar

// The last year whose every day has a day number that fits a signed 32-bit int.
inline constexpr int MAX_SOLAR_YEAR = 5879610;

struct SolarDate {
    int year, month, day;
};

// 1 if the date exists in the calendar, else 0. `leap` selects a lunar leap month.
int IsValidDate(int year, int month, int day, int calendar, int leap);
// Length of the month in days; 0 when there is no such month.
int DaysInMonth(int year, int month, int calendar, int leap);
// Continuous proleptic Gregorian count: 1 January of year 1 is day 1. -1 if invalid.
int DayNumber(int year, int month, int day);
// Inverse of DayNumber for n >= 1; {0, 0, 0} for n < 1.
SolarDate FromDayNumber(int n);
// 1 = Sunday .. 7 = Saturday; 0 for an invalid date.
int DayOfWeek(int year, int month, int day);
// 1 when a leap month follows that lunar month, else 0.
int HasLeapMonth(int lunarYear, int lunarMonth);

class CLunarDate {
public:
    CLunarDate();
    // Falls back to today when the date is refused.
    CLunarDate(int year, int month, int day, int calendar, int leap);
    virtual ~CLunarDate() = default;

    CLunarDate(const CLunarDate&) = default;
    CLunarDate& operator=(const CLunarDate&) = default;

    void SetToday();
    int SetDate(int year, int month, int day, int calendar, int leap);

    int GetYear(int calendar) const { return calendar == CAL_SOLAR ? m_nSolarYear : m_nLunarYear; }
    int GetMonth(int calendar) const { return calendar == CAL_SOLAR ? m_nSolarMonth : m_nLunarMonth; }
    int GetDay(int calendar) const { return calendar == CAL_SOLAR ? m_nSolarDay : m_nLunarDay; }
    int GetWeekday() const { return m_nWeekday; }
    int IsLeapMonth() const { return m_bLeapMonth; }

    // HOLIDAY_NONE .. HOLIDAY_SET of this day under g_holidaySettings (date/holidays.h).
    int GetHolidayKind() const;

    int GetDaysInMonth(int calendar) const;
    // Sunday-first week rows the solar month spans (4..6).
    int GetWeeksInMonth() const;
    // 1-based Sunday-first week row of the solar day within its month.
    int GetWeekOfMonth() const;

    int Add(int years, int months, int days, int calendar);
    int AddSolar(int years, int months, int days);
    int AddLunar(int years, int months, int days);

    int SolarToLunar();
    int LunarToSolar();

    // UTF-8 text of the date in the given calendar.
    virtual std::string Format(int calendar) const;

private:
    int m_nSolarYear = 0;
    int m_nSolarMonth = 0;
    int m_nSolarDay = 0;
    int m_nLunarYear = 0;
    int m_nLunarMonth = 0;
    int m_nLunarDay = 0;
    int m_nWeekday = 0;
    int m_bLeapMonth = 0;
};
