// What dorvane-cli does on the platform it was built for, as its help and messages say it: the
// help lists only what works here. An option this build refuses is still taken, so that its
// refusal can say why, but left out of the help and named in a paragraph of its own.
#pragma once

#include "base/operator_message.h"

struct CliPlatform {
    bool simulator;               // --simulate
    bool networkPorts;            // URLs as ports, --ca
    bool holidayFiles;            // --import, --format ics|json
    bool report;                  // --report
    const char* portValue;        // --port's value in the help
    const char* portDescription;  // --port's line in the help
    const char* terminalGroup;    // the heading of the commands that talk to a terminal
    const char* exitStatus;       // the help's paragraph of exit statuses
    const char* notHere;          // the help's paragraph of what this build refuses; empty: nothing
    OperatorMessage noPort;       // a terminal command given no terminal
};

extern const CliPlatform CLI_PLATFORM;
