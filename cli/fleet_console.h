// A fleet's console: every line a terminal's run prints, behind that terminal's name
// ("COM33: [RX]=>(2)OK"), on the stream the run printed it to, with anything that could act on a
// screen escaped (base/printable_text.h).
#pragma once

#include <string>
#include <vector>

#include "cli/child_processes.h"

class CFleetConsole : public ChildOutput {
public:
    // One name per child, in the order of the argument lists.
    explicit CFleetConsole(const std::vector<std::string>& names);

    void OnOutput(std::size_t child, bool standardError, std::string_view bytes) override;
    // Writes the unfinished lines that are left, as whole lines.
    void Flush();

private:
    std::string Line(std::size_t child, std::string_view line) const;
    void Write(bool standardError, const std::string& lines);

    struct Terminal {
        std::string prefix;
        std::string pending[2];  // stdout, stderr: a line not ended yet
    };
    std::vector<Terminal> m_terminals;
};
