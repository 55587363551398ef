// What one run of a terminal command came to. A fleet's run hands it to the fleet on a channel of
// its own (child_processes.h), which no text on the run's console, the terminal's included, can
// forge; a report of the run is made of the same fields.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/operator_message.h"

// A day on which the terminal differs from what was sent (send --verify).
struct HeldDayDifference {
    bool missing = false;  // sent but not held; else held but not sent
    std::string date;      // YYYY-MM-DD
};

struct TerminalRunResult {
    int exitStatus = 0;
    OperatorMessage message;                     // why it failed; empty when it did not
    int year = 0;                                // read, delete, send: the year; else 0
    int holidaysSent = 0;                        // send: the holidays the terminal took
    std::vector<HeldDayDifference> differences;  // send --verify: in calendar order
};

// One JSON object (nlohmann-json), and back; none when `json` is not one.
std::string RunResultJson(const TerminalRunResult& result);
std::optional<TerminalRunResult> ParseRunResult(std::string_view json);
