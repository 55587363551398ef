// A ProtocolHost that records every call, in order, as one readable line each.
#pragma once

#include <string>
#include <vector>

#include "protocol/protocol_host.h"

class FakeHost : public ProtocolHost {
public:
    void WriteFrame(const std::string& frame) override { events.push_back("frame " + Visible(frame)); }
    void WriteConsole(const std::string& line) override { events.push_back("console " + Visible(line, false)); }
    void ShowMessage(const std::string& text) override { events.push_back("message " + text); }
    void SetStatusCaption(const std::string& text) override { events.push_back("status " + text); }
    void SetTotalCaption(const std::string& text) override { events.push_back("total " + text); }
    void Repaint() override { events.push_back("repaint"); }
    int GetLongReply() override { return longReply; }
    void SetLongReply(int value) override
    {
        longReply = value;
        events.push_back("long " + std::to_string(value));
    }
    void RearmFramer() override { events.push_back("rearm"); }
    void DiscardPartialReply() override { events.push_back("discard"); }

    // The events since the last call, and forget them.
    std::vector<std::string> Take()
    {
        std::vector<std::string> taken;
        taken.swap(events);
        return taken;
    }

    // Control bytes spelled out so expectations read like the wire; a console line keeps its "\n".
    static std::string Visible(const std::string& bytes, bool showLF = true)
    {
        std::string out;
        for (char c : bytes) {
            switch (c) {
            case 0x02: out += "<STX>"; break;
            case 0x03: out += "<ETX>"; break;
            case 0x0D: out += "<CR>"; break;
            case 0x0A: out += showLF ? "<LF>" : "\n"; break;
            default: out += c;
            }
        }
        return out;
    }

    std::vector<std::string> events;
    int longReply = 0;
};
