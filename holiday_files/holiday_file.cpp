#include "holiday_files/holiday_file.h"

#include <libical/ical.h>

#include <algorithm>
#include <unordered_map>

#include "base/printable_text.h"
#include "holiday_files/ics_document.h"
#include "holiday_files/recurrence.h"

namespace {

// The last day an iCalendar date, four digits of year, can name.
int LastDay()
{
    static const int day = DayNumber(9999, 12, 31);
    return day;
}

// The steps libical may take to count out every rule with COUNT of one file, found when it is
// read: a daily rule's days, a weekly rule's weeks, a monthly rule's months, a yearly rule's
// years, each 2 to 6 µs. A thousand yearly rules of ten take 10,000.
constexpr int kMostCountedSteps = 100000;

// A repeating event of more than a year would overlap itself.
constexpr int kMostRepeatingDays = 366;

int StepDays(icalrecurrencetype_frequency frequency)
{
    switch (frequency) {
    case ICAL_WEEKLY_RECURRENCE: return 7;
    case ICAL_MONTHLY_RECURRENCE: return 31;
    case ICAL_YEARLY_RECURRENCE: return 366;
    default: return 1;
    }
}

// Reads the events of one parsed file; the first fault refuses the whole file.
class CEventReader {
public:
    explicit CEventReader(const std::string& name) : m_name(name) {}

    void Read(icalcomponent* event);
    // Takes the instances that other events replace out of their recurring events.
    void ApplyReplacements();

    std::optional<IcsFault> m_fault;
    std::vector<AllDayEvent> m_events;
    std::vector<OperatorMessage> m_skipped;

private:
    // The day number of a date value, or 0 with a fault: libical takes 20271345 as it comes.
    int Day(icalproperty* property, icaltimetype time);
    int Length(icalcomponent* event, int start);
    // Adds the rule to the event, as its text or, with COUNT, as its starts; false with a fault.
    bool AddRule(icalproperty* property, AllDayEvent& event);
    bool ExpandCounted(icalproperty* property, icalrecurrencetype rule, AllDayEvent& event);
    void Fault(int line, std::string korean, std::string english);
    OperatorMessage Skipped(icalcomponent* event) const;

    const std::string& m_name;
    int m_countedSteps = kMostCountedSteps;
    std::unordered_map<std::string, std::vector<size_t>> m_recurring;  // events by UID; no replacement
    std::vector<std::pair<std::string, int>> m_replaced;                // UID and start of a replaced instance
};

void CEventReader::Read(icalcomponent* event)
{
    const char* uidText = icalcomponent_get_uid(event);
    const std::string uid = uidText != nullptr ? uidText : "";
    icalproperty* recurrenceId = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY);
    if (recurrenceId != nullptr) {
        const int replaced = Day(recurrenceId, icalproperty_get_recurrenceid(recurrenceId));
        if (replaced == 0) return;
        m_replaced.emplace_back(uid, replaced);
    }
    if (icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED) return;

    icalproperty* dtstart = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    if (dtstart == nullptr)
        return Fault(CIcsDocument::LineOf(event), "DTSTART가 없는 일정입니다", "an event without DTSTART");
    const icaltimetype start = icalproperty_get_dtstart(dtstart);
    if (!start.is_date) {
        m_skipped.push_back(Skipped(event));
        return;
    }
    AllDayEvent all{};
    all.line = CIcsDocument::LineOf(event);
    const char* summary = icalcomponent_get_summary(event);
    all.summary = PrintableText(summary != nullptr ? summary : "");
    all.start = Day(dtstart, start);
    if (all.start == 0) return;
    all.length = Length(event, all.start);
    if (all.length == 0) return;
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY); p != nullptr;
         p = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) {
        if (!AddRule(p, all)) return;
    }
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY); p != nullptr;
         p = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
        const icaldatetimeperiodtype value = icalproperty_get_rdate(p);
        const int day = Day(p, icaltime_is_null_time(value.time) ? value.period.start : value.time);
        if (day == 0) return;
        all.extraStarts.push_back(day);
    }
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY); p != nullptr;
         p = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY)) {
        const int day = Day(p, icalproperty_get_exdate(p));
        if (day == 0) return;
        all.excludedStarts.push_back(day);
    }
    if (recurrenceId == nullptr) m_recurring[uid].push_back(m_events.size());
    m_events.push_back(std::move(all));
}

