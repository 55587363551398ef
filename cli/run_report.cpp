// The report is written to a temporary file beside FILE and renamed over it: a rename within one
// folder is atomic, so a reader meets the old report or the new, whole.
#include "cli/run_report.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <nlohmann/json.hpp>

#include "cli/exit_status.h"
#include "protocol/terminal_model.h"

namespace {

using Json = nlohmann::ordered_json;  // in the order a person reads it

// ISO 8601 with the offset of local time: "2026-12-01T04:30:00+09:00".
std::string LocalTimestamp(std::chrono::system_clock::time_point when)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    const long offset = std::labs(local.tm_gmtoff) / 60;  // minutes
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02ld:%02ld", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  local.tm_gmtoff < 0 ? '-' : '+', offset / 60, offset % 60);
    return text;
}

OperatorMessage FileFailure(const char* korean, const char* english, const std::string& path, int error)
{
    const std::string reason = std::strerror(error);
    return {std::string(korean) + ": " + path + ": " + reason, std::string(english) + ": " + path + ": " + reason};
}

bool WriteAll(int fd, const std::string& text)
{
    for (std::size_t at = 0; at < text.size();) {
        const ssize_t n = ::write(fd, text.data() + at, text.size() - at);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        at += static_cast<std::size_t>(n);
    }
    return true;
}

Json Dates(const std::vector<HeldDayDifference>& differences, bool missing)
{
    Json dates = Json::array();
    for (const HeldDayDifference& difference : differences) {
        if (difference.missing == missing) dates.push_back(difference.date);
    }
    return dates;
}

}  // namespace

CRunReport::CRunReport(const CliRequest& request) : m_request(request), m_start(std::chrono::system_clock::now()) {}

CRunReport::~CRunReport()
{
    if (m_fd >= 0) ::close(m_fd);
    if (!m_temporaryPath.empty()) ::unlink(m_temporaryPath.c_str());
}

bool CRunReport::Open(OperatorMessage& error)
{
    if (m_request.reportPath.empty()) return true;
    std::string path = m_request.reportPath + ".XXXXXX";
    // Closed on exec: the fleet's runs must not hold it.
    m_fd = ::mkostemp(path.data(), O_CLOEXEC);
    if (m_fd < 0) {
        error =
            FileFailure("보고서 파일을 만들 수 없습니다", "cannot create the report file", m_request.reportPath, errno);
        return false;
    }
    m_temporaryPath = path;
    // mkostemp makes it for its owner alone; a report is shared as any file made here.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(m_fd, 0666 & ~mask);
    return true;
}

void CRunReport::Add(const std::string& port, int model, const TerminalRunResult& result, double seconds)
{
    m_terminals.push_back({port, model, result, seconds});
}

bool CRunReport::Commit(int exitStatus, OperatorMessage& error)
{
    if (m_fd < 0) return true;
    Json terminals = Json::array();
    for (const Terminal& terminal : m_terminals) {
        const TerminalRunResult& result = terminal.result;
        Json entry = {
            {"port", terminal.port}, {"model", ModelName(terminal.model)}, {"command", m_request.commandName}};
        if (result.year != 0) entry["year"] = result.year;
        entry["exitStatus"] = result.exitStatus;
        entry["message"] = nullptr;
        if (!result.message.english.empty()) {
            entry["message"] = {{"korean", result.message.korean}, {"english", result.message.english}};
        }
        if (m_request.command == CliCommand::Send) {
            entry["holidaysSent"] = result.holidaysSent;
            // Only a terminal that was read back has differences to tell, none or some.
            const bool readBack = result.exitStatus == EXIT_OK || result.exitStatus == EXIT_NOT_VERIFIED;
            if (m_request.verify && readBack) {
                entry["differences"] = {{"missing", Dates(result.differences, true)},
                                        {"extra", Dates(result.differences, false)}};
            }
        }
        entry["seconds"] = std::round(terminal.seconds * 1000) / 1000;
        terminals.push_back(std::move(entry));
    }
    const Json report = {{"start", LocalTimestamp(m_start)},
                         {"end", LocalTimestamp(std::chrono::system_clock::now())},
                         {"exitStatus", exitStatus},
                         {"terminals", std::move(terminals)}};
    // A message may quote bytes that are not UTF-8 (a --port text); JSON must be.
    const std::string text = report.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
    const bool written = WriteAll(m_fd, text) && ::fsync(m_fd) == 0;
    int failure = written ? 0 : errno;
    if (::close(m_fd) != 0 && failure == 0) failure = errno;
    m_fd = -1;
    if (failure == 0 && ::rename(m_temporaryPath.c_str(), m_request.reportPath.c_str()) != 0) failure = errno;
    if (failure != 0) {
        error =
            FileFailure("보고서 파일을 쓸 수 없습니다", "cannot write the report file", m_request.reportPath, failure);
        return false;
    }
    m_temporaryPath.clear();
    return true;
}
