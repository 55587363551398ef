#include "cli/ports_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace {

// CR too: a list written on Windows ends its lines with CR LF.
constexpr const char* kBlanks = " \t\r";

}  // namespace

bool ReadPortsFile(const std::string& path, std::vector<PortsFileEntry>& entries, std::string& error)
{
    std::ifstream file(path);
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    std::string text;
    for (int line = 1; std::getline(file, text); ++line) {
        text.erase(std::min(text.find('#'), text.size()));
        const std::size_t first = text.find_first_not_of(kBlanks);
        if (first == std::string::npos) continue;
        entries.push_back({line, text.substr(first, text.find_last_not_of(kBlanks) + 1 - first)});
    }
    if (file.bad()) {
        error = std::strerror(errno);
        return false;
    }
    return true;
}
