#include "sim/transcript.h"

#include <nlohmann/json.hpp>

#include "protocol/terminal_model.h"

namespace {

// JSON text must be UTF-8; frames are bytes. Latin-1 maps each byte to one code point.
std::string Latin1ToUtf8(const std::string& bytes)
{
    std::string text;
    for (unsigned char c : bytes) {
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return text;
}

}  // namespace

std::string TranscriptLine(int model, const ReceivedFrame& frame)
{
    nlohmann::ordered_json line;
    line["seq"] = frame.seq;
    line["model"] = ModelName(model);
    line["command"] = Latin1ToUtf8(frame.command);
    line["frame"] = Latin1ToUtf8(frame.frame);
    line["reply"] = frame.reply ? nlohmann::ordered_json(Latin1ToUtf8(*frame.reply)) : nullptr;
    return line.dump();
}