void CEventReader::ApplyReplacements()
{
    for (const auto& [uid, start] : m_replaced) {
        const auto found = m_recurring.find(uid);
        if (found == m_recurring.end()) continue;
        for (size_t i : found->second) m_events[i].excludedStarts.push_back(start);
    }
    for (AllDayEvent& event : m_events) {
        std::sort(event.extraStarts.begin(), event.extraStarts.end());
        std::sort(event.excludedStarts.begin(), event.excludedStarts.end());
        event.excludedStarts.erase(std::unique(event.excludedStarts.begin(), event.excludedStarts.end()),
                                   event.excludedStarts.end());
    }
}

bool CEventReader::AddRule(icalproperty* property, AllDayEvent& event)
{
    // Each year shown walks the starts of the year before it as well, for the days they reach.
    if (event.length > kMostRepeatingDays) {
        const std::string most = std::to_string(kMostRepeatingDays);
        Fault(CIcsDocument::LineOf(property), "반복 일정은 한 번에 " + most + "일까지입니다",
              "a repeating event lasts at most " + most + " days each time");
        return false;
    }
    if (event.start < FirstRepeatDay()) {
        Fault(CIcsDocument::LineOf(property),
              "반복 일정은 1582-10-15부터 시작해야 합니다 (libical은 그 전의 날을 율리우스력으로 셉니다)",
              "a repeating event must start on 1582-10-15 or later: libical counts the days before it on the "
              "Julian calendar");
        return false;
    }
    if (event.start > LastRepeatDay()) {
        Fault(CIcsDocument::LineOf(property), "libical은 2582년 뒤에 시작하는 반복 일정을 계산할 수 없습니다",
              "libical repeats nothing after 2582");
        return false;
    }
    icalrecurrencetype rule = icalproperty_get_rrule(property);
    const RecurIterator iterator(icalrecur_iterator_new(rule, DateOf(event.start)));
    if (!iterator) {
        Fault(CIcsDocument::LineOf(property), "반복 규칙을 쓸 수 없습니다", "libical cannot expand this RRULE");
        return false;
    }
    if (rule.count > 0) return ExpandCounted(property, rule, event);
    // libical's monthly and yearly steps look for the next matching day with no end but its own,
    // some 20,000 years on: a rule that matches none would cost most of a second in every year
    // shown. (Daily and weekly steps stop at UNTIL, which each year's walk sets.)
    const bool searches = rule.freq == ICAL_MONTHLY_RECURRENCE || rule.freq == ICAL_YEARLY_RECURRENCE;
    if (searches && icaltime_is_null_time(icalrecur_iterator_next(iterator.get()))) {
        Fault(CIcsDocument::LineOf(property), "반복 규칙에 맞는 날이 없습니다", "the RRULE matches no day");
        return false;
    }
    char* text = icalrecurrencetype_as_string_r(&rule);
    event.rules.emplace_back(text);
    icalmemory_free_buffer(text);
    if (icaltime_is_null_time(rule.until) || DayOf(rule.until) > LastRepeatDay()) {
        event.knownThrough = std::min(event.knownThrough, LastRepeatDay());
    }
    return true;
}

// Every start of a rule with COUNT, found once: libical counts only from DTSTART on, so such a
// rule walked again for each year shown would cost all the years in between every time.
bool CEventReader::ExpandCounted(icalproperty* property, icalrecurrencetype rule, AllDayEvent& event)
{
    // An UNTIL where the file's steps run out also ends the walk libical makes inside one step
    // through days that a rare rule does not match.
    const int stepDays = StepDays(rule.freq);
    const long long reach = static_cast<long long>(event.start) + static_cast<long long>(m_countedSteps) * stepDays;
    const int cap = static_cast<int>(std::min<long long>(reach, LastRepeatDay()));
    bool capped = false;
    if (icaltime_is_null_time(rule.until) || DayOf(rule.until) > cap) {
        rule.until = DateOf(cap);
        capped = true;
    }
    RecurIterator iterator(icalrecur_iterator_new(rule, DateOf(event.start)));
    int count = 0;
    const int last = WalkStarts(iterator.get(), INT_MAX, [&](int start) {
        event.extraStarts.push_back(start);
        ++count;
        return true;
    });
    // Counted out; a rule finer than a day stays on its one date, so nothing is left to find.
    const bool counted = count == rule.count || rule.freq < ICAL_DAILY_RECURRENCE;
    const int walkedTo = counted ? last : DayOf(rule.until);
    m_countedSteps -= std::max(0, walkedTo - event.start) / stepDays + 1;
    // Ended at its own UNTIL: all is known too.
    if (counted || !capped) return true;
    if (cap < LastRepeatDay()) {
        const std::string most = std::to_string(kMostCountedSteps);
        Fault(CIcsDocument::LineOf(property),
              "COUNT가 있는 반복 규칙이 너무 깁니다 (한 파일에 모두 합쳐 " + most + "번 반복까지)",
              "rules with COUNT too long: " + most + " repetitions in all per file");
        return false;
    }
    event.knownThrough = std::min(event.knownThrough, LastRepeatDay());
    return true;
}

