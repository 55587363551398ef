// A console is told apart from a file or a pipe by GetConsoleMode, which only a console handle
// answers.
#include <io.h>

#include <algorithm>
#include <string>

#include "base/console_text.h"
#include "base/wide_text.h"
#include "base/windows_api.h"

namespace {

// Older consoles refuse one WriteConsoleW of much more than 64 KiB.
constexpr std::size_t kCharsPerWrite = 8192;

bool IsHighSurrogate(wchar_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

}  // namespace

void WriteText(std::FILE* stream, std::string_view text)
{
    const HANDLE console = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (console == INVALID_HANDLE_VALUE || !GetConsoleMode(console, &mode)) {
        std::fwrite(text.data(), 1, text.size(), stream);
        std::fflush(stream);
        return;
    }
    const std::wstring wide = Widen(std::string(text));
    for (std::size_t at = 0; at < wide.size();) {
        std::size_t count = std::min(wide.size() - at, kCharsPerWrite);
        // A character of two halves goes out whole.
        if (count > 1 && at + count < wide.size() && IsHighSurrogate(wide[at + count - 1])) --count;
        DWORD written = 0;
        if (!WriteConsoleW(console, wide.data() + at, static_cast<DWORD>(count), &written, nullptr) || written == 0) {
            return;  // the console is gone; so is whoever would read it
        }
        at += written;
    }
}
