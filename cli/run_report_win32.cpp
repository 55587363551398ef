// The report is JSON through nlohmann-json, which the mingw-w64 build has not: --report is
// refused there before anything is sent, so nothing is ever added or written.
#include "cli/run_report.h"

CRunReport::CRunReport(const CliRequest& request) : m_request(request), m_start(std::chrono::system_clock::now()) {}

CRunReport::~CRunReport() = default;

bool CRunReport::Open(OperatorMessage& error)
{
    if (m_request.reportPath.empty()) return true;
    error = {"Windows 에서는 --report 를 쓸 수 없습니다", "--report is not available on Windows"};
    return false;
}

void CRunReport::Add(const std::string& /*port*/, int /*model*/, const TerminalRunResult& /*result*/,
                     double /*seconds*/)
{}

bool CRunReport::Commit(int /*exitStatus*/, OperatorMessage& /*error*/)
{
    return true;
}
