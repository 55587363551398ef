#include "holiday_files/holiday_file.h"

#include <libical/ical.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>

#include "holiday_files/ics_document.h"

namespace {

icaltimetype DateOf(int dayNumber)
{
    return IcalDate(FromDayNumber(dayNumber));
}

struct IteratorFree {
    void operator()(icalrecur_iterator* iterator) const { icalrecur_iterator_free(iterator); }
};
using RecurIterator = std::unique_ptr<icalrecur_iterator, IteratorFree>;

// Reads the events of one parsed file; the first fault refuses the whole file.
class CEventReader {
public:
    CEventReader(const CIcsDocument& document, const std::string& name) : m_document(document), m_name(name) {}

    void Read(icalcomponent* event);
    // Takes the instances that other events replace out of their recurring events.
    void ApplyReplacements();

    std::optional<IcsFault> m_fault;
    std::vector<AllDayEvent> m_events;
    std::vector<OperatorMessage> m_skipped;

private:
    // The day number of a date value, or 0 with a fault: libical takes 20271345 as it comes.
    int Day(const icalproperty* property, icaltimetype time);
    int Length(icalcomponent* event, int start);
    void Fault(int line, std::string korean, std::string english);
    OperatorMessage Skipped(icalcomponent* event) const;

    const CIcsDocument& m_document;
    const std::string& m_name;
    std::vector<std::optional<std::string>> m_recurringUids;  // per event; none for a replacement
    std::vector<std::pair<std::string, int>> m_replaced;      // UID and start of a replaced instance
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
        return Fault(m_document.LineOf(event), "DTSTART가 없는 일정입니다", "an event without DTSTART");
    const icaltimetype start = icalproperty_get_dtstart(dtstart);
    if (!start.is_date) {
        m_skipped.push_back(Skipped(event));
        return;
    }
    AllDayEvent all{};
    all.start = Day(dtstart, start);
    if (all.start == 0) return;
    all.length = Length(event, all.start);
    if (all.length == 0) return;
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY); p != nullptr;
         p = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) {
        icalrecurrencetype rule = icalproperty_get_rrule(p);
        if (!RecurIterator(icalrecur_iterator_new(rule, DateOf(all.start)))) {
            return Fault(m_document.LineOf(p), "반복 규칙을 쓸 수 없습니다", "libical cannot expand this RRULE");
        }
        char* text = icalrecurrencetype_as_string_r(&rule);
        all.rules.emplace_back(text);
        icalmemory_free_buffer(text);
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
    m_events.push_back(std::move(all));
    m_recurringUids.push_back(recurrenceId != nullptr ? std::nullopt : std::optional<std::string>(uid));
}

void CEventReader::ApplyReplacements()
{
    for (const auto& [uid, start] : m_replaced) {
        for (size_t i = 0; i < m_events.size(); ++i) {
            if (m_recurringUids[i] == uid) m_events[i].excludedStarts.push_back(start);
        }
    }
}

int CEventReader::Day(const icalproperty* property, icaltimetype time)
{
    if (time.year >= 1 && IsValidDate(time.year, time.month, time.day, CAL_SOLAR, 0)) {
        return DayNumber(time.year, time.month, time.day);
    }
    const std::string name = icalproperty_get_property_name(property);
    const char* value = icalproperty_get_value_as_string(property);
    const std::string text = name + ":" + (value != nullptr ? value : "");
    Fault(m_document.LineOf(property), "없는 날짜입니다 (" + text + ")", "no such date: " + text);
    return 0;
}

// Days from DTEND (the day after the last) or DURATION; one without either. 0 with a fault.
int CEventReader::Length(icalcomponent* event, int start)
{
    if (icalproperty* dtend = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY)) {
        const int end = Day(dtend, icalproperty_get_dtend(dtend));
        if (end == 0) return 0;
        if (end < start) {
            Fault(m_document.LineOf(dtend), "DTEND가 DTSTART보다 앞섭니다", "DTEND before DTSTART");
            return 0;
        }
        return std::max(1, end - start);
    }
    if (icalproperty* duration = icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY)) {
        const icaldurationtype value = icalproperty_get_duration(duration);
        if (value.is_neg) {
            Fault(m_document.LineOf(duration), "DURATION이 음수입니다", "a negative DURATION");
            return 0;
        }
        constexpr int kSecondsPerDay = 24 * 60 * 60;
        return std::max(1, (icaldurationtype_as_int(value) + kSecondsPerDay - 1) / kSecondsPerDay);
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
    const std::string place = m_name + " " + std::to_string(m_document.LineOf(event));
    return {"휴일 파일 " + place + "번째 줄의 일정 \"" + (title != nullptr ? title : "제목 없음") +
                "\": 하루 종일 일정이 아니어서 건너뜁니다",
            "holiday file " + m_name + ", line " + std::to_string(m_document.LineOf(event)) + ": skipped \"" +
                (title != nullptr ? title : "untitled") + "\", an event with a time of day"};
}

