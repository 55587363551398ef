// Holiday kinds, the national-holiday tables and the operator's holiday settings.
#pragma once

inline constexpr int HOLIDAY_NONE = 0;
inline constexpr int HOLIDAY_SUNDAY = 1;
inline constexpr int HOLIDAY_NATIONAL = 2;
inline constexpr int HOLIDAY_SET = 3;

// Texts of the kinds for the console listing, indexed by kind; UTF-8, NUL-padded.
extern const char HolidayKindName[4][20];

// One row of a national-holiday table. A row whose kind is 0 matches its day but makes no holiday.
struct HolidayRule {
    int month;  // solar month in the solar table, lunar month in the lunar table
    int day;    // 0 in the lunar row that stands for the last day of the 12th month
    int kind;
    int calendar;  // CAL_SOLAR or CAL_LUNAR
    char name[20];
};

inline constexpr int HOLIDAY_TABLE_ROWS = 7;
// Both sorted by month then day: the search stops at the first later month.
extern const HolidayRule SolarHolidays[HOLIDAY_TABLE_ROWS];
extern const HolidayRule LunarHolidays[HOLIDAY_TABLE_ROWS];

struct HolidaySettings {
    // marks[solar month][solar day] of the year shown: 1 = set by the operator or read back.
    int marks[13][32];
    int unsetSunday;      // nonzero: Sundays are ordinary days
    int unsetSaturday;    // follows its check box; no rule reads it
    int unsetHoliday;     // nonzero: no national holidays at all
    int biweeklyUse;      // exactly 1 turns the biweekly day off on
    int biweeklyOdd;      // 0: even week rows of the month, else odd ones
    int biweeklyWeekday;  // 1 = Sunday .. 7 = Saturday
};

// What "토요일 해제" does, for the operator who ticks it: nothing yet, since no rule makes a
// Saturday a holiday by itself.
inline constexpr const char* UNSET_SATURDAY_NOTE =
    "토요일은 그것만으로는 휴일이 아니므로, 지금은 이 선택으로 바뀌는 날이 없습니다.";

inline constexpr HolidaySettings DEFAULT_HOLIDAY_SETTINGS = {{}, 0, 0, 0, 0, 0, 1};

// The one instance, read by the holiday rule and written by the dialog and the calendars.
extern HolidaySettings g_holidaySettings;

// Clears every entry of g_holidaySettings.marks, and the names they came with (g_markNames).
void ClearHolidayMarks();

class CLunarDate;
// 1 when the day is the last of the 12th lunar month, the eve of the New Year: 29 or 30 days
// in, so no table row can name it. A leap 12th month would have the eve at its end.
int IsLunarNewYearsEve(const CLunarDate& day);
// The row of a rule table naming (month, day), when its kind makes a holiday; else null.
const HolidayRule* FindHolidayRow(const HolidayRule (&table)[HOLIDAY_TABLE_ROWS], int month, int day);
// The lunar table's row for `day`: the New Year's eve, or a date of a month that is not leap.
const HolidayRule* LunarHolidayRow(const CLunarDate& day);
// 1 when the biweekly day off is in force and falls on the day: its weekday, in a week row of
// the month with the parity chosen.
int IsBiweeklyDayOff(const CLunarDate& day, const HolidaySettings& settings);
// HOLIDAY_NONE .. HOLIDAY_SET of the day under `settings`; the first rule that decides wins:
// Sundays, national holidays, marked days, the biweekly day off. The day must have been set.
int HolidayKindOf(const CLunarDate& day, const HolidaySettings& settings);
