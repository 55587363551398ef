#include "holiday_files/imported_holidays.h"

#include <algorithm>
#include <climits>
#include <optional>

#include "base/printable_text.h"
#include "holiday_files/recurrence.h"

namespace {

// The steps a file's rules without COUNT may take to give one year's starts: a start libical
// gives is one (about 2 µs), setting a rule up forty (up to 80 µs for a yearly one). 300 yearly
// anniversaries take 12,300; some 250 daily rules use it up.
constexpr int kMostYearSteps = 100000;
constexpr int kRuleSetUpSteps = 40;

// Calls `visit` with each start of the rule from about `from` up to `to`, each taking a step of
// `steps`, as setting the rule up does several; false when they ran out first.
template <typename Visit>
bool ForEachStart(const std::string& ruleText, int dtstart, int from, int to, int& steps, Visit visit)
{
    to = std::min(to, LastRepeatDay());
    if (from > to) return true;
    steps -= kRuleSetUpSteps;
    if (steps < 0) return false;
    icalrecurrencetype rule = icalrecurrencetype_from_string(ruleText.c_str());
    // A rule that matches rarely is walked day by day inside one step of libical's: an UNTIL at
    // `to` keeps that walk within the year.
    if (icaltime_is_null_time(rule.until) || DayOf(rule.until) > to) rule.until = DateOf(to);
    RecurIterator iterator(icalrecur_iterator_new(rule, DateOf(dtstart)));
    if (!iterator) return true;
    if (from > dtstart) icalrecur_iterator_set_start(iterator.get(), DateOf(from));
    WalkStarts(iterator.get(), to, [&](int start) {
        visit(start);
        return --steps >= 0;
    });
    return steps >= 0;
}

// The days of one year that events cover, each with the names of its first few: a day that ten
// thousand events cover costs no more to tell than one that eight cover.
class CYearCover {
public:
    explicit CYearCover(int year)
        : m_first(DayNumber(year, 1, 1)), m_last(DayNumber(year, 12, 31)), m_days(m_last - m_first + 1)
    {
    }
    int First() const { return m_first; }
    int Last() const { return m_last; }

    // The days from `from` to `to` that lie in the year.
    void Cover(int from, int to, const std::string& summary, const std::string& file)
    {
        for (int day = std::max(from, m_first); day <= std::min(to, m_last); ++day) {
            Name(m_days[day - m_first], summary, file);
        }
    }
    void Add(const CYearCover& other)
    {
        for (size_t i = 0; i < m_days.size(); ++i) {
            for (const ImportedName& name : other.m_days[i].names) Name(m_days[i], name.summary, name.file);
        }
    }
    std::vector<ImportedHoliday> Days() const
    {
        std::vector<ImportedHoliday> days;
        for (size_t i = 0; i < m_days.size(); ++i) {
            if (!m_days[i].names.empty()) days.push_back({FromDayNumber(m_first + static_cast<int>(i)), m_days[i].names});
        }
        return days;
    }

private:
    static constexpr size_t kMostNamesPerDay = 8;

    struct Day {
        std::vector<ImportedName> names;  // none: not covered
    };

    static void Name(Day& day, const std::string& summary, const std::string& file)
    {
        if (day.names.size() == kMostNamesPerDay) return;
        for (const ImportedName& name : day.names) {
            if (name.summary == summary && name.file == file) return;
        }
        day.names.push_back({summary, file});
    }

    int m_first;
    int m_last;
    std::vector<Day> m_days;
};

// The starts of the event whose days reach into the year, in order, each once; none when the
// file's `steps` for the year ran out.
std::optional<std::vector<int>> StartsCovering(const AllDayEvent& event, const CYearCover& year, int& steps)
{
    const int from = year.First() - (event.length - 1);
    const int to = year.Last();
    std::vector<int> starts;
    if (event.start >= from && event.start <= to) starts.push_back(event.start);
    for (auto at = std::lower_bound(event.extraStarts.begin(), event.extraStarts.end(), from);
         at != event.extraStarts.end() && *at <= to; ++at) {
        starts.push_back(*at);
    }
    for (const std::string& rule : event.rules) {
        const bool walked = ForEachStart(rule, event.start, from, to, steps, [&](int start) {
            if (start >= from) starts.push_back(start);
        });
        if (!walked) return std::nullopt;
    }
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    std::erase_if(starts, [&](int start) {
        return std::binary_search(event.excludedStarts.begin(), event.excludedStarts.end(), start);
    });
    return starts;
}

// The days of the year the file covers; false when a repeating event's starts in the year
// cannot be known, with `refusal` saying which.
bool CoverFileDays(const HolidayFile& file, int year, CYearCover& cover, OperatorMessage& refusal)
{
    const std::string shownFile = PrintableText(file.name);
    const std::string shownYear = std::to_string(year);
    int steps = kMostYearSteps;
    for (const AllDayEvent& event : file.events) {
        const std::string line = std::to_string(event.line);
        if (cover.Last() > event.knownThrough) {
            refusal = {"휴일 파일 " + shownFile + " " + line + "번째 줄의 반복 일정: libical은 2582년 뒤로는 반복하지 "
                           "못해 " + shownYear + "년의 날을 알 수 없습니다",
                       "holiday file " + shownFile + ", line " + line + ": libical repeats nothing after 2582, so the "
                           "days of " + shownYear + " are unknown"};
            return false;
        }
        const std::optional<std::vector<int>> starts = StartsCovering(event, cover, steps);
        if (!starts) {
            const std::string most = std::to_string(kMostYearSteps);
            refusal = {"휴일 파일 " + shownFile + " " + line + "번째 줄까지의 반복 일정이 " + shownYear +
                           "년에 너무 많이 반복합니다 (한 파일에 한 해 " + most + "번까지)",
                       "holiday file " + shownFile + ", line " + line + ": the repeating events up to it repeat too "
                           "often in " + shownYear + " (" + most + " times a year per file)"};
            return false;
        }
        // Overlapping instances are one stretch of days, each day covered once.
        int coveredThrough = INT_MIN;
        for (int start : *starts) {
            const int end = start + (event.length - 1);
            cover.Cover(std::max(start, coveredThrough + 1), end, event.summary, shownFile);
            coveredThrough = std::max(coveredThrough, end);
        }
    }
    return true;
}

}  // namespace

ImportedYear ImportedHolidays(const std::vector<HolidayFile>& files, int year)
{
    ImportedYear imported;
    CYearCover all(year);
    for (const HolidayFile& file : files) {
        // A file refused for the year gives none of its days.
        CYearCover days(year);
        OperatorMessage refusal;
        if (CoverFileDays(file, year, days, refusal)) {
            all.Add(days);
        } else {
            imported.refusals.push_back(std::move(refusal));
        }
    }
    imported.days = all.Days();
    return imported;
}
