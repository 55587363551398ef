// Runs a program to its end and collects what it printed.
#pragma once

#include <string>
#include <vector>

struct ProcessResult {
    int exitStatus = -1;  // -1 when it did not exit normally
    std::string out;
    std::string err;
};

ProcessResult RunProcess(const std::vector<std::string>& argv);
