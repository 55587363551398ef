// Exit statuses of dorvane-cli; scripts rely on them.
#pragma once

enum ExitStatus {
    EXIT_OK = 0,
    EXIT_INVALID_ARGUMENT = 2,
};
