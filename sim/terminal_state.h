// What a lending terminal keeps and how it answers one command frame; no I/O.
#pragma once

#include <map>
#include <set>
#include <string>

#include "protocol/terminal_model.h"

struct TerminalClock {
    int year = 0;  // full year
    int month = 0, day = 0, weekday = 0, hour = 0, minute = 0, second = 0;
};

class CTerminalState {
public:
    // The clock starts at `clock`; ZEFA-101 frames carry no year and use the clock's.
    CTerminalState(int model, const TerminalClock& clock);

    // The reply to one received frame: `frame` is its text without delimiters (ZEFA-101 frames
    // begin with '#'). "OK" for E, T, D, C, W, L; the holiday list for R; "NG" for anything
    // malformed or unknown.
    std::string Handle(const std::string& frame);

    int Model() const { return m_nModel; }
    bool Connected() const { return m_bConnected; }
    // The tool opened or closed the port: a ZEFA-101 waits for a new connect.
    void Disconnect() { m_bConnected = false; }
    const TerminalClock& Clock() const { return m_clock; }
    // MMDD numbers stored for the year, in order.
    std::set<int> Holidays(int year) const;
    const std::string& Weekdays() const { return m_strWeekdays; }
    int LoanPeriod1() const { return m_nLoan1; }
    int LoanPeriod2() const { return m_nLoan2; }

private:
    std::string ReadReply(int year) const;

    int m_nModel;
    bool m_bConnected = false;
    TerminalClock m_clock;
    std::map<int, std::set<int>> m_holidays;  // year -> MMDD
    std::string m_strWeekdays;
    int m_nLoan1 = 0;
    int m_nLoan2 = 0;
};

// The ZEFA-101 answer to R on the wire: CR LF lines that a line framer in long-reply mode joins
// into `text` again (every line but the last keeps the total under LONG_REPLY_MIN_LEN).
std::string SplitReadReplyLines(const std::string& text);
