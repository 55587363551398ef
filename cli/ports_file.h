// --ports-file: the ports of a fleet, one a line, as a site keeps them beside its scripts.
#pragma once

#include <string>
#include <vector>

struct PortsFileEntry {
    int line;          // 1-based, for the message that refuses it
    std::string port;  // as --port takes it
};

// The ports of `path`: '#' starts a comment, blanks around a port are dropped, empty lines are
// skipped. False with the system's reason when the file cannot be read.
bool ReadPortsFile(const std::string& path, std::vector<PortsFileEntry>& entries, std::string& error);
