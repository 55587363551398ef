// What a fleet's process layer keeps of each child, the same on every platform: each
// child_processes_*.cpp starts, watches and ends its children in the system's own way and notes
// here what became of them; RunChildren's runs are made of it.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "cli/child_processes.h"

class ChildRecord {
public:
    // It is being started now.
    void Start();
    // Bytes it reported on its result channel. A result is a few hundred bytes (a year's
    // differences some ten thousand); what would make it more than 64 KiB is dropped.
    void AddResult(std::string_view bytes);
    // It ended with `status`.
    void End(int status);
    // It could not start, for `reason`: said on its stderr, behind its port as its lines are.
    void FailToStart(std::size_t child, const std::string& reason, ChildOutput& output);
    // `signal` came before its turn.
    void KeepFromStarting(int signal);

    ChildRun Run() const;

private:
    int m_status = EXIT_NOT_STARTED;
    std::string m_result;
    std::optional<OperatorMessage> m_unstarted;  // why it never ran
    std::chrono::steady_clock::time_point m_started;
    double m_seconds = 0;
};
