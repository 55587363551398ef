#include "cli/ports_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <string_view>

namespace {

// CR too: a list written on Windows ends its lines with CR LF.
constexpr const char* kBlanks = " \t\r";
// Ten thousand terminals take some 400 KiB; more than this is no list of terminals.
constexpr std::size_t kFileMax = 16 * 1024 * 1024;

std::vector<std::string> Words(std::string_view text)
{
    std::vector<std::string> words;
    for (std::size_t start = text.find_first_not_of(kBlanks); start != std::string::npos;) {
        const std::size_t end = text.find_first_of(kBlanks, start);
        words.emplace_back(text.substr(start, end - start));
        start = text.find_first_not_of(kBlanks, end);
    }
    return words;
}

OperatorMessage SystemReason()
{
    const std::string reason = std::strerror(errno);
    return {reason, reason};
}

}  // namespace

bool ReadPortsFile(const std::string& path, std::vector<PortsFileEntry>& entries, OperatorMessage& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = SystemReason();
        return false;
    }
    std::string text;
    char chunk[64 * 1024];
    while (text.size() <= kFileMax && file.read(chunk, sizeof chunk).gcount() > 0) {
        text.append(chunk, static_cast<std::size_t>(file.gcount()));
    }
    if (file.bad()) {
        error = SystemReason();
        return false;
    }
    if (text.size() > kFileMax) {
        error = {"파일이 16 MiB 보다 큽니다", "the file is larger than 16 MiB"};
        return false;
    }
    const std::string_view all(text);
    int line = 1;
    for (std::size_t start = 0; start < all.size(); ++line) {
        const std::size_t end = std::min(all.find('\n', start), all.size());
        std::string_view content = all.substr(start, end - start);
        content = content.substr(0, content.find('#'));
        if (std::vector<std::string> words = Words(content); !words.empty())
            entries.push_back({line, std::move(words)});
        start = end + 1;
    }
    return true;
}
