// The children are spawned from /proc/self/exe: the very program that runs, even when its file
// has been replaced since it started, and wherever PATH would have found another. Each reports
// its result on a pipe of its own, as descriptor 3: its stdout carries the terminal's text, and
// a line there could pass for anything.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "cli/child_processes.h"
#include "cli/exit_status.h"
#include "cli/interrupts.h"

extern char** environ;

namespace {

constexpr const char* kSelf = "/proc/self/exe";
constexpr const char* kProgramName = "dorvane-cli";
// How often the wait looks up from the pipes to pass on a signal that came.
constexpr int kSignalPollMs = 50;
// A child whose output has ended is about to exit: its status is looked for this often.
constexpr int kExitPollMs = 1;
// The child's end of its result pipe: the first descriptor after the standard three. The write
// end made here is never 3 itself (five descriptors are opened before it), so dup2 really
// copies it and the copy loses O_CLOEXEC.
constexpr int kResultFd = 3;
// A result is a few hundred bytes (a year's differences some ten thousand); more is not one.
constexpr std::size_t kResultMax = 64 * 1024;

enum Stream { STREAM_OUT, STREAM_ERR, STREAM_RESULT, STREAM_COUNT };

struct Child {
    pid_t pid = -1;                          // -1 once reaped, or never started
    int pipes[STREAM_COUNT] = {-1, -1, -1};  // read ends of its stdout, stderr and result
    int status = EXIT_NOT_STARTED;
    std::string result;
};

void CloseAll(std::initializer_list<int> fds)
{
    for (int fd : fds) {
        if (fd >= 0) ::close(fd);
    }
}

// False with the reason when the child could not start.
bool Spawn(const std::vector<std::string>& args, Child& child, std::string& reason)
{
    int ends[STREAM_COUNT][2];
    for (int stream = 0; stream < STREAM_COUNT; ++stream) {
        if (::pipe2(ends[stream], O_CLOEXEC) != 0) {
            reason = std::strerror(errno);
            for (int made = 0; made < stream; ++made) CloseAll({ends[made][0], ends[made][1]});
            return false;
        }
    }
    // The write ends lose O_CLOEXEC as they become the child's stdout, stderr and result
    // channel; every other child's pipes stay shut to it.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[STREAM_OUT][1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, ends[STREAM_ERR][1], STDERR_FILENO);
    posix_spawn_file_actions_adddup2(&actions, ends[STREAM_RESULT][1], kResultFd);
    const std::string resultFd = std::to_string(kResultFd);
    std::vector<char*> argv = {const_cast<char*>(kProgramName)};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    // Last, so that it stands whatever the arguments say (the last of an option counts).
    argv.push_back(const_cast<char*>(RESULT_FD_OPTION));
    argv.push_back(const_cast<char*>(resultFd.c_str()));
    argv.push_back(nullptr);
    const int result = ::posix_spawn(&child.pid, kSelf, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    for (const auto& end : ends) ::close(end[1]);
    if (result != 0) {
        child.pid = -1;
        reason = std::strerror(result);
        for (const auto& end : ends) ::close(end[0]);
        return false;
    }
    for (int stream = 0; stream < STREAM_COUNT; ++stream) child.pipes[stream] = ends[stream][0];
    return true;
}

int ExitStatusOf(int waitStatus)
{
    if (WIFEXITED(waitStatus)) return WEXITSTATUS(waitStatus);
    return EXIT_INTERRUPTED + (WIFSIGNALED(waitStatus) ? WTERMSIG(waitStatus) : 0);
}

void PassOn(int signal, std::vector<Child>& children)
{
    for (const Child& child : children) {
        if (child.pid > 0) ::kill(child.pid, signal);
    }
}

// Reads what one pipe has; closes it at its end.
void Drain(std::size_t index, int stream, Child& child, ChildOutput& output)
{
    char buffer[4096];
    const ssize_t n = ::read(child.pipes[stream], buffer, sizeof buffer);
    if (n > 0) {
        const std::string_view bytes(buffer, static_cast<std::size_t>(n));
        if (stream != STREAM_RESULT) {
            output.OnOutput(index, stream == STREAM_ERR, bytes);
        } else if (child.result.size() + bytes.size() <= kResultMax) {
            child.result.append(bytes);
        }
    } else if (n == 0 || errno != EINTR) {
        ::close(child.pipes[stream]);
        child.pipes[stream] = -1;
    }
}

void Reap(std::vector<Child>& children)
{
    for (Child& child : children) {
        int waitStatus = 0;
        if (child.pid > 0 && ::waitpid(child.pid, &waitStatus, WNOHANG) == child.pid) {
            child.status = ExitStatusOf(waitStatus);
            child.pid = -1;
        }
    }
}

}  // namespace

bool RunChildren(const std::vector<std::vector<std::string>>& argLists, ChildOutput& output,
                 std::vector<ChildRun>& runs, OperatorMessage& /*error*/)
{
    std::vector<Child> children(argLists.size());
    for (std::size_t i = 0; i < argLists.size(); ++i) {
        if (std::string reason; !Spawn(argLists[i], children[i], reason)) {
            output.OnOutput(i, true,
                            "dorvane-cli: 실행할 수 없습니다: " + reason + " / could not start: " + reason + "\n");
        }
    }
    int passedOn = 0;
    for (;;) {
        if (const int signal = InterruptSignal(); signal != passedOn) {
            PassOn(signal, children);
            passedOn = signal;
        }
        std::vector<pollfd> fds;
        std::vector<std::pair<std::size_t, int>> owners;  // child, stream
        bool running = false;
        for (std::size_t i = 0; i < children.size(); ++i) {
            running = running || children[i].pid > 0;
            for (int stream = 0; stream < STREAM_COUNT; ++stream) {
                if (children[i].pipes[stream] < 0) continue;
                fds.push_back({children[i].pipes[stream], POLLIN, 0});
                owners.emplace_back(i, stream);
            }
        }
        if (fds.empty() && !running) break;
        if (::poll(fds.data(), fds.size(), fds.empty() ? kExitPollMs : kSignalPollMs) > 0) {
            for (std::size_t f = 0; f < fds.size(); ++f) {
                if (fds[f].revents != 0) Drain(owners[f].first, owners[f].second, children[owners[f].first], output);
            }
        }
        Reap(children);
    }
    runs.clear();
    for (const Child& child : children) runs.push_back({child.status, ParseRunResult(child.result)});
    return true;
}

void ReportToFleet(int fd, const TerminalRunResult& result)
{
    const std::string record = RunResultJson(result);
    for (std::size_t at = 0; at < record.size();) {
        const ssize_t n = ::write(fd, record.data() + at, record.size() - at);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;  // the fleet is gone; its summary is no more
        at += static_cast<std::size_t>(n);
    }
    ::close(fd);
}