HolidayFileRead Refused(const std::string& name, const IcsFault& fault)
{
    HolidayFileRead read;
    read.refusedLine = fault.line;
    read.refusal = {
        "휴일 파일을 읽을 수 없습니다: " + name + " " + std::to_string(fault.line) + "번째 줄, " + fault.reason.korean,
        "cannot read holiday file " + name + ", line " + std::to_string(fault.line) + ": " + fault.reason.english};
    return read;
}

// Calls `visit` with each start of the rule up to `to`, from about `from` on.
template <typename Visit>
void ForEachStart(const std::string& ruleText, int dtstart, int from, int to, Visit visit)
{
    const icalrecurrencetype rule = icalrecurrencetype_from_string(ruleText.c_str());
    RecurIterator iterator(icalrecur_iterator_new(rule, DateOf(dtstart)));
    if (!iterator) return;
    // A counted rule must be walked from its first instance; any other can start at the year.
    if (rule.count == 0 && from > dtstart) icalrecur_iterator_set_start(iterator.get(), DateOf(from));
    int previous = 0;
    for (;;) {
        const icaltimetype time = icalrecur_iterator_next(iterator.get());
        if (icaltime_is_null_time(time)) break;
        const int start = DayNumber(time.year, time.month, time.day);
        // For a rule finer than a day libical gives the same date for ever.
        if (start <= previous || start > to) break;
        previous = start;
        visit(start);
    }
}

}  // namespace

HolidayFileRead ReadHolidayFile(std::string_view text, const std::string& name)
{
    const CIcsDocument document(text);
    if (document.Fault()) return Refused(name, *document.Fault());
    CEventReader reader(document, name);
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

HolidayFileRead ReadHolidayFile(const std::filesystem::path& path, std::string* text)
{
    std::error_code ignored;
    std::ifstream in;
    if (std::filesystem::is_directory(path, ignored)) {
        errno = EISDIR;
    } else {
        in.open(path, std::ios::binary);
    }
    std::string bytes;
    if (in.is_open()) bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in.is_open() || in.bad()) {
        const std::string reason = std::strerror(errno);
        HolidayFileRead read;
        read.refusal = {"휴일 파일을 열 수 없습니다: " + path.string() + " (" + reason + ")",
                        "cannot open holiday file " + path.string() + ": " + reason};
        return read;
    }
    if (text != nullptr) *text = bytes;
    return ReadHolidayFile(bytes, path.string());
}

std::vector<SolarDate> HolidayFileDays(const HolidayFile& file, int year)
{
    const int first = DayNumber(year, 1, 1);
    const int last = DayNumber(year, 12, 31);
    if (first < 1) return {};
    std::set<int> days;
    for (const AllDayEvent& event : file.events) {
        const auto cover = [&](int start) {
            const auto& excluded = event.excludedStarts;
            if (std::find(excluded.begin(), excluded.end(), start) != excluded.end()) return;
            const int end = std::min(last, start + (event.length - 1));
            for (int day = std::max(first, start); day <= end; ++day) days.insert(day);
        };
        cover(event.start);
        for (int start : event.extraStarts) cover(start);
        for (const std::string& rule : event.rules)
            ForEachStart(rule, event.start, first - (event.length - 1), last, cover);
    }
    std::vector<SolarDate> dates;
    for (int day : days) dates.push_back(FromDayNumber(day));
    return dates;
}

void MarkHolidayFileDays(const std::vector<HolidayFile>& files, int year, HolidaySettings& settings)
{
    for (const HolidayFile& file : files) {
        for (const SolarDate& date : HolidayFileDays(file, year)) settings.marks[date.month][date.day] = 1;
    }
}
