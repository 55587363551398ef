#include "cli/fleet_console.h"

#include <cstdio>

#include "base/console_text.h"
#include "base/printable_text.h"

CFleetConsole::CFleetConsole(const std::vector<std::string>& names)
{
    for (const std::string& name : names) m_terminals.push_back({PrintableText(name) + ": ", {}});
}

void CFleetConsole::OnOutput(std::size_t child, bool standardError, std::string_view bytes)
{
    std::string& pending = m_terminals[child].pending[standardError ? 1 : 0];
    pending.append(bytes);
    std::string lines;
    std::size_t start = 0;
    for (std::size_t end; (end = pending.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string_view line = std::string_view(pending).substr(start, end - start);
        // A run's C runtime on Windows ends its lines to a pipe with CR LF; a CR of the terminal's
        // own the run has shown as <CR>.
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines += Line(child, line);
    }
    pending.erase(0, start);
    Write(standardError, lines);
}

void CFleetConsole::Flush()
{
    for (std::size_t child = 0; child < m_terminals.size(); ++child) {
        for (int stream = 0; stream < 2; ++stream) {
            std::string& pending = m_terminals[child].pending[stream];
            if (!pending.empty()) Write(stream == 1, Line(child, pending));
            pending.clear();
        }
    }
}

std::string CFleetConsole::Line(std::size_t child, std::string_view line) const
{
    return m_terminals[child].prefix + PrintableText(line) + "\n";
}

void CFleetConsole::Write(bool standardError, const std::string& lines)
{
    // Whole lines only, flushed at once, so that the lines of different terminals, and of standard
    // output and error on one screen, never mix within a line. A terminal's lines that came
    // together go out together: a fleet of hundreds would spend its time in a write per line.
    if (lines.empty()) return;
    WriteText(standardError ? stderr : stdout, lines);
}
