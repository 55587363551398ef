#include "tests/support/run_process.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

extern char** environ;

CChildProcess::CChildProcess(const std::vector<std::string>& argv)
{
    int outPipe[2];
    int errPipe[2];
    if (pipe(outPipe) != 0) return;
    if (pipe(errPipe) != 0) {
        close(outPipe[0]);
        close(outPipe[1]);
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, outPipe[0]);
    posix_spawn_file_actions_addclose(&actions, errPipe[0]);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) == 0) m_pid = pid;
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    m_out = outPipe[0];
    m_err = errPipe[0];
}

CChildProcess::~CChildProcess()
{
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
    for (int fd : {m_out, m_err}) {
        if (fd >= 0) close(fd);
    }
}

std::string CChildProcess::ReadLine()
{
    for (;;) {
        const std::size_t end = m_pending.find('\n');
        if (end != std::string::npos) {
            std::string line = m_pending.substr(0, end);
            m_pending.erase(0, end + 1);
            return line;
        }
        char buffer[4096];
        const ssize_t n = m_out < 0 ? 0 : read(m_out, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return std::exchange(m_pending, {});
        m_pending.append(buffer, static_cast<std::size_t>(n));
    }
}

void CChildProcess::CloseOutput()
{
    if (m_out >= 0) close(m_out);
    m_out = -1;
}

void CChildProcess::Signal(int signal)
{
    if (m_pid > 0) kill(m_pid, signal);
}

ProcessResult CChildProcess::Wait()
{
    ProcessResult result;
    result.out = std::exchange(m_pending, {});
    pollfd fds[2] = {{m_out, POLLIN, 0}, {m_err, POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open = (m_out >= 0 ? 1 : 0) + (m_err >= 0 ? 1 : 0);
    while (open > 0) {
        if (poll(fds, 2, -1) < 0 && errno != EINTR) break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            char buffer[4096];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                fds[i].fd = -1;
                --open;
            }
        }
    }
    int status = 0;
    rusage usage{};
    if (m_pid > 0 && wait4(m_pid, &status, 0, &usage) == m_pid) {
        if (WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
        result.maxResidentKb = usage.ru_maxrss;
    }
    m_pid = -1;
    return result;
}

ProcessResult RunProcess(const std::vector<std::string>& argv)
{
    CChildProcess child(argv);
    if (!child.Started()) return {};
    return child.Wait();
}
