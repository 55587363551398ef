// Windows has no pseudo-terminal for the simulator, and Debian builds neither gensio (network
// ports) nor libical (holiday files) for it, and --report is written through POSIX files. Each of
// them is refused where it is given (sim/, comm/network_none.cpp, cli/*_win32.cpp). Windows
// opens a port by its name, so a COMn is all a port is here. There are no signals either, but
// Ctrl+C and Ctrl+Break (cli/interrupts_win32.cpp).
#include "cli/cli_platform.h"

const CliPlatform CLI_PLATFORM = {
    .simulator = false,
    .networkPorts = false,
    .holidayFiles = false,
    .report = false,
    .portValue = "COMn",
    .portDescription = "port to use; repeated: a fleet",
    .terminalGroup = "Commands for the terminal (need --port and --model)",
    .exitStatus =
        "Exit status: 0 success, 2 invalid argument (nothing sent), 3 port cannot be opened,\n"
        "4 no reply within the timeout, 5 the port went away during the exchange, 6 the terminal\n"
        "does not hold what was sent (--verify), 127 a fleet's terminal run could not start,\n"
        "130 after Ctrl+C, 143 after Ctrl+Break or the console window's closing.\n"
        "A fleet exits with its terminals' highest.",
    .notHere =
        "\n\nNot in the Windows build, and refused when given: --simulate (it needs a pseudo-terminal),\n"
        "network ports (URLs, --ca), holiday files (--import, --format ics|json), --report.",
    .noPort = {"--port 를 지정해야 합니다", "give --port"},
};
