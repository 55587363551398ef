// Runs a program and collects what it printed: to its end, or step by step while it runs.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

struct ProcessResult {
    int exitStatus = -1;  // -1 when it did not exit normally
    std::string out;
    std::string err;
    long maxResidentKb = 0;  // the most memory it held at once
};

ProcessResult RunProcess(const std::vector<std::string>& argv);

// A program running beside the test, its standard output and error piped to the test.
class CChildProcess {
public:
    explicit CChildProcess(const std::vector<std::string>& argv);
    ~CChildProcess();
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    bool Started() const { return m_pid > 0; }
    // The next line of its standard output, without "\n"; empty at its end.
    std::string ReadLine();
    // Stops reading its standard output, as `| head -1` does after its line.
    void CloseOutput();
    void Signal(int signal);
    // Waits for it to end, with what it printed since.
    ProcessResult Wait();

private:
    pid_t m_pid = -1;
    int m_out = -1;
    int m_err = -1;
    std::string m_pending;  // read past the last line handed out
};
