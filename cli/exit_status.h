// Exit statuses of dorvane-cli; scripts rely on them.
#pragma once

enum ExitStatus {
    EXIT_OK = 0,
    EXIT_INVALID_ARGUMENT = 2,
    EXIT_PORT_UNAVAILABLE = 3,
    EXIT_NO_REPLY = 4,  // the reply that moves the exchange on did not come within the time-out
    EXIT_PORT_LOST = 5,
    EXIT_NOT_VERIFIED = 6,  // send --verify: the terminal does not hold what was sent
    // --report: the run ended, but its report could not be written; the highest status stands.
    EXIT_REPORT_NOT_WRITTEN = 7,
    // A run of a fleet's terminal that could not be started, as shells say of such a command.
    EXIT_NOT_STARTED = 127,
    // A signal ended the run; the process exits with 128 + the signal's number, as shells expect.
    EXIT_INTERRUPTED = 128,
};
