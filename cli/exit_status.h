// Exit statuses of dorvane-cli; scripts rely on them.
#pragma once

enum ExitStatus {
    EXIT_OK = 0,
    EXIT_INVALID_ARGUMENT = 2,
    EXIT_PORT_UNAVAILABLE = 3,
    EXIT_NO_REPLY = 4,
    EXIT_PORT_LOST = 5,
};