int CEventReader::Day(icalproperty* property, icaltimetype time)
{
    if (time.year >= 1 && IsValidDate(time.year, time.month, time.day, CAL_SOLAR, 0)) {
        return DayNumber(time.year, time.month, time.day);
    }
    const std::string name = icalproperty_get_property_name(property);
    const char* value = icalproperty_get_value_as_string(property);
    const std::string text = QuotedText(name + ":" + (value != nullptr ? value : ""));
    Fault(CIcsDocument::LineOf(property), "없는 날짜입니다 (" + text + ")", "no such date: " + text);
    return 0;
}

// Days from DTEND (the day after the last) or DURATION; one without either. 0 with a fault.
int CEventReader::Length(icalcomponent* event, int start)
{
    if (icalproperty* dtend = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY)) {
        const int end = Day(dtend, icalproperty_get_dtend(dtend));
        if (end == 0) return 0;
        if (end < start) {
            Fault(CIcsDocument::LineOf(dtend), "DTEND가 DTSTART보다 앞섭니다", "DTEND before DTSTART");
            return 0;
        }
        return std::max(1, end - start);
    }
    if (icalproperty* duration = icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY)) {
        const icaldurationtype value = icalproperty_get_duration(duration);
        if (value.is_neg) {
            Fault(CIcsDocument::LineOf(duration), "DURATION이 음수입니다", "a negative DURATION");
            return 0;
        }
        // Summed here, in days: libical's own sum is in seconds of an int, which P24855D overflows.
        constexpr long long kSecondsPerDay = 24 * 60 * 60;
        const long long seconds = static_cast<long long>(value.hours) * 3600 +
                                  static_cast<long long>(value.minutes) * 60 + static_cast<long long>(value.seconds);
        const long long days = std::max(1LL, static_cast<long long>(value.weeks) * 7 +
                                                 static_cast<long long>(value.days) +
                                                 (seconds + kSecondsPerDay - 1) / kSecondsPerDay);
        if (days > LastDay() - start + 1) {
            Fault(CIcsDocument::LineOf(duration), "DURATION이 9999-12-31을 넘어갑니다", "DURATION runs past 9999-12-31");
            return 0;
        }
        return static_cast<int>(days);
    }
    return 1;
}

void CEventReader::Fault(int line, std::string korean, std::string english)
{
    if (!m_fault) m_fault = IcsFault{line, {std::move(korean), std::move(english)}};
}

OperatorMessage CEventReader::Skipped(icalcomponent* event) const
{
    const char* summary = icalcomponent_get_summary(event);
    const char* uid = icalcomponent_get_uid(event);
    const char* title = summary != nullptr ? summary : uid;
    const std::string shown = title != nullptr ? QuotedText(title) : "";
    const std::string name = PrintableText(m_name);
    const std::string line = std::to_string(CIcsDocument::LineOf(event));
    return {"휴일 파일 " + name + " " + line + "번째 줄의 일정 \"" + (title != nullptr ? shown : "제목 없음") +
                "\": 하루 종일 일정이 아니어서 건너뜁니다",
            "holiday file " + name + ", line " + line + ": skipped \"" + (title != nullptr ? shown : "untitled") +
                "\", an event with a time of day"};
}

HolidayFileRead Refused(const std::string& name, const IcsFault& fault)
{
    HolidayFileRead read;
    read.refusedLine = fault.line;
    const std::string shown = PrintableText(name);
    read.refusal = {
        "휴일 파일을 읽을 수 없습니다: " + shown + " " + std::to_string(fault.line) + "번째 줄, " + fault.reason.korean,
        "cannot read holiday file " + shown + ", line " + std::to_string(fault.line) + ": " + fault.reason.english};
    return read;
}

}  // namespace

HolidayFileRead ReadHolidayFile(std::string_view text, const std::string& name)
{
    const CIcsDocument document(text);
    if (document.Fault()) return Refused(name, *document.Fault());
    CEventReader reader(name);
    for (icalcomponent* calendar : document.Calendars()) {
        for (icalcomponent* event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
             event != nullptr && !reader.m_fault;
             event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
            reader.Read(event);
        }
    }
    if (reader.m_fault) return Refused(name, *reader.m_fault);
    reader.ApplyReplacements();
    HolidayFileRead read;
    read.file = HolidayFile{name, std::move(reader.m_events)};
    read.skipped = std::move(reader.m_skipped);
    return read;
}
