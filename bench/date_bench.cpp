#include <benchmark/benchmark.h>

#include "date/lunar_date.h"
#include "date/lunar_table.h"

namespace {

// Solar -> lunar conversion of dates spread from 2009 to the end of the lunar table.
void BM_SolarToLunar(benchmark::State& state)
{
    CLunarDate date;
    int n = DayNumber(2009, 1, 1);
    const int first = n;
    const int last = DayNumber(LUNAR_LAST_YEAR, 12, 31);
    for (auto _ : state) {
        const SolarDate s = FromDayNumber(n);
        benchmark::DoNotOptimize(date.SetDate(s.year, s.month, s.day, CAL_SOLAR, 0));
        n = n < last ? n + 37 : first;
    }
}
BENCHMARK(BM_SolarToLunar);

// Every day of the lunar table, solar -> lunar -> solar.
void BM_WholeTableRoundTrip(benchmark::State& state)
{
    const int first = DayNumber(1841, 1, 23);
    const int last = DayNumber(LUNAR_LAST_YEAR, 12, 31);
    for (auto _ : state) {
        CLunarDate date;
        CLunarDate back;
        for (int n = first; n <= last; ++n) {
            const SolarDate s = FromDayNumber(n);
            date.SetDate(s.year, s.month, s.day, CAL_SOLAR, 0);
            back.SetDate(date.GetYear(CAL_LUNAR), date.GetMonth(CAL_LUNAR), date.GetDay(CAL_LUNAR), CAL_LUNAR,
                         date.IsLeapMonth());
        }
        benchmark::DoNotOptimize(back);
    }
}
BENCHMARK(BM_WholeTableRoundTrip)->Unit(benchmark::kMillisecond);

}  // namespace
