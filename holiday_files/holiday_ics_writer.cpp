#include "holiday_files/holiday_ics_writer.h"

#include <libical/ical.h>

#include <cstdio>
#include <memory>

#include "date/unknown_holidays.h"
#include "holiday_files/ics_document.h"

namespace {

struct ComponentFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};

icaltimetype DayAfter(const SolarDate& date)
{
    icaltimetype end = IcalDate(date);
    icaltime_adjust(&end, 1, 0, 0, 0);
    return end;
}

// The first date of the days that libical cannot write, as "YYYY-MM-DD"; empty when it can write all.
std::string FirstUnwritable(const std::vector<ExportedHoliday>& days)
{
    for (const ExportedHoliday& day : days) {
        for (const icaltimetype time : {IcalDate(day.date), DayAfter(day.date)}) {
            if (icaltime_is_valid_time(time)) continue;
            char date[32];
            std::snprintf(date, sizeof date, "%04d-%02d-%02d", time.year, time.month, time.day);
            return date;
        }
    }
    return {};
}

icalcomponent* Event(const ExportedHoliday& day, icaltimetype stamp)
{
    char uid[48];
    std::snprintf(uid, sizeof uid, "%04d%02d%02d-holiday@dorvane", day.date.year, day.date.month, day.date.day);
    const icaltimetype end = DayAfter(day.date);  // DTEND of an all-day event is the day after
    icalcomponent* event = icalcomponent_new_vevent();
    icalcomponent_add_property(event, icalproperty_new_uid(uid));
    icalcomponent_add_property(event, icalproperty_new_dtstamp(stamp));
    icalcomponent_add_property(event, icalproperty_new_dtstart(IcalDate(day.date)));
    icalcomponent_add_property(event, icalproperty_new_dtend(end));
    icalcomponent_add_property(event, icalproperty_new_summary(day.name.c_str()));
    icalcomponent_add_property(event, icalproperty_new_categories(DayOffKindName(day.kind)));
    // A day off does not make anyone busy.
    icalcomponent_add_property(event, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
    return event;
}

}  // namespace

bool HolidayCalendarText(int year, const std::vector<ExportedHoliday>& days, std::time_t stamp, std::string& text,
                         OperatorMessage& refusal)
{
    if (const std::string date = FirstUnwritable(days); !date.empty()) {
        refusal = {"libical은 3000년 뒤의 날짜(" + date + ")를 iCalendar로 쓸 수 없습니다",
                   "libical cannot write a date after 3000 in iCalendar (" + date + ")"};
        return false;
    }
    const icaltimetype utcStamp = icaltime_from_timet_with_zone(stamp, 0, icaltimezone_get_utc_timezone());
    std::unique_ptr<icalcomponent, ComponentFree> calendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//Dorvane//Korean holidays//KO"));
    // The name calendar programs give the imported calendar.
    const std::string title = std::to_string(year) + "년 휴일";
    icalproperty* name = icalproperty_new_x(title.c_str());
    icalproperty_set_x_name(name, "X-WR-CALNAME");
    icalcomponent_add_property(calendar.get(), name);
    for (const OperatorMessage& note : UnknownHolidayNotes(year)) {
        icalproperty* property = icalproperty_new_x(note.english.c_str());
        icalproperty_set_x_name(property, "X-DORVANE-NOTE");
        icalcomponent_add_property(calendar.get(), property);
    }
    for (const ExportedHoliday& day : days) icalcomponent_add_component(calendar.get(), Event(day, utcStamp));
    char* written = icalcomponent_as_ical_string_r(calendar.get());
    text = written;
    icalmemory_free_buffer(written);
    return true;
}
