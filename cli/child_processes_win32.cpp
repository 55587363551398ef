// The children are this very program's file (GetModuleFileNameW), started with CreateProcessW,
// one per terminal, with the argument lists the POSIX fleet gives its own. Each child's stdout,
// stderr and result channel are named pipes whose read ends this process waits on together
// through one I/O completion port, as libuv waits on a child's stdio: an anonymous pipe cannot be
// waited on. The result channel's write end is inherited, and RESULT_FD_OPTION carries its
// handle's value, which is the same in the child.
//
// The children share this process's console and its process group: the console itself brings
// Ctrl+C, Ctrl+Break and its closing to each of them as to this process (cli/interrupts_win32.cpp),
// so each closes its port and reports as after SIGINT or SIGTERM, and nothing is passed on.
// Every child is in a job object that ends it with this process (JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE):
// a fleet killed outright leaves no run behind, and the system releases the runs' ports with them.
#include <algorithm>
#include <csignal>
#include <cstdint>
#include <string>
#include <vector>

#include "base/wide_text.h"
#include "base/windows_api.h"
#include "cli/child_processes.h"
#include "cli/child_record.h"
#include "cli/exit_status.h"
#include "cli/interrupts.h"

namespace {

constexpr const wchar_t* kProgramName = L"dorvane-cli";
// How often the wait looks up from the pipes to see whether an interrupt came.
constexpr DWORD kInterruptPollMs = 50;
// A child whose output has ended is about to exit: its status is looked for this often.
constexpr DWORD kExitPollMs = 1;
constexpr DWORD kPipeBytes = 64 * 1024;

enum Stream { STREAM_OUT, STREAM_ERR, STREAM_RESULT, STREAM_COUNT };

std::string SystemErrorText(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message(text, length);
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r')) message.pop_back();
    return message.empty() ? "error " + std::to_string(error) : Narrow(message);
}

// The read end of one of a child's pipes and the read it has under way.
struct PipeEnd {
    HANDLE handle = INVALID_HANDLE_VALUE;  // invalid once the pipe has ended
    OVERLAPPED overlapped{};
    char buffer[4096];

    bool Open() const { return handle != INVALID_HANDLE_VALUE; }
    void Close()
    {
        CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
    }
    // Its next bytes come to the completion port; a pipe whose writer has gone ends here.
    void ReadNext()
    {
        overlapped = {};
        if (!ReadFile(handle, buffer, sizeof buffer, nullptr, &overlapped) && GetLastError() != ERROR_IO_PENDING) {
            Close();
        }
    }
};

// Kept in place from the first read on: the system writes into its pipes' buffers.
struct Child : ChildRecord {
    HANDLE process = nullptr;  // null once it has ended, or never started
    PipeEnd pipes[STREAM_COUNT];

    bool OutputEnded() const { return !pipes[0].Open() && !pipes[1].Open() && !pipes[2].Open(); }
    bool Running() const { return process != nullptr || !OutputEnded(); }
};

// The arguments as the C runtime made them of the command line: in the ANSI code page, which the
// manifest makes UTF-8 (Windows 10 1903 on).
std::wstring FromArgument(const std::string& argument)
{
    if (argument.empty()) return {};
    const int size = static_cast<int>(argument.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, argument.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, argument.data(), size, wide.data(), length);
    return wide;
}

// One argument as the child's C runtime will split it off its command line again: quoted, with
// the backslashes before a quote doubled and the quote escaped.
std::wstring Quoted(const std::wstring& argument)
{
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        quoted += c;
        backslashes = 0;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

std::wstring ChildCommandLine(const std::vector<std::string>& args, HANDLE resultChannel)
{
    std::wstring line = Quoted(kProgramName);
    for (const std::string& arg : args) line += L" " + Quoted(FromArgument(arg));
    // Last, so that it stands whatever the arguments say (the last of an option counts).
    const auto channel = reinterpret_cast<std::uintptr_t>(resultChannel);
    return line + L" " + Widen(RESULT_FD_OPTION) + L" " + std::to_wstring(channel);
}

std::wstring ThisProgram()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) return path.substr(0, length);
        path.resize(path.size() * 2);
    }
}

