// Text for the operator on standard output or error. Dorvane's text is UTF-8 everywhere; a Windows
// console is written through its own UTF-16 API, so that neither its code page nor the C
// runtime's conversions can garble a Korean line (Wine's console showed 국 as êµ­ through printf);
// files and pipes get the UTF-8 bytes as they are, everywhere.
#pragma once

#include <cstdio>
#include <string_view>

// Writes `text` to `stream` (stdout or stderr) and flushes it.
void WriteText(std::FILE* stream, std::string_view text);
