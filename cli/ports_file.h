// --ports-file: the terminals of a fleet, one a line, as a site keeps them beside its scripts:
//   COM33                                # front desk
//   tcp://branch3-terminal:4001 ZEFA-101
#pragma once

#include <string>
#include <vector>

#include "base/operator_message.h"

struct PortsFileEntry {
    int line;                        // 1-based, for the message that refuses it
    std::vector<std::string> words;  // the port as --port takes it, then what follows it: its model
};

// The lines of `path` that hold a port: '#' starts a comment, blanks (spaces, tabs) part the
// words, lines without a word are skipped. False with the reason when the file cannot be read,
// or is larger than any list of terminals (it may be a device that never ends).
bool ReadPortsFile(const std::string& path, std::vector<PortsFileEntry>& entries, OperatorMessage& error);
