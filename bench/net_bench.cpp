// A year's upload to a ZEFA-102 over the network against the same upload on a direct
// pseudo-terminal: the simulated terminal behind Debian's ser2net on loopback (raw TCP, RFC 2217,
// RFC 2217 in TLS), the tool writing each holiday frame and waiting for its "OK" as the dialog
// does. The argument is the terminal's line speed: its answers paced at 9600 baud as on the real
// line, or 0 for at once, which leaves nothing but the two paths' own cost.
#include <benchmark/benchmark.h>
#include <optional>
#include <string>
#include <vector>

#include "comm/comm.h"
#include "ports/port_map.h"
#include "comm/terminal_link.h"
#include "comm/trusted_certificates.h"
#include "protocol/frames.h"
#include "protocol/holiday_upload.h"
#include "protocol/terminal_model.h"
#include "sim/terminal_simulator.h"
#include "tests/support/comm_owners.h"
#include "tests/support/null_listing.h"
#include "tests/support/ser2net_server.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_certificates.h"

namespace {

enum class Route { Pty, Tcp, Rfc2217, Rfc2217Tls };

// The frames of 2027's upload at the start settings: Sundays and national holidays, then the end.
std::vector<std::string> YearFrames()
{
    NullListing listing;
    BuildSendList(2027, MODEL_ZEFA102, listing);
    std::vector<std::string> frames;
    for (int i = 0; i < g_nSendCount; ++i) frames.push_back(FrameHoliday(MODEL_ZEFA102, g_sendList[i]));
    return frames;
}

void BM_UploadYear(benchmark::State& state, Route route)
{
    CTerminalSimulator sim(MODEL_ZEFA102, {.baudRate = static_cast<int>(state.range(0))});
    std::string error;
    if (!sim.Start(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    int port = sim.RegisterPort();
    const CTempFolder folder("dorvane-net-bench");
    std::optional<CSer2net> ser2net;
    if (route != Route::Pty) {
        TestCertificates certificates;
        OperatorMessage refusal;
        if (route == Route::Rfc2217Tls && (!MakeTestCertificates(folder.Path(), certificates, error) ||
                                           !SetTrustedCertificates(certificates.authority, refusal))) {
            if (error.empty()) error = refusal.english;
            state.SkipWithError(error.c_str());
            return;
        }
        ser2net.emplace(sim.SlavePath());
        const int number = ser2net->AddPort({.rfc2217 = route != Route::Tcp,
                                             .tlsKey = certificates.server.key,
                                             .tlsCert = certificates.server.certificate});
        if (!ser2net->Start(error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        const char* scheme = route == Route::Tcp ? "tcp" : route == Route::Rfc2217 ? "rfc2217" : "rfc2217+tls";
        port = g_portMap.Add(std::string(scheme) + "://127.0.0.1:" + std::to_string(number));
    }

    CComm comm;
    QueueOwner owner(comm);  // plays the UI thread: waits for the posted frame, copies it, re-arms
    if (!OpenTerminalLink(comm, owner, port, FRAMING_STX_ETX)) {
        state.SkipWithError("the port did not open");
        return;
    }
    const std::vector<std::string> frames = YearFrames();
    for (auto _ : state) {
        for (const std::string& frame : frames) {
            comm.Write(frame.data(), static_cast<std::uint32_t>(frame.size()));
            if (owner.NextFrame() != "OK") {
                state.SkipWithError("no OK for a holiday frame");
                break;
            }
        }
    }
    state.counters["frames"] = static_cast<double>(frames.size());
    comm.Shutdown();
    OperatorMessage unused;
    SetTrustedCertificates("", unused);
}

// Paced uploads take about a third of a second each: a few make a steady median.
#define UPLOAD_YEAR(name, route)                                                                         \
    BENCHMARK_CAPTURE(BM_UploadYear, name, route)->Arg(0)->UseRealTime()->Unit(benchmark::kMillisecond); \
    BENCHMARK_CAPTURE(BM_UploadYear, name, route)                                                        \
        ->Arg(9600)                                                                                      \
        ->Iterations(3)                                                                                  \
        ->UseRealTime()                                                                                  \
        ->Unit(benchmark::kMillisecond)

UPLOAD_YEAR(direct_pty, Route::Pty);
UPLOAD_YEAR(ser2net_tcp, Route::Tcp);
UPLOAD_YEAR(ser2net_rfc2217, Route::Rfc2217);
UPLOAD_YEAR(ser2net_rfc2217_tls, Route::Rfc2217Tls);

}  // namespace
