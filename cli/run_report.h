// --report FILE: what came of every terminal of a run as one JSON document, for whatever watches
// scheduled runs. A single terminal's run writes a fleet of one, so that a reader meets one shape.
// The document replaces FILE whole, or FILE stays as it was: no reader meets half a report.
//
//   {"start": "2026-12-01T04:30:00+09:00", "end": "2026-12-01T04:30:41+09:00", "exitStatus": 4,
//    "terminals": [{"port": "tcp://branch3-terminal:4001", "model": "ZEFA-101", "command": "send",
//                   "year": 2026, "exitStatus": 0, "message": null, "holidaysSent": 68,
//                   "differences": {"missing": [], "extra": []}, "seconds": 3.912}, ...]}
//
// "year" is there for read, delete and send; "holidaysSent" for send; "differences" for
// send --verify where the terminal was read back (both empty: verified). "message" is null when
// the terminal's run succeeded.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/run_result.h"

class CRunReport {
public:
    // The run starts now; `request` says where the report goes, if anywhere, and what ran.
    explicit CRunReport(const CliRequest& request);
    ~CRunReport();  // removes a temporary file never put in place
    CRunReport(const CRunReport&) = delete;
    CRunReport& operator=(const CRunReport&) = delete;

    // Before anything is sent: makes the report's temporary file beside FILE, so that a folder
    // that cannot take it refuses the run rather than its end. True when there is no --report.
    bool Open(OperatorMessage& error);
    // One terminal's run, in the order of the ports.
    void Add(const std::string& port, int model, const TerminalRunResult& result, double seconds);
    // The run has ended with `exitStatus`: writes the document and puts it in place of FILE.
    // True when there is no --report.
    bool Commit(int exitStatus, OperatorMessage& error);

private:
    struct Terminal {
        std::string port;
        int model;
        TerminalRunResult result;
        double seconds;
    };

    const CliRequest& m_request;
    const std::chrono::system_clock::time_point m_start;
    std::vector<Terminal> m_terminals;
    std::string m_temporaryPath;  // empty until Open made it, and again once it is in place
    int m_fd = -1;
};
