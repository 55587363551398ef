// Painting cost of the widgets on Qt's offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include "calendar/calendar_ctrl.h"
#include "date/holidays.h"
#include "widgets/color_label.h"

namespace {

// One 200 x 200 month as the main dialog shows it, a marked day and the biweekly rule included.
void BM_PaintMonth(benchmark::State& state)
{
    g_holidaySettings = DEFAULT_HOLIDAY_SETTINGS;
    g_holidaySettings.marks[5][14] = 1;
    g_holidaySettings.biweeklyUse = 1;
    CCalendarCtrl ctrl;
    ctrl.resize(200, 200);
    ctrl.SetDate(2026, 5, 14);
    QImage target(200, 200, QImage::Format_RGB32);
    for (auto _ : state) {
        ctrl.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_PaintMonth)->Unit(benchmark::kMicrosecond);

void BM_PaintYearLabel(benchmark::State& state)
{
    CColorLabel label;
    label.resize(272, 39);
    label.SetStyle(0xFFFFFF, 0xFF6464, 20, 1, 0);
    label.SetGradientEnd(0);
    label.SetCaption(QStringLiteral("2026 년"));
    QImage target(272, 39, QImage::Format_RGB32);
    for (auto _ : state) {
        label.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_PaintYearLabel)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    // The figures are for the offscreen platform, also where no display is attached.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
