#include "tests/support/ser2net_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

sockaddr_in Loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

bool Listens(int port)
{
    std::ifstream table("/proc/net/tcp");
    std::string line;
    std::getline(table, line);  // the heading
    char wanted[16];
    std::snprintf(wanted, sizeof wanted, ":%04X", port);
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot, local, remote, state;
        fields >> slot >> local >> remote >> state;
        if (state == "0A" && local.size() > 5 && local.compare(local.size() - 5, 5, wanted) == 0) return true;
    }
    return false;
}

std::string Accepter(int number, const Ser2netPort& port)
{
    std::string stack;
    if (port.rfc2217) stack += "telnet(rfc2217),";
    if (!port.tlsKey.empty()) stack += "ssl(key=" + port.tlsKey + ",cert=" + port.tlsCert + "),";
    // nodelay: ser2net's answers to a frame of a few bytes would otherwise wait for Nagle.
    return stack + "tcp(nodelay),127.0.0.1," + std::to_string(number);
}

}  // namespace

bool WaitUntilListening(int port, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!Listens(port)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

int FreeLoopbackPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(0);
    socklen_t size = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
        port = ntohs(address.sin_port);
    }
    ::close(fd);
    return port;
}

CSer2net::CSer2net(std::string device) : m_strDevice(std::move(device)) {}

CSer2net::~CSer2net()
{
    Stop();
}

int CSer2net::AddPort(const Ser2netPort& port)
{
    const int number = FreeLoopbackPort();
    m_ports.emplace_back(number, port);
    return number;
}

bool CSer2net::Start(std::string& error)
{
    const std::string config = m_folder.File("ser2net.yaml");
    {
        std::ofstream out(config);
        for (const auto& [number, port] : m_ports) {
            // local: a pseudo-terminal has no modem lines to wait for. chardelay off: the device's
            // bytes go out as they come instead of after a pause for more.
            out << "connection: &port" << number << "\n"
                << "  accepter: " << Accepter(number, port) << "\n"
                << "  connector: serialdev," << m_strDevice << "," << port.lineSettings << ",local\n"
                << "  options:\n"
                << "    chardelay: false\n";
        }
    }
    // -n: in the foreground, ours to stop; -u: no UUCP lock files outside the test's folder.
    m_process = std::make_unique<CChildProcess>(
        std::vector<std::string>{SER2NET_PROGRAM, "-n", "-u", "-c", config, "-P", m_folder.File("ser2net.pid")});
    if (!m_process->Started()) {
        error = std::string("cannot start ") + SER2NET_PROGRAM + " (scripts/deps test installs ser2net)";
        return false;
    }
    for (const auto& entry : m_ports) {
        if (!WaitUntilListening(entry.first, std::chrono::seconds(5))) {
            m_process->Signal(SIGTERM);
            const ProcessResult result = m_process->Wait();
            m_process.reset();
            error = "ser2net does not listen on 127.0.0.1:" + std::to_string(entry.first) + ": " + result.err;
            return false;
        }
    }
    return true;
}

void CSer2net::Stop()
{
    if (!m_process) return;
    m_process->Signal(SIGTERM);
    m_process->Wait();
    m_process.reset();
}
