#include "tests/support/pyserial_rfc2217_server.h"

#include <signal.h>

#include <chrono>

#include "tests/support/ser2net_server.h"

namespace {

constexpr const char* kExample = "/usr/share/doc/python3-serial/examples/rfc2217_server.py";

// Runs the example as it is, on a pseudo-terminal. The server reads and sets the modem lines,
// which a pseudo-terminal has not (ENOTTY); they are answered as a cabled port's would be, DSR,
// CTS and carrier up, inside this Python only.
constexpr const char* kLauncher = R"(
import runpy, sys
import serial.serialposix as posix
posix.Serial._update_dtr_state = lambda self: None
posix.Serial._update_rts_state = lambda self: None
for line, up in (('cts', True), ('dsr', True), ('ri', False), ('cd', True)):
    setattr(posix.Serial, line, property(lambda self, up=up: up))
sys.argv = sys.argv[1:]
runpy.run_path(sys.argv[0], run_name='__main__')
)";

}  // namespace

CPyserialRfc2217Server::CPyserialRfc2217Server(std::string device) : m_strDevice(std::move(device)) {}

CPyserialRfc2217Server::~CPyserialRfc2217Server()
{
    if (!m_process) return;
    m_process->Signal(SIGTERM);
    m_process->Wait();
}

bool CPyserialRfc2217Server::Start(std::string& error)
{
    m_nPort = FreeLoopbackPort();
    m_process = std::make_unique<CChildProcess>(std::vector<std::string>{
        DEBIAN_PYTHON3, "-c", kLauncher, kExample, "--localport", std::to_string(m_nPort), m_strDevice});
    if (m_process->Started() && WaitUntilListening(m_nPort, std::chrono::seconds(10))) return true;
    m_process->Signal(SIGTERM);
    error = std::string("pyserial's RFC 2217 server does not listen (scripts/deps test installs python3-serial): ") +
            m_process->Wait().err;
    m_process.reset();
    return false;
}