// A pipe from a child to this process: the read end waits on `port`, the write end is for the
// child to inherit. Named, with a name no other pipe has, since only a named pipe can be read
// through a completion port.
bool MakePipe(HANDLE port, ULONG_PTR key, PipeEnd& readEnd, HANDLE& writeEnd, std::string& reason)
{
    static unsigned serial = 0;
    const std::wstring name =
        L"\\\\.\\pipe\\dorvane-cli-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial);
    readEnd.handle = CreateNamedPipeW(
        name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 0, kPipeBytes, 0, nullptr);
    if (readEnd.handle == INVALID_HANDLE_VALUE) {
        reason = SystemErrorText(GetLastError());
        return false;
    }
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    writeEnd = CreateFileW(name.c_str(), GENERIC_WRITE, 0, &inherited, OPEN_EXISTING, 0, nullptr);
    if (writeEnd == INVALID_HANDLE_VALUE || CreateIoCompletionPort(readEnd.handle, port, key, 0) == nullptr) {
        reason = SystemErrorText(GetLastError());
        if (writeEnd != INVALID_HANDLE_VALUE) CloseHandle(writeEnd);
        readEnd.Close();
        return false;
    }
    return true;
}

// The handles the child is to have, and only those, whatever else of this process is
// inheritable.
class InheritedHandles {
public:
    explicit InheritedHandles(HANDLE (&handles)[STREAM_COUNT])
    {
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        m_storage.resize(size);
        m_list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(m_storage.data());
        m_ready = InitializeProcThreadAttributeList(m_list, 1, 0, &size) &&
                  UpdateProcThreadAttribute(m_list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles, sizeof handles,
                                            nullptr, nullptr);
    }
    ~InheritedHandles() { DeleteProcThreadAttributeList(m_list); }
    InheritedHandles(const InheritedHandles&) = delete;
    InheritedHandles& operator=(const InheritedHandles&) = delete;

    LPPROC_THREAD_ATTRIBUTE_LIST List() const { return m_ready ? m_list : nullptr; }

private:
    std::vector<char> m_storage;
    LPPROC_THREAD_ATTRIBUTE_LIST m_list = nullptr;
    bool m_ready = false;
};

// Started suspended and put in the job before it runs, so that no moment of it is outside.
bool Spawn(const std::vector<std::string>& args, std::size_t index, HANDLE job, HANDLE port, Child& child,
           std::string& reason)
{
    HANDLE writeEnds[STREAM_COUNT] = {};
    for (int stream = 0; stream < STREAM_COUNT; ++stream) {
        if (!MakePipe(port, index * STREAM_COUNT + stream, child.pipes[stream], writeEnds[stream], reason)) {
            for (int made = 0; made < stream; ++made) {
                CloseHandle(writeEnds[made]);
                child.pipes[made].Close();
            }
            return false;
        }
    }
    std::wstring commandLine = ChildCommandLine(args, writeEnds[STREAM_RESULT]);
    const InheritedHandles inherited(writeEnds);
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdOutput = writeEnds[STREAM_OUT];
    startup.StartupInfo.hStdError = writeEnds[STREAM_ERR];
    startup.lpAttributeList = inherited.List();
    // Without a console here, none for the children either, rather than a window each.
    const DWORD console = GetConsoleCP() != 0 ? 0 : DETACHED_PROCESS;
    PROCESS_INFORMATION started{};
    const bool created = startup.lpAttributeList != nullptr &&
                         CreateProcessW(ThisProgram().c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                        CREATE_SUSPENDED | EXTENDED_STARTUPINFO_PRESENT | console, nullptr, nullptr,
                                        &startup.StartupInfo, &started);
    if (!created) reason = SystemErrorText(GetLastError());
    for (const HANDLE end : writeEnds) CloseHandle(end);
    if (created && !AssignProcessToJobObject(job, started.hProcess)) {
        reason = SystemErrorText(GetLastError());
        TerminateProcess(started.hProcess, EXIT_NOT_STARTED);
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    } else if (created) {
        ResumeThread(started.hThread);
        CloseHandle(started.hThread);
        child.process = started.hProcess;
        for (PipeEnd& pipe : child.pipes) pipe.ReadNext();
        return true;
    }
    for (PipeEnd& pipe : child.pipes) pipe.Close();
    return false;
}

// The job that ends every child with this process; null, with the reason, when there is none.
HANDLE CreateFleetJob(std::string& reason)
{
    const HANDLE job = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job != nullptr && SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
        return job;
    }
    reason = SystemErrorText(GetLastError());
    if (job != nullptr) CloseHandle(job);
    return nullptr;
}

int ExitStatusOf(DWORD code)
{
    // A child that Ctrl+C or Ctrl+Break ended before it watched for them: it ended as this
    // process was asked to.
    if (code == static_cast<DWORD>(STATUS_CONTROL_C_EXIT)) {
        return EXIT_INTERRUPTED + (InterruptSignal() != 0 ? InterruptSignal() : SIGINT);
    }
    // Above any status a run exits with: a crash or an end from outside (an NTSTATUS).
    return code <= 255 ? static_cast<int>(code) : 255;
}

