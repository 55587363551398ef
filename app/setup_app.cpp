#include "app/setup_app.h"

#include <cstdio>
#include <optional>
#include <string>

#include "app/setup_dlg.h"
#include "protocol/terminal_model.h"
#include "sim/terminal_simulator.h"

CSetupApp theApp;

namespace {

constexpr int EXIT_USAGE = 2;

void PrintUsage(std::FILE* out)
{
    std::fputs(
        "사용법: dorvane [--simulate ZEFA-101|ZEFA-102]\n"
        "usage: dorvane [--simulate ZEFA-101|ZEFA-102]\n"
        "\n"
        "  --simulate MODEL   a simulated terminal of that model on a pseudo-terminal,\n"
        "                     listed as a port and selected\n",
        out);
}

int Fail(const std::string& korean, const std::string& english)
{
    std::fprintf(stderr, "dorvane: %s / %s\n", korean.c_str(), english.c_str());
    return EXIT_USAGE;
}

}  // namespace

int CSetupApp::InitInstance(int argc, char** argv)
{
    int simulated = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            PrintUsage(stdout);
            return 0;
        }
        if (option != "--simulate" || i + 1 >= argc) {
            PrintUsage(stderr);
            return Fail("알 수 없거나 값이 없는 옵션입니다: " + option, "unknown option or missing value: " + option);
        }
        simulated = ParseModelName(argv[++i]);
        if (simulated < 0) {
            return Fail(std::string("모델은 ZEFA-101 또는 ZEFA-102입니다: ") + argv[i],
                        std::string("the model is ZEFA-101 or ZEFA-102: ") + argv[i]);
        }
    }

    // Declared first so that it outlives the dialog and its open port.
    std::optional<CTerminalSimulator> simulator;
    int port = 0;
    if (simulated >= 0) {
        simulator.emplace(simulated);
        std::string error;
        if (!simulator->Start(error)) {
            std::fprintf(stderr, "dorvane: 단말기 시뮬레이터를 시작할 수 없습니다 / cannot start the simulator: %s\n",
                         error.c_str());
            return 1;
        }
        port = simulator->RegisterPort();
    }

    CSetupDlg dlg;
    if (port > 0) dlg.PresetPort(port, simulated);
    dlg.DoModal();  // how it ended makes no difference
    return 0;
}
