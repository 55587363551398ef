#include "cli/upload_verification.h"

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "cli/terminal_session.h"
#include "date/holidays.h"
#include "protocol/holiday_upload.h"
#include "protocol/protocol.h"

namespace {

// The upload list's days as MMDD, the ZEFA-102 end record left out.
std::set<int> SentDays()
{
    std::set<int> days;
    for (int i = 0; i < g_nSendCount; ++i) {
        if (!g_sendList[i].IsEndRecord()) days.insert(g_sendList[i].month * 100 + g_sendList[i].day);
    }
    return days;
}

// In calendar order; days no calendar has (30 February) count too, as a read reply marks them.
std::vector<HeldDayDifference> CompareHeldDays(const std::set<int>& sent, const int (&marks)[13][32], int year)
{
    std::vector<HeldDayDifference> differences;
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= 31; ++day) {
            const bool wasSent = sent.count(month * 100 + day) > 0;
            if (wasSent == (marks[month][day] == 1)) continue;
            char date[32];  // room for any int, as the compiler checks
            std::snprintf(date, sizeof date, "%04d-%02d-%02d", year, month, day);
            differences.push_back({wasSent, date});
        }
    }
    return differences;
}

}  // namespace

ExitStatus VerifyUpload(CTerminalSession& session, int model, int year, std::vector<HeldDayDifference>& differences)
{
    const std::set<int> sent = SentDays();
    const ExitStatus status = session.Exchange(CExchangeStep::STEP_READ, [&] { OnDataRead(session, model, year); });
    if (status != EXIT_OK) return status;
    differences = CompareHeldDays(sent, g_holidaySettings.marks, year);
    int missing = 0;
    for (const HeldDayDifference& difference : differences) {
        session.WriteConsole((difference.missing ? MISSING_LINE : EXTRA_LINE) + difference.date + "\n");
        if (difference.missing) ++missing;
    }
    if (differences.empty()) {
        const std::string count = std::to_string(sent.size());
        session.WriteConsole("검증 완료: 보낸 휴일 " + count + " 일을 단말기가 그대로 가지고 있습니다 / verified: " +
                             "the terminal holds the " + count + " holidays sent\n");
        return EXIT_OK;
    }
    const std::string m = std::to_string(missing);
    const std::string e = std::to_string(differences.size() - missing);
    return session.Fail(EXIT_NOT_VERIFIED,
                        {"단말기의 휴일이 보낸 것과 다릅니다 (빠진 날 " + m + ", 더 있는 날 " + e + ")",
                         "the terminal's holidays differ from those sent (" + m + " missing, " + e + " extra)"});
}
