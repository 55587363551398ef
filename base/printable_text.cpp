#include "base/printable_text.h"

#include <cstdio>

namespace {

void AppendEscaped(std::string& out, unsigned char byte)
{
    switch (byte) {
    case 0x02: out += "<STX>"; return;
    case 0x03: out += "<ETX>"; return;
    case 0x0D: out += "<CR>"; return;
    case 0x0A: out += "<LF>"; return;
    default: {
        char code[5];
        std::snprintf(code, sizeof code, "\\x%02X", byte);
        out += code;
    }
    }
}

// The length of the well-formed UTF-8 sequence that starts `text`, or 0 (RFC 3629: no overlong
// forms, no surrogates, nothing above U+10FFFF).
std::size_t Utf8Length(std::string_view text)
{
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = at(0);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length || at(1) < low || at(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (at(i) < 0x80 || at(i) > 0xBF) return 0;
    }
    // U+0080..U+009F are the C1 controls: CSI (U+009B) alone starts an escape sequence.
    if (lead == 0xC2 && at(1) < 0xA0) return 0;
    return length;
}

}  // namespace

std::string PrintableText(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    while (!bytes.empty()) {
        const unsigned char byte = static_cast<unsigned char>(bytes[0]);
        std::size_t taken = 1;
        if (byte >= 0x20 && byte < 0x7F) {
            out += bytes[0];
        } else if (const std::size_t length = byte >= 0x80 ? Utf8Length(bytes) : 0; length > 0) {
            out.append(bytes.substr(0, length));
            taken = length;
        } else {
            AppendEscaped(out, byte);
        }
        bytes.remove_prefix(taken);
    }
    return out;
}

std::string PrintableLine(std::string_view line)
{
    const bool ended = !line.empty() && line.back() == '\n';
    if (ended) line.remove_suffix(1);
    return PrintableText(line) + (ended ? "\n" : "");
}
