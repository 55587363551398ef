// The terminals a run is given: each --port, then each line of each --ports-file, each with the
// model it is. One terminal given twice, under whatever names, would run two sessions on one line,
// so it is refused.
#pragma once

#include <string>
#include <vector>

#include "base/operator_message.h"

struct GivenPort {
    std::string port;  // as --port takes it: "COMn", a device path, a network address, or "COMn=" either
    int model = -1;    // its line's model, else --model's; -1 when neither names one
};

// `portOptions` and the lines of `files`, in that order, into `ports`. A line's model follows its
// port ("tcp://branch3-terminal:4001 ZEFA-101"); a line without one takes `defaultModel`, and
// when that is -1 too and `modelNeeded`, the line is refused. Every refusal names the file and
// line it comes from. The work is linear in the number of ports.
bool CollectPorts(const std::vector<std::string>& portOptions, const std::vector<std::string>& files, int defaultModel,
                  bool modelNeeded, std::vector<GivenPort>& ports, OperatorMessage& error);

// The name a port goes by in a fleet's lines: "COMn" of "COMn=PATH" or "COMn=URL", else the
// text as given.
std::string PortDisplayName(const std::string& port);
