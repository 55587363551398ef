// Windows test program, run under Wine by wine_cli_test: opens COMn and closes it again and
// again while its reader waits, closing at a different moment of the reader's loop each time.
// A Close that has not returned after 10 s ends the run with exit 1: its reader never woke.
//
//   comm_open_close_cycles PORT CYCLES
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <thread>

#include "comm/comm.h"
#include "comm/terminal_link.h"
#include "tests/support/comm_owners.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: comm_open_close_cycles PORT CYCLES\n");
        return 2;
    }
    const int port = std::atoi(argv[1]);
    const int cycles = std::atoi(argv[2]);
    CComm comm;
    InlineOwner owner(comm);
    owner.keepFrames = false;
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        if (!OpenTerminalLink(comm, owner, port, FRAMING_LINES)) {
            std::fprintf(stderr, "cycle %d: COM%d did not open\n", cycle, port);
            return 1;
        }
        // 0 to 4 ms: before the reader's first wait, as it begins, and while it waits.
        std::this_thread::sleep_for(std::chrono::milliseconds(cycle % 5));
        auto closed = std::async(std::launch::async, [&comm] { comm.Close(); });
        if (closed.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            std::fprintf(stderr, "cycle %d: Close did not return within 10 s\n", cycle);
            std::fflush(stderr);
            std::_Exit(1);  // a hung join cannot be undone
        }
    }
    std::printf("%d open/close cycles, none hung\n", cycles);
    return 0;
}
