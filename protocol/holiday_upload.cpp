#include "protocol/holiday_upload.h"

#include <cstdio>

#include "date/holidays.h"
#include "date/lunar_date.h"
#include "date/mark_names.h"
#include "date/unknown_holidays.h"
#include "protocol/terminal_model.h"

SendRecord g_sendList[SEND_LIST_CAPACITY];
int g_nSendCount = 0;
int g_nSendIndex = 0;
int g_nSendAnswered = 0;

namespace {

// Calls visit(cursor, kind) for every day of the solar year, 1 January first. The kind is
// asked at the moment of the visit, so the walk sees the settings as they are now.
template <class Visit>
void WalkYear(int year, Visit&& visit)
{
    CLunarDate cursor(2009, 1, 1, CAL_SOLAR, 0);
    for (int month = 1; month <= 12; ++month) {
        if (!cursor.SetDate(year, month, 1, CAL_SOLAR, 0)) continue;
        const int days = cursor.GetDaysInMonth(CAL_SOLAR);
        for (int day = 1; day <= days; ++day) {
            cursor.SetDate(year, month, day, CAL_SOLAR, 0);
            visit(cursor, cursor.GetHolidayKind());
        }
    }
}

void ListHoliday(const CLunarDate& day, int kind, ListingOutput& out)
{
    const int month = day.GetMonth(CAL_SOLAR);
    const int date = day.GetDay(CAL_SOLAR);
    out.WriteConsole(HolidayListingLine(ListedName(kind, month, date), day.GetYear(CAL_SOLAR), month, date));
}

void ListNotes(int year, ListingOutput& out)
{
    for (const OperatorMessage& note : UnknownHolidayNotes(year)) out.WriteConsole(NoteLine(note.korean));
}

}  // namespace

std::string NoteLine(const std::string& note)
{
    return "[NOTE]=>" + note + "\n";
}

std::string TotalCaption(int total)
{
    char text[64];
    std::snprintf(text, sizeof text, "    총휴일수 : %5d 일", total);
    return text;
}

std::string HolidayListingLine(const std::string& name, int year, int month, int day)
{
    char date[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d\n", year, month, day);
    return "Holiday[" + name + "] => " + date;
}

std::string ListedName(int kind, int month, int day)
{
    // The rule looks at the marks before the biweekly day off, so a marked day is one.
    if (kind == HOLIDAY_SET && g_holidaySettings.marks[month][day] == 1) {
        if (std::string own = MarkName(g_markNames, month, day); !own.empty()) return own;
    }
    return HolidayKindName[kind];
}

int CountHolidays(int year, int list, ListingOutput& out)
{
    int total = 0;
    WalkYear(year, [&](const CLunarDate& day, int kind) {
        if (kind <= HOLIDAY_NONE) return;
        if (list == 1) ListHoliday(day, kind, out);
        ++total;
    });
    if (list == 1) ListNotes(year, out);
    out.SetTotalCaption(TotalCaption(total));
    return total;
}

int BuildSendList(int year, int model, ListingOutput& out)
{
    g_nSendCount = 0;
    int total = 0;
    // At most one record per day of the year, so the list cannot overflow.
    WalkYear(year, [&](const CLunarDate& day, int kind) {
        if (kind <= HOLIDAY_NONE) return;
        ListHoliday(day, kind, out);
        ++total;
        if (model == MODEL_ZEFA101 && kind == HOLIDAY_SUNDAY) return;
        g_sendList[g_nSendCount++] = {year - 2000, day.GetMonth(CAL_SOLAR), day.GetDay(CAL_SOLAR)};
    });
    if (g_nSendCount > 0 && model == MODEL_ZEFA102) g_sendList[g_nSendCount++] = {year - 2000, 0, 0};
    ListNotes(year, out);
    return total;
}
