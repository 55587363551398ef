#include "protocol/console.h"

#include <cstdio>

#include "comm/framing.h"

std::string ShowControlBytes(std::string_view text)
{
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            shown += c;
            continue;
        }
        switch (c) {
        case STX: shown += "<STX>"; break;
        case ETX: shown += "<ETX>"; break;
        case CR: shown += "<CR>"; break;
        case LF: shown += "<LF>"; break;
        default: {
            char code[8];
            std::snprintf(code, sizeof code, "<%02X>", byte);
            shown += code;
        }
        }
    }
    return shown;
}
