#include "cli/cli_platform.h"

const CliPlatform CLI_PLATFORM = {
    .simulator = true,
    .networkPorts = true,
    .holidayFiles = true,
    .report = true,
    .portValue = "COMn|/dev/PATH|URL",
    .portDescription = "port to use; COMn=/dev/PATH or COMn=URL also maps COMn to it; repeated: a fleet",
    .terminalGroup = "Commands for the terminal (need --port and --model, or --simulate)",
    .exitStatus =
        "Exit status: 0 success, 2 invalid argument (nothing sent), 3 port cannot be opened,\n"
        "4 no reply within the timeout, 5 the port went away during the exchange, 6 the terminal\n"
        "does not hold what was sent (--verify), 7 the --report file could not be written,\n"
        "127 a fleet's terminal run could not start, 130, 143, 141 after SIGINT, SIGTERM, SIGPIPE.\n"
        "A fleet exits with its terminals' highest.",
    .notHere = "",
    .noPort = {"--port 또는 --simulate 를 지정해야 합니다", "give --port or --simulate"},
};
