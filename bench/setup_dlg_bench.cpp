// The main dialog: start-up to its first paint (a fresh process each time), and a holiday upload
// to a simulated terminal on a 9600 baud line, against the wire time of every byte both ways
// (goal: at most 1.05 x).
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include <QApplication>
#include <QEvent>

#include "app/setup_dlg.h"
#include "date/holidays.h"
#include "protocol/protocol.h"
#include "protocol/terminal_model.h"
#include "sim/terminal_simulator.h"
#include "tests/support/test_globals.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* CHILD_OPTION = "--first-paint-child";
constexpr int UPLOAD_HOLIDAYS = 70;
constexpr int BAUD = 9600;
constexpr int BITS_PER_BYTE = 10;         // start, eight data, stop
constexpr int ZEFA102_D_FRAME_BYTES = 9;  // STX D YY MM DD ETX
constexpr int ZEFA102_OK_BYTES = 4;       // STX O K ETX

// Set when the last calendar, which paints last, receives its first paint.
class PaintWatch : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) painted = true;
        return false;
    }
};

// Child process: the application and the dialog up to its first painted frame; then reports
// on `fd` and leaves at once.
int FirstPaintChild(int fd, int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CSetupDlg dlg;
    dlg.SetMessageSink([](const QString&) {});
    PaintWatch watch;
    dlg.m_calendar[11].installEventFilter(&watch);
    dlg.show();
    while (!watch.painted) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();  // the rest of that paint
    const char done = 1;
    [[maybe_unused]] const ssize_t written = ::write(fd, &done, 1);
    std::_Exit(0);
}

// Peak resident memory of this process so far, in kB (VmHWM).
double PeakRssKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::atof(line.c_str() + 6);
    }
    return 0;
}

void BM_StartupToFirstPaint(benchmark::State& state)
{
    for (auto _ : state) {
        int pipeFds[2];
        if (::pipe(pipeFds) != 0) {
            state.SkipWithError("pipe");
            return;
        }
        const auto start = Clock::now();
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(pipeFds[0]);
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, STDOUT_FILENO);  // the holiday listing
            const std::string fd = std::to_string(pipeFds[1]);
            ::execl("/proc/self/exe", "setup_dlg_bench", CHILD_OPTION, fd.c_str(), static_cast<char*>(nullptr));
            std::_Exit(127);
        }
        ::close(pipeFds[1]);
        char done = 0;
        const ssize_t got = ::read(pipeFds[0], &done, 1);
        const auto end = Clock::now();
        ::close(pipeFds[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (got != 1) {
            state.SkipWithError("the child did not paint");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(BM_StartupToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

// 70 marked days to a ZEFA-102 on a 9600 baud line: the simulator takes the tool's frames and
// sends its replies at the line's speed, so the wire time of every byte is the floor.
void BM_Upload70At9600Baud(benchmark::State& state)
{
    const int frames = UPLOAD_HOLIDAYS + 1;  // and the end record
    const double byteSeconds = static_cast<double>(BITS_PER_BYTE) / BAUD;
    const double wireSeconds = frames * (ZEFA102_D_FRAME_BYTES + ZEFA102_OK_BYTES) * byteSeconds;
    for (auto _ : state) {
        ResetTestGlobals();
        CTerminalSimulator sim(MODEL_ZEFA102, {.baudRate = BAUD});
        std::string error;
        if (!sim.Start(error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        CSetupDlg dlg;
        bool message = false;
        dlg.SetMessageSink([&](const QString&) { message = true; });
        dlg.PresetPort(sim.RegisterPort(), MODEL_ZEFA102);
        dlg.show();
        dlg.OnPortOpen();
        dlg.OnSystemConnect();
        while (g_bConnected != 1 && !message) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        g_holidaySettings.unsetSunday = 1;
        g_holidaySettings.unsetHoliday = 1;
        for (int day = 0; day < UPLOAD_HOLIDAYS; ++day) g_holidaySettings.marks[1 + day / 28][1 + day % 28] = 1;

        const auto start = Clock::now();
        dlg.OnDataSend();
        while (g_nPendingCmd == PENDING_UPLOAD && !message) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (message || g_nSendCount != frames) {
            state.SkipWithError("the upload did not complete");
            return;
        }
        state.SetIterationTime(seconds);
        state.counters["of_wire_x"] = seconds / wireSeconds;
    }
    state.counters["frames"] = frames;
    state.counters["wire_ms"] = wireSeconds * 1000;
    state.counters["peak_rss_MB"] = PeakRssKb() / 1024;
}
BENCHMARK(BM_Upload70At9600Baud)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], CHILD_OPTION) == 0) return FirstPaintChild(std::atoi(argv[2]), argc, argv);

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    // The dialog logs to standard output; the figures go to standard error.
    const int console = ::dup(STDOUT_FILENO);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, STDOUT_FILENO);
    benchmark::ConsoleReporter reporter;
    reporter.SetOutputStream(&std::cerr);
    reporter.SetErrorStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    ::dup2(console, STDOUT_FILENO);
    return 0;
}
