// A fleet needs a process per terminal with its output piped back; on Windows that is not built,
// so several ports are refused before anything is opened or sent.
#include "cli/child_processes.h"

bool RunChildren(const std::vector<std::vector<std::string>>& /*argLists*/, int /*jobs*/, ChildOutput& /*output*/,
                 std::vector<ChildRun>& /*runs*/, OperatorMessage& error)
{
    error = {"Windows 에서는 여러 포트를 한 번에 쓸 수 없습니다: 포트마다 따로 실행하십시오",
             "several ports at once are not available on Windows: run once per port"};
    return false;
}

// No fleet runs here (above), so no run has one to report to.
void ReportToFleet(int /*fd*/, const TerminalRunResult& /*result*/) {}
