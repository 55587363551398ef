// One year of holiday rules, as the calendars and the upload ask for it.
#include <benchmark/benchmark.h>

#include "date/holidays.h"
#include "date/lunar_date.h"
#include "protocol/holiday_upload.h"
#include "protocol/terminal_model.h"
#include "tests/support/null_listing.h"

namespace {

// Every day of the year set and asked for its kind, as one calendar repaint pass does.
void BM_YearWalk(benchmark::State& state)
{
    const int year = static_cast<int>(state.range(0));
    CLunarDate cursor(year, 1, 1, CAL_SOLAR, 0);
    for (auto _ : state) {
        int total = 0;
        for (int month = 1; month <= 12; ++month) {
            const int days = DaysInMonth(year, month, CAL_SOLAR, 0);
            for (int day = 1; day <= days; ++day) {
                cursor.SetDate(year, month, day, CAL_SOLAR, 0);
                total += cursor.GetHolidayKind() != HOLIDAY_NONE;
            }
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_YearWalk)->Arg(2009)->Arg(2027)->Unit(benchmark::kMicrosecond);

void BM_BuildSendList(benchmark::State& state)
{
    const int year = static_cast<int>(state.range(0));
    NullListing out;
    for (auto _ : state) benchmark::DoNotOptimize(BuildSendList(year, MODEL_ZEFA102, out));
}
BENCHMARK(BM_BuildSendList)->Arg(2009)->Arg(2027)->Unit(benchmark::kMicrosecond);

}  // namespace
