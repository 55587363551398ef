// Hostile holiday files against a plain one: each is read and the days of 2027 found (what a
// start of either program does), timed against a file of one plain event in the same run.
// Targets: 1000 counted events from year 1 (libical cannot count from there) refused within
// 1000 x the plain file; 1000 counted events of 90 years from 1582-10-15, the first day libical
// counts from, read in under a second (a counted rule was walked from DTSTART for every year
// shown, minutes for such a file); a change of year on them within 10 x; 10,000 replacements of
// one event within 8 x 2,500 of them (quadratic would be 16 x); the largest file taken, 1 MiB of
// one-word lines, within 2 seconds.
#include <benchmark/benchmark.h>
#include <chrono>
#include <functional>
#include <string>

#include "holiday_files/holiday_file.h"
#include "holiday_files/imported_holidays.h"

namespace {

std::string Calendar(const std::string& events)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//bench//KO\r\n" + events + "END:VCALENDAR\r\n";
}

std::string Repeated(const std::string& text, int times)
{
    std::string all;
    for (int i = 0; i < times; ++i) all += text;
    return all;
}

const std::string kPlain = Calendar("BEGIN:VEVENT\r\nUID:a\r\nDTSTART;VALUE=DATE:20270505\r\nEND:VEVENT\r\n");

int ReadAndMark(const std::string& text)
{
    const HolidayFileRead read = ReadHolidayFile(text, "bench.ics");
    return read.file ? static_cast<int>(ImportedHolidays({*read.file}, 2027).days.size()) : -1;
}

double Seconds(const std::function<void()>& work, int times)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < times; ++i) work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / times;
}

// `work` against reading and marking the plain file, both timed in each iteration.
void AgainstPlain(benchmark::State& state, const std::function<void()>& work)
{
    for (auto _ : state) {
        const double plain = Seconds([] { benchmark::DoNotOptimize(ReadAndMark(kPlain)); }, 50);
        const double hostile = Seconds(work, 1);
        state.SetIterationTime(hostile);
        state.counters["plain_us"] = plain * 1e6;
        state.counters["ratio"] = hostile / plain;
    }
}

void BM_CountedEventsFrom1582(benchmark::State& state)
{
    const std::string text = Calendar(Repeated(
        "BEGIN:VEVENT\r\nUID:c\r\nDTSTART;VALUE=DATE:15821015\r\nRRULE:FREQ=YEARLY;COUNT=90\r\nEND:VEVENT\r\n", 1000));
    AgainstPlain(state, [&] { benchmark::DoNotOptimize(ReadAndMark(text)); });
}
BENCHMARK(BM_CountedEventsFrom1582)->UseManualTime()->Unit(benchmark::kMillisecond);

// Refused at their first RRULE: libical cannot count from year 1.
void BM_CountedEventsFromYear1(benchmark::State& state)
{
    const std::string text = Calendar(Repeated(
        "BEGIN:VEVENT\r\nUID:c\r\nDTSTART;VALUE=DATE:00010101\r\nRRULE:FREQ=DAILY;COUNT=1000000\r\nEND:VEVENT\r\n", 1000));
    AgainstPlain(state, [&] { benchmark::DoNotOptimize(ReadAndMark(text)); });
}
BENCHMARK(BM_CountedEventsFromYear1)->UseManualTime()->Unit(benchmark::kMillisecond);

// What the dialog does at each change of year, once the file is read.
void BM_YearChangeOnCountedEvents(benchmark::State& state)
{
    const HolidayFileRead read = ReadHolidayFile(
        Calendar(Repeated(
            "BEGIN:VEVENT\r\nUID:c\r\nDTSTART;VALUE=DATE:15821015\r\nRRULE:FREQ=YEARLY;COUNT=90\r\nEND:VEVENT\r\n", 1000)),
        "bench.ics");
    if (!read.file) return state.SkipWithError(read.refusal.english.c_str());
    AgainstPlain(state, [&] { benchmark::DoNotOptimize(ImportedHolidays({*read.file}, 2028).days.size()); });
}
BENCHMARK(BM_YearChangeOnCountedEvents)->UseManualTime()->Unit(benchmark::kMillisecond);

// One daily event and as many of its instances moved to 2027.
void BM_Replacements(benchmark::State& state)
{
    std::string events = "BEGIN:VEVENT\r\nUID:r\r\nDTSTART;VALUE=DATE:20000101\r\nRRULE:FREQ=DAILY\r\nEND:VEVENT\r\n";
    for (int i = 0; i < state.range(0); ++i) {
        char instance[16];
        std::snprintf(instance, sizeof instance, "%04d%02d%02d", 2000 + i / 336, 1 + i / 28 % 12, 1 + i % 28);
        events += std::string("BEGIN:VEVENT\r\nUID:r\r\nRECURRENCE-ID;VALUE=DATE:") + instance +
                  "\r\nDTSTART;VALUE=DATE:20270101\r\nEND:VEVENT\r\n";
    }
    const std::string text = Calendar(events);
    AgainstPlain(state, [&] { benchmark::DoNotOptimize(ReadAndMark(text)); });
}
BENCHMARK(BM_Replacements)->Arg(2500)->Arg(5000)->Arg(10000)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_NestedFortyThousandDeep(benchmark::State& state)
{
    const std::string text = "BEGIN:VCALENDAR\r\n" + Repeated("BEGIN:VEVENT\r\n", 40000) +
                             Repeated("END:VEVENT\r\n", 40000) + "END:VCALENDAR\r\n";
    AgainstPlain(state, [&] { benchmark::DoNotOptimize(ReadAndMark(text)); });
}
BENCHMARK(BM_NestedFortyThousandDeep)->UseManualTime()->Unit(benchmark::kMillisecond);

// The most a file may hold, in the lines that cost libical the most each.
void BM_LargestFileOfShortLines(benchmark::State& state)
{
    std::string text = Calendar("BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20270505\r\n");
    text.resize(text.size() - std::string("END:VCALENDAR\r\n").size());
    const std::string tail = "END:VEVENT\r\nEND:VCALENDAR\r\n";
    while (text.size() + 7 + tail.size() <= HOLIDAY_FILE_MOST_BYTES) text += "X-A:1\r\n";
    text += tail;
    AgainstPlain(state, [&] { benchmark::DoNotOptimize(ReadAndMark(text)); });
}
BENCHMARK(BM_LargestFileOfShortLines)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
