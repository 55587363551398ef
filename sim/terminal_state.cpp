#include "sim/terminal_state.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "comm/framing.h"

namespace {

constexpr std::size_t kLineLength = 32;

// Decimal digits only; -1 otherwise.
int Number(const std::string& text)
{
    if (text.empty() || text.size() > 4) return -1;
    int value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool InRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

// The header the tool skips, as long as it expects: "RD", behind the '#' of a ZEFA-101 line.
std::string ReadReplyHeader(int model)
{
    const std::string header = "#RD";
    return header.substr(header.size() - static_cast<std::size_t>(ReadReplyHeaderLength(model)));
}

}  // namespace

CTerminalState::CTerminalState(int model, const TerminalClock& clock) : m_nModel(model), m_clock(clock) {}

std::set<int> CTerminalState::Holidays(int year) const
{
    const auto it = m_holidays.find(year);
    return it == m_holidays.end() ? std::set<int>() : it->second;
}

std::string CTerminalState::Handle(const std::string& frame)
{
    const bool lines = ModelFraming(m_nModel) == FRAMING_LINES;
    const std::size_t start = lines ? 1 : 0;
    if (frame.size() <= start || (lines && frame[0] != '#')) return "NG";
    const char command = frame[start];
    const std::string fields = frame.substr(start + 1);
    // ZEFA-102 frames lead with the year minus 2000, which widens to three digits from 2100.
    auto year = [&](std::size_t tail) { return 2000 + Number(fields.substr(0, fields.size() - tail)); };

    switch (command) {
    case 'E':
        if (!fields.empty()) return "NG";
        m_bConnected = true;
        return "OK";
    case 'T': {
        const std::size_t tail = lines ? 9 : 11;  // MM DD W hh mi [ss]
        if (fields.size() < tail + 2) return "NG";
        const std::string t = fields.substr(fields.size() - tail);
        TerminalClock clock{year(tail),
                            Number(t.substr(0, 2)),
                            Number(t.substr(2, 2)),
                            Number(t.substr(4, 1)),
                            Number(t.substr(5, 2)),
                            Number(t.substr(7, 2)),
                            lines ? 0 : Number(t.substr(9, 2))};
        if (clock.year < 2000 || !InRange(clock.month, 1, 12) || !InRange(clock.day, 1, 31) ||
            !InRange(clock.weekday, 1, 7) || !InRange(clock.hour, 0, 23) || !InRange(clock.minute, 0, 59) ||
            !InRange(clock.second, 0, 59)) {
            return "NG";
        }
        m_clock = clock;
        return "OK";
    }
    case 'D': {
        if (fields.size() < (lines ? 4u : 6u)) return "NG";
        const int y = lines ? m_clock.year : year(4);
        const int month = Number(fields.substr(fields.size() - 4, 2));
        const int day = Number(fields.substr(fields.size() - 2));
        if (y < 2000 || month < 0 || day < 0) return "NG";
        if (month == 0 && day == 0) return "OK";  // end of the list
        if (!InRange(month, 1, 12) || !InRange(day, 1, 31)) return "NG";
        m_holidays[y].insert(month * 100 + day);
        return "OK";
    }
    case 'C':
    case 'R': {
        if (lines ? !fields.empty() : fields.size() < 2) return "NG";
        const int y = lines ? m_clock.year : year(0);
        if (y < 2000) return "NG";
        if (command == 'R') return ReadReply(y);
        m_holidays.erase(y);
        return "OK";
    }
    case 'W':
        if (lines || fields.empty() || fields.size() > 7) return "NG";
        for (char c : fields) {
            if (c < '1' || c > '7') return "NG";
        }
        m_strWeekdays = fields;
        return "OK";
    case 'L': {
        if (lines || fields.size() != 6) return "NG";
        const int first = Number(fields.substr(0, 3));
        const int second = Number(fields.substr(3));
        if (!InRange(first, 0, 255) || !InRange(second, 0, 250)) return "NG";
        m_nLoan1 = first;
        m_nLoan2 = second;
        return "OK";
    }
    default: return "NG";
    }
}

std::string CTerminalState::ReadReply(int year) const
{
    std::string text = ReadReplyHeader(m_nModel);
    char group[8];
    for (int mmdd : Holidays(year)) {
        std::snprintf(group, sizeof group, "%04d", mmdd);
        text += group;
    }
    // The tool's line framer waits for LONG_REPLY_MIN_LEN characters; groups 0000 fill up and
    // are skipped.
    if (ModelFraming(m_nModel) == FRAMING_LINES) {
        while (text.size() < static_cast<std::size_t>(LONG_REPLY_MIN_LEN)) text += "0000";
    }
    return text;
}

std::string SplitReadReplyLines(const std::string& text)
{
    std::string wire;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t length = std::min(kLineLength, text.size() - at);
        // The line that reaches LONG_REPLY_MIN_LEN ends the reply, so it takes the rest.
        if (at + length >= static_cast<std::size_t>(LONG_REPLY_MIN_LEN)) length = text.size() - at;
        wire += text.substr(at, length) + "\r\n";
        at += length;
    }
    return wire;
}
