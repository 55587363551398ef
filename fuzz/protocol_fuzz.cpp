// Any bytes as a reply: the read-reply parser and the reply handler must not crash, must not
// write beside the mark table and must leave row 0 and column 0 of it untouched.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "date/holidays.h"
#include "protocol/protocol.h"
#include "protocol/read_reply.h"
#include "protocol/terminal_model.h"
#include "tests/support/fake_host.h"

namespace {

struct Guarded {
    int before[32];
    int marks[13][32];
    int after[32];
};

void CheckRowAndColumnZero(const int (&marks)[13][32])
{
    for (int d = 0; d < 32; ++d) {
        if (marks[0][d] != 0) std::abort();
    }
    for (int m = 0; m < 13; ++m) {
        if (marks[m][0] != 0) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    // First byte: model, read outstanding, pending exchange; the rest is the reply text.
    const int model = data[0] & 1 ? MODEL_ZEFA102 : MODEL_ZEFA101;
    const int reading = (data[0] >> 1) & 1;
    const int pending = (data[0] >> 2) & 3;
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    Guarded g{};
    std::memset(g.before, 0x5A, sizeof g.before);
    std::memset(g.after, 0x5A, sizeof g.after);
    ParseReadReply(text.c_str(), model, g.marks);
    for (int i = 0; i < 32; ++i) {
        if (g.before[i] != 0x5A5A5A5A || g.after[i] != 0x5A5A5A5A) std::abort();
    }
    CheckRowAndColumnZero(g.marks);

    ResetLink();
    g_holidaySettings = DEFAULT_HOLIDAY_SETTINGS;
    FakeHost host;
    host.longReply = reading;
    if (pending == 1) OnSystemConnect(host, MODEL_ZEFA101);
    if (pending == 2) {
        g_bConnected = 1;
        g_holidaySettings.marks[3][2] = 1;
        OnDataSend(host, model, 2009);
    }
    OnCommFrame(host, model, 2009, text.c_str());
    CheckRowAndColumnZero(g_holidaySettings.marks);
    const HolidaySettings& s = g_holidaySettings;
    if (s.unsetSunday || s.unsetSaturday || s.unsetHoliday || s.biweeklyUse || s.biweeklyOdd ||
        s.biweeklyWeekday != 1) {
        std::abort();
    }
    if (host.longReply != 0 && reading) std::abort();
    return 0;
}
