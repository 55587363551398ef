#include "cli/fleet_console.h"

#include <cstdio>

#include "base/printable_text.h"

CFleetConsole::CFleetConsole(const std::vector<std::string>& names)
{
    for (const std::string& name : names) m_terminals.push_back({PrintableText(name) + ": ", {}});
}

void CFleetConsole::OnOutput(std::size_t child, bool standardError, std::string_view bytes)
{
    std::string& pending = m_terminals[child].pending[standardError ? 1 : 0];
    pending.append(bytes);
    std::size_t start = 0;
    for (std::size_t end; (end = pending.find('\n', start)) != std::string::npos; start = end + 1) {
        WriteLine(child, standardError, std::string_view(pending).substr(start, end - start));
    }
    pending.erase(0, start);
}

void CFleetConsole::Flush()
{
    for (std::size_t child = 0; child < m_terminals.size(); ++child) {
        for (int stream = 0; stream < 2; ++stream) {
            std::string& pending = m_terminals[child].pending[stream];
            if (!pending.empty()) WriteLine(child, stream == 1, pending);
            pending.clear();
        }
    }
}

void CFleetConsole::WriteLine(std::size_t child, bool standardError, std::string_view line)
{
    // One write per line, so that the lines of different terminals never mix within a line.
    const std::string whole = m_terminals[child].prefix + PrintableText(line) + "\n";
    std::FILE* stream = standardError ? stderr : stdout;
    std::fwrite(whole.data(), 1, whole.size(), stream);
    std::fflush(stream);
}
