#include <cstdio>

#include "base/console_text.h"

// Linux terminals take UTF-8 as it is.
void WriteText(std::FILE* stream, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}
