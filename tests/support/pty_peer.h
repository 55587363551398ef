// The far end of a pseudo-terminal, playing the terminal in serial tests.
#pragma once

#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <string>

class PtyPeer {
public:
    PtyPeer()
    {
        if (::openpty(&m_master, &m_slave, nullptr, nullptr, nullptr) != 0) throw std::runtime_error("openpty");
        // Raw from the start, or the slave's line discipline echoes what the peer sends.
        termios tio{};
        ::tcgetattr(m_slave, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(m_slave, TCSANOW, &tio);
        m_path = ::ttyname(m_slave);
    }
    ~PtyPeer()
    {
        HangUp();
        ::close(m_slave);
    }
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    const std::string& SlavePath() const { return m_path; }
    int SlaveFd() const { return m_slave; }

    void Send(const std::string& bytes)
    {
        for (std::size_t at = 0; at < bytes.size();) {
            const ssize_t n = ::write(m_master, bytes.data() + at, bytes.size() - at);
            if (n <= 0) throw std::runtime_error("pty write");
            at += static_cast<std::size_t>(n);
        }
    }

    // Waits until the tool opens the slave and flushes it, as it does, which packet mode
    // reports; false after `timeout`. Bytes that come meanwhile are dropped.
    bool WaitForOpen(std::chrono::milliseconds timeout = std::chrono::seconds(20))
    {
        int packetMode = 1;
        ::ioctl(m_master, TIOCPKT, &packetMode);
        char packet[4096] = {TIOCPKT_DATA};
        pollfd fd{m_master, POLLIN, 0};
        while (packet[0] == TIOCPKT_DATA && ::poll(&fd, 1, static_cast<int>(timeout.count())) > 0) {
            if (::read(m_master, packet, sizeof packet) <= 0) packet[0] = TIOCPKT_DATA;
        }
        packetMode = 0;
        ::ioctl(m_master, TIOCPKT, &packetMode);
        return packet[0] != TIOCPKT_DATA;
    }

    // One attempt that gives up when the line is full for 10 ms (nobody reads the slave).
    bool TrySend(const std::string& bytes)
    {
        pollfd fd{m_master, POLLOUT, 0};
        if (::poll(&fd, 1, 10) <= 0 || !(fd.revents & POLLOUT)) return false;
        return ::write(m_master, bytes.data(), bytes.size()) > 0;
    }

    // Reads until `count` bytes came or `timeout` passed.
    std::string Receive(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(20))
    {
        std::string got;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (got.size() < count) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) break;
            pollfd fd{m_master, POLLIN, 0};
            if (::poll(&fd, 1, static_cast<int>(left.count())) <= 0) continue;
            char buffer[4096];
            const ssize_t n = ::read(m_master, buffer, std::min(sizeof buffer, count - got.size()));
            if (n <= 0) break;
            got.append(buffer, static_cast<std::size_t>(n));
        }
        return got;
    }

    void HangUp()
    {
        if (m_master >= 0) ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_path;
};
