// What a command costs before it does anything: the programs as processes against baselines
// started the same way, in the same run, interleaved.
//   - dorvane-cli holidays 2027 against /bin/true (goal: at most 3 x, CPU time);
//   - dorvane to its window mapped against a bare Qt dialog of 30 buttons (goal: at most 1.2 x),
//     timed to the X server's MapNotify of the window, on the display in DISPLAY (xvfb-run).
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRuns = 15;

struct Spent {
    double wall;
    double cpu;  // user and system, the child's own
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

pid_t Spawn(const std::vector<std::string>& argv)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        std::vector<char*> args;
        for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        std::_Exit(127);
    }
    return pid;
}

Spent Wait(pid_t pid, Clock::time_point start, bool& ok)
{
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    ok = ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return {std::chrono::duration<double>(Clock::now() - start).count(),
            seconds(usage.ru_utime) + seconds(usage.ru_stime)};
}

void BM_CliHolidaysAgainstTrue(benchmark::State& state)
{
    const std::vector<std::string> cli = {DORVANE_CLI_PATH, "holidays", "2027"};
    const std::vector<std::string> baseline = {"/bin/true"};
    for (auto _ : state) {
        std::vector<double> cliCpu, trueCpu, cliWall, trueWall;
        bool ok = true;
        for (int i = 0; i < kRuns; ++i) {
            const auto start = Clock::now();
            const Spent c = Wait(Spawn(cli), start, ok);
            const auto again = Clock::now();
            const Spent t = Wait(Spawn(baseline), again, ok);
            cliCpu.push_back(c.cpu);
            cliWall.push_back(c.wall);
            trueCpu.push_back(t.cpu);
            trueWall.push_back(t.wall);
        }
        if (!ok) {
            state.SkipWithError("a run failed");
            return;
        }
        state.SetIterationTime(Median(cliWall));
        state.counters["cpu_ms"] = Median(cliCpu) * 1000;
        state.counters["cpu_x"] = Median(cliCpu) / std::max(Median(trueCpu), 1e-6);
        state.counters["wall_x"] = Median(cliWall) / Median(trueWall);
    }
}
BENCHMARK(BM_CliHolidaysAgainstTrue)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

#ifdef DORVANE_APP_PATH
}  // namespace

#include <xcb/xcb.h>

namespace {

// The X server's word that a window called `title` was mapped, from the start of its program.
class MapWatch {
public:
    MapWatch() : m_connection(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(m_connection)) return;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
        m_bReady = true;
    }
    ~MapWatch() { xcb_disconnect(m_connection); }

    bool Ready() const { return m_bReady; }

    // Seconds from `start` to the MapNotify of the first top-level window named `title`.
    double SecondsToMapped(const std::string& title, Clock::time_point start, bool& ok)
    {
        const auto giveUp = start + std::chrono::seconds(20);
        while (Clock::now() < giveUp) {
            std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(xcb_poll_for_event(m_connection),
                                                                             &std::free);
            if (!event) {
                ::usleep(200);
                continue;
            }
            if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY) continue;
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event.get());
            const auto at = Clock::now();
            if (Name(map->window) == title) return std::chrono::duration<double>(at - start).count();
        }
        ok = false;
        return 0;
    }

private:
    std::string Name(xcb_window_t window)
    {
        const xcb_get_property_cookie_t cookie =
            xcb_get_property(m_connection, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 64);
        std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
            xcb_get_property_reply(m_connection, cookie, nullptr), &std::free);
        if (!reply) return {};
        return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                           static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
    }

    xcb_connection_t* m_connection;
    xcb_window_t m_root = 0;
    bool m_bReady = false;
};

double TimeToMapped(MapWatch& watch, const std::vector<std::string>& argv, const std::string& title, bool& ok)
{
    const auto start = Clock::now();
    const pid_t pid = Spawn(argv);
    const double seconds = watch.SecondsToMapped(title, start, ok);
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    return seconds;
}

void BM_DialogMappedAgainstBareDialog(benchmark::State& state)
{
    // One connection for every repetition: an X server with no client left resets, and a
    // connection made while it does fails (Xvfb as xvfb-run starts it).
    static MapWatch watch;
    if (!watch.Ready()) {
        state.SkipWithError("needs an X display (run it under xvfb-run)");
        return;
    }
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    ::setenv("XDG_CONFIG_HOME", "/nonexistent", 1);  // no holiday files of whoever runs it
    for (auto _ : state) {
        std::vector<double> dialog, bare;
        bool ok = true;
        for (int i = 0; i < kRuns; ++i) {
            dialog.push_back(TimeToMapped(watch, {DORVANE_APP_PATH}, "Dorvane", ok));
            bare.push_back(TimeToMapped(watch, {DORVANE_BARE_DIALOG_PATH}, "Bare", ok));
        }
        if (!ok) {
            state.SkipWithError("a window was never mapped");
            return;
        }
        state.SetIterationTime(Median(dialog));
        state.counters["bare_ms"] = Median(bare) * 1000;
        state.counters["x"] = Median(dialog) / Median(bare);
    }
}
BENCHMARK(BM_DialogMappedAgainstBareDialog)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
#endif

}  // namespace
