#include "cli/child_record.h"

#include "cli/interrupts.h"

namespace {

constexpr std::size_t kResultMax = 64 * 1024;

}  // namespace

void ChildRecord::Start()
{
    m_started = std::chrono::steady_clock::now();
}

void ChildRecord::AddResult(std::string_view bytes)
{
    if (m_result.size() + bytes.size() <= kResultMax) m_result.append(bytes);
}

void ChildRecord::End(int status)
{
    m_status = status;
    m_seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - m_started).count();
}

void ChildRecord::FailToStart(std::size_t child, const std::string& reason, ChildOutput& output)
{
    m_unstarted = OperatorMessage{"실행할 수 없습니다: " + reason, "could not start: " + reason};
    output.OnOutput(child, true, "dorvane-cli: " + m_unstarted->korean + " / " + m_unstarted->english + "\n");
}

void ChildRecord::KeepFromStarting(int signal)
{
    const std::string name = SignalName(signal);
    m_status = EXIT_INTERRUPTED + signal;
    m_unstarted = OperatorMessage{name + " 신호를 받아 시작하지 않았습니다", "not started: interrupted by " + name};
}

ChildRun ChildRecord::Run() const
{
    if (!m_unstarted) return {m_status, ParseRunResult(m_result), m_seconds};
    TerminalRunResult why;
    why.exitStatus = m_status;
    why.message = *m_unstarted;
    return {m_status, why, 0};
}
