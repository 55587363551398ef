#include "cli/fleet_console.h"

#include <cstdio>

#include "cli/upload_verification.h"

CFleetConsole::CFleetConsole(const std::vector<std::string>& names)
{
    for (const std::string& name : names) m_terminals.push_back({name + ": ", {}, {}});
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
    Terminal& terminal = m_terminals[child];
    // One write per line, so that the lines of different terminals never mix within a line.
    const std::string whole = terminal.prefix + std::string(line) + "\n";
    std::FILE* stream = standardError ? stderr : stdout;
    std::fwrite(whole.data(), 1, whole.size(), stream);
    std::fflush(stream);
    if (standardError) return;
    if (line.starts_with(MISSING_LINE)) {
        terminal.differences.push_back("missing " + std::string(line.substr(std::string_view(MISSING_LINE).size())));
    } else if (line.starts_with(EXTRA_LINE)) {
        terminal.differences.push_back("extra " + std::string(line.substr(std::string_view(EXTRA_LINE).size())));
    }
}
