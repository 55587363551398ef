// The children are spawned from /proc/self/exe: the very program that runs, even when its file
// has been replaced since it started, and wherever PATH would have found another. Each reports
// its result on a pipe of its own, as descriptor 3: its stdout carries the terminal's text, and
// a line there could pass for anything.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "cli/child_processes.h"
#include "cli/child_record.h"
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

enum Stream { STREAM_OUT, STREAM_ERR, STREAM_RESULT, STREAM_COUNT };

// A running child holds its three pipes' read ends here; the next one, while it is spawned, both
// ends of each of its three.
constexpr rlim_t kFilesPerChild = STREAM_COUNT;
// Besides: the standard three, the report's file, and whatever the C library keeps open.
constexpr rlim_t kFilesReserved = 32;

struct Child : ChildRecord {
    pid_t pid = -1;                          // -1 once reaped, or never started
    int pipes[STREAM_COUNT] = {-1, -1, -1};  // read ends of its stdout, stderr and result

    bool Running() const { return pid > 0 || pipes[0] >= 0 || pipes[1] >= 0 || pipes[2] >= 0; }
};

void CloseAll(std::initializer_list<int> fds)
{
    for (int fd : fds) {
        if (fd >= 0) ::close(fd);
    }
}

// Raises the soft open-file limit to what `jobs` children at once take, as far as the hard limit
// allows; returns how many the limit then allows at once, at least one. A child that could not
// start for want of a descriptor would be a terminal left out.
int JobsWithinFileLimit(int jobs)
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) return jobs;
    const rlim_t needed = kFilesReserved + kFilesPerChild * (static_cast<rlim_t>(jobs) + 1);
    if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < needed) {
        rlimit raised = limit;
        raised.rlim_cur = limit.rlim_max == RLIM_INFINITY ? needed : std::min(needed, limit.rlim_max);
        if (::setrlimit(RLIMIT_NOFILE, &raised) == 0) limit = raised;
    }
    if (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= needed) return jobs;
    const rlim_t room = limit.rlim_cur > kFilesReserved ? limit.rlim_cur - kFilesReserved : 0;
    const int fits = static_cast<int>(std::max<rlim_t>(room / kFilesPerChild, 2) - 1);
    if (fits >= jobs) return jobs;
    const std::string files = std::to_string(limit.rlim_cur);
    const std::string count = std::to_string(fits);
    PrintCliError({"열린 파일 한도가 " + files + " 개라서 단말기를 한 번에 " + count + " 대씩 실행합니다",
                   "the open-file limit of " + files + " allows terminals only " + count + " at a time"});
    return fits;
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

// Reads what one pipe has; closes it at its end.
void Drain(std::size_t index, int stream, Child& child, ChildOutput& output)
{
    char buffer[4096];
    const ssize_t n = ::read(child.pipes[stream], buffer, sizeof buffer);
    if (n > 0) {
        const std::string_view bytes(buffer, static_cast<std::size_t>(n));
        if (stream != STREAM_RESULT) {
            output.OnOutput(index, stream == STREAM_ERR, bytes);
        } else {
            child.AddResult(bytes);
        }
    } else if (n == 0 || errno != EINTR) {
        ::close(child.pipes[stream]);
        child.pipes[stream] = -1;
    }
}

void Reap(std::vector<Child>& children, const std::vector<std::size_t>& running)
{
    for (const std::size_t i : running) {
        Child& child = children[i];
        int waitStatus = 0;
        if (child.pid > 0 && ::waitpid(child.pid, &waitStatus, WNOHANG) == child.pid) {
            child.End(ExitStatusOf(waitStatus));
            child.pid = -1;
        }
    }
}

void Start(std::size_t index, const std::vector<std::string>& args, Child& child, ChildOutput& output)
{
    child.Start();
    if (std::string reason; !Spawn(args, child, reason)) child.FailToStart(index, reason, output);
}

}  // namespace

bool RunChildren(const std::vector<std::vector<std::string>>& argLists, int jobs, ChildOutput& output,
                 std::vector<ChildRun>& runs, OperatorMessage& /*error*/)
{
    jobs = JobsWithinFileLimit(static_cast<int>(std::min<std::size_t>(jobs, argLists.size())));
    std::vector<Child> children(argLists.size());
    std::vector<std::size_t> running;  // started and not yet reaped, or its pipes not yet at their end
    std::size_t next = 0;              // the first not started yet
    int passedOn = 0;
    for (;;) {
        const int signal = InterruptSignal();
        if (signal != passedOn) {
            for (const std::size_t i : running) {
                if (children[i].pid > 0) ::kill(children[i].pid, signal);
            }
            passedOn = signal;
        }
        while (signal == 0 && next < children.size() && running.size() < static_cast<std::size_t>(jobs)) {
            Start(next, argLists[next], children[next], output);
            if (children[next].Running()) running.push_back(next);
            ++next;
        }
        if (running.empty()) break;
        std::vector<pollfd> fds;
        std::vector<std::pair<std::size_t, int>> owners;  // child, stream
        bool exiting = false;                             // a child whose output has ended
        for (const std::size_t i : running) {
            bool open = false;
            for (int stream = 0; stream < STREAM_COUNT; ++stream) {
                if (children[i].pipes[stream] < 0) continue;
                fds.push_back({children[i].pipes[stream], POLLIN, 0});
                owners.emplace_back(i, stream);
                open = true;
            }
            exiting = exiting || !open;
        }
        if (::poll(fds.data(), fds.size(), exiting ? kExitPollMs : kSignalPollMs) > 0) {
            for (std::size_t f = 0; f < fds.size(); ++f) {
                if (fds[f].revents != 0) Drain(owners[f].first, owners[f].second, children[owners[f].first], output);
            }
        }
        Reap(children, running);
        std::erase_if(running, [&](std::size_t i) { return !children[i].Running(); });
    }
    for (std::size_t i = next; i < children.size(); ++i) children[i].KeepFromStarting(passedOn);
    runs.clear();
    for (const Child& child : children) runs.push_back(child.Run());
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