void OnRead(std::size_t index, int stream, bool read, DWORD bytes, Child& child, ChildOutput& output)
{
    PipeEnd& pipe = child.pipes[stream];
    if (!read) {
        pipe.Close();  // its writer has gone
        return;
    }
    const std::string_view text(pipe.buffer, bytes);
    if (stream != STREAM_RESULT) {
        output.OnOutput(index, stream == STREAM_ERR, text);
    } else {
        child.AddResult(text);
    }
    pipe.ReadNext();
}

// Hands what the pipes brought within `waitMs` to `output`, and what else is there without
// waiting, up to a read of every pipe, so that runs that never stop printing still let the fleet
// reap and start the others.
void Drain(HANDLE port, DWORD waitMs, std::vector<Child>& children, ChildOutput& output)
{
    const std::size_t reads = children.size() * STREAM_COUNT;
    for (std::size_t n = 0; n < reads; ++n) {
        DWORD bytes = 0;
        ULONG_PTR key = 0;
        OVERLAPPED* done = nullptr;
        const bool read = GetQueuedCompletionStatus(port, &bytes, &key, &done, n == 0 ? waitMs : 0);
        if (done == nullptr) return;                   // nothing more came
        const std::size_t index = key / STREAM_COUNT;  // as MakePipe was given it
        OnRead(index, static_cast<int>(key % STREAM_COUNT), read, bytes, children[index], output);
    }
}

void Reap(std::vector<Child>& children, const std::vector<std::size_t>& running)
{
    for (const std::size_t i : running) {
        Child& child = children[i];
        if (child.process == nullptr || WaitForSingleObject(child.process, 0) != WAIT_OBJECT_0) continue;
        DWORD code = 0;
        GetExitCodeProcess(child.process, &code);
        child.End(ExitStatusOf(code));
        CloseHandle(child.process);
        child.process = nullptr;
    }
}

}  // namespace

bool RunChildren(const std::vector<std::vector<std::string>>& argLists, int jobs, ChildOutput& output,
                 std::vector<ChildRun>& runs, OperatorMessage& error)
{
    std::string reason;
    const HANDLE job = CreateFleetJob(reason);
    const HANDLE port = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1);
    if (job == nullptr || port == nullptr) {
        if (port == nullptr) reason = SystemErrorText(GetLastError());
        if (job != nullptr) CloseHandle(job);
        error = {"단말기마다 실행할 수 없습니다: " + reason, "cannot run a process per terminal: " + reason};
        return false;
    }
    std::vector<Child> children(argLists.size());
    std::vector<std::size_t> running;  // started and not yet ended, or its pipes not yet at their end
    std::size_t next = 0;              // the first not started yet
    for (;;) {
        while (InterruptSignal() == 0 && next < children.size() && running.size() < static_cast<std::size_t>(jobs)) {
            Child& child = children[next];
            child.Start();
            if (!Spawn(argLists[next], next, job, port, child, reason)) child.FailToStart(next, reason, output);
            if (child.Running()) running.push_back(next);
            ++next;
        }
        if (running.empty()) break;
        const bool exiting =
            std::any_of(running.begin(), running.end(), [&](std::size_t i) { return children[i].OutputEnded(); });
        Drain(port, exiting ? kExitPollMs : kInterruptPollMs, children, output);
        Reap(children, running);
        std::erase_if(running, [&](std::size_t i) { return !children[i].Running(); });
    }
    for (std::size_t i = next; i < children.size(); ++i) children[i].KeepFromStarting(InterruptSignal());
    CloseHandle(port);
    CloseHandle(job);
    runs.clear();
    for (const Child& child : children) runs.push_back(child.Run());
    return true;
}

void ReportToFleet(int fd, const TerminalRunResult& result)
{
    // The value of the pipe handle the fleet let this run inherit. A number given by hand may
    // name any handle, or none: only a pipe can be the fleet's.
    const auto channel = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(fd));
    if (GetFileType(channel) != FILE_TYPE_PIPE) return;
    const std::string record = RunResultJson(result);
    for (std::size_t at = 0; at < record.size();) {
        DWORD written = 0;
        if (!WriteFile(channel, record.data() + at, static_cast<DWORD>(record.size() - at), &written, nullptr) ||
            written == 0) {
            break;  // the fleet is gone; its summary is no more
        }
        at += written;
    }
    CloseHandle(channel);
}
