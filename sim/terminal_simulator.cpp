#include "sim/terminal_simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "comm/framing.h"
#include "date/local_clock.h"
#include "date/lunar_date.h"
#include "protocol/terminal_model.h"
#include "sim/transcript.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kOverlongReply = 3000;
constexpr std::size_t kMaxPending = 4096;  // a frame that never ends is dropped past this
constexpr auto kSplitPause = std::chrono::milliseconds(2);
constexpr auto kWriteGiveUp = std::chrono::seconds(5);

std::string Garbage(int model)
{
    // Noise each framing drops: no STX for ZEFA-102; for ZEFA-101 an empty line with junk
    // between its CR and LF.
    if (ModelFraming(model) == FRAMING_LINES) return std::string{CR} + "\x15\xff junk\x7f" + LF;
    return std::string("\x15\xff junk") + CR + LF + ETX;
}

// One byte on the line at `baudRate`: start bit, eight data bits, stop bit.
Clock::duration ByteTime(int baudRate)
{
    return std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(10'000'000'000LL / baudRate));
}

TerminalClock ComputerClock()
{
    const LocalTime now = ReadLocalClock();
    return TerminalClock{now.year,
                         now.month,
                         now.day,
                         DayOfWeek(now.year, now.month, now.day),
                         now.hour,
                         now.minute,
                         std::min(now.second, 59)};
}

}  // namespace

CTerminalSimulator::CTerminalSimulator(int model, const SimulatorFaults& faults)
    : m_nModel(model), m_faults(faults), m_state(model, ComputerClock())
{}

CTerminalSimulator::~CTerminalSimulator()
{
    Stop();
}

bool CTerminalSimulator::Start(std::string& error)
{
    if (::openpty(&m_master, &m_slaveKeeper, nullptr, nullptr, nullptr) != 0) {
        error = std::string("openpty: ") + std::strerror(errno);
        return false;
    }
    // Raw before anyone opens it: a cooked slave would echo the replies back to us.
    termios tio{};
    ::tcgetattr(m_slaveKeeper, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(m_slaveKeeper, TCSANOW, &tio);
    m_strSlavePath = ::ttyname(m_slaveKeeper);
    // A pseudo-terminal has no DTR. Packet mode reports the flush the tool does whenever it
    // opens or closes the port, the nearest sign that a new session begins.
    const int packetMode = 1;
    ::ioctl(m_master, TIOCPKT, &packetMode);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slaveKeeper, F_SETFD, FD_CLOEXEC);
    if (::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        Stop();
        return false;
    }
    m_thread = std::thread(&CTerminalSimulator::Run, this);
    return true;
}

void CTerminalSimulator::Stop()
{
    m_bStopping = true;
    if (m_thread.joinable()) {
        const char wake = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_wake[1], &wake, 1);
        m_thread.join();
    }
    for (int* fd : {&m_master, &m_slaveKeeper, &m_wake[0], &m_wake[1]}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
}

int CTerminalSimulator::RegisterPort(CPortMap& map) const
{
    return map.Add(m_strSlavePath, std::string(ModelName(m_nModel)) + " simulator");
}

std::vector<ReceivedFrame> CTerminalSimulator::Received() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_received;
}

bool CTerminalSimulator::WaitForFrames(std::size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_frameArrived.wait_for(lock, timeout, [&] { return m_nReceived >= count; });
}

CTerminalState CTerminalSimulator::State() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_state;
}

void CTerminalSimulator::Run()
{
    std::string pending;
    bool inFrame = false;
    auto nextGreeting = Clock::now();
    auto nextNoise = Clock::now();
    const bool mute = m_faults.silent || m_faults.noiseEveryMs > 0;
    // A pseudo-terminal hands the computer's bytes over at once; a real line takes ten bit times
    // a byte, so at a baud rate each byte counts as received when the line could have brought it.
    Clock::time_point lineFreeAt = Clock::now();
    // A paced line keeps to its byte times, not to them plus the kernel's default 50 us of slack
    // a sleep.
    if (m_faults.baudRate > 0) ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    while (!m_bStopping && !m_bHungUp) {
        std::optional<Clock::time_point> due;
        if (ModelFraming(m_nModel) == FRAMING_LINES && !mute && m_greetingInterval.count() > 0 &&
            !State().Connected()) {
            // The ZEFA-101 speaks first: the tool answers a line with its held connect frame.
            if (Clock::now() >= nextGreeting) {
                Send(std::string(SIMULATOR_GREETING) + CR + LF);
                nextGreeting = Clock::now() + m_greetingInterval;
            }
            due = nextGreeting;
        }
        if (m_faults.noiseEveryMs > 0) {
            if (Clock::now() >= nextNoise) {
                Send(Garbage(m_nModel));
                nextNoise = Clock::now() + std::chrono::milliseconds(m_faults.noiseEveryMs);
            }
            due = due ? std::min(*due, nextNoise) : nextNoise;
        }
        int timeout = -1;
        if (due) {
            timeout = static_cast<int>(
                std::chrono::duration_cast<std::chrono::milliseconds>(*due - Clock::now()).count() + 1);
            timeout = std::max(timeout, 0);
        }
        pollfd fds[2] = {{m_master, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        if (::poll(fds, 2, timeout) < 0 && errno != EINTR) break;
        if (fds[1].revents != 0) break;
        if (!(fds[0].revents & POLLIN)) continue;
        char buffer[4096];
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0) continue;
        if (buffer[0] != TIOCPKT_DATA) {
            if (buffer[0] & (TIOCPKT_FLUSHREAD | TIOCPKT_FLUSHWRITE)) {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_state.Disconnect();
                pending.clear();
                inFrame = false;
                // The first greeting of a session comes an interval in, as every later one.
                nextGreeting = Clock::now() + m_greetingInterval;
            }
            continue;
        }
        const Clock::time_point readAt = Clock::now();
        for (ssize_t i = 1; i < n && !m_bHungUp; ++i) {
            if (m_faults.baudRate > 0) {
                lineFreeAt = std::max(lineFreeAt, readAt) + ByteTime(m_faults.baudRate);
                std::this_thread::sleep_until(lineFreeAt);
                m_replyFrom = lineFreeAt;
            }
            const char b = buffer[i];
            if (ModelFraming(m_nModel) == FRAMING_STX_ETX) {
                if (b == STX) {
                    inFrame = true;
                    pending.clear();
                } else if (b == ETX && inFrame) {
                    inFrame = false;
                    OnFrame(pending);
                } else if (inFrame && pending.size() < kMaxPending) {
                    pending += b;
                }
            } else if (b == LF) {
                if (!pending.empty() && pending.back() == CR) pending.pop_back();
                if (!pending.empty()) OnFrame(pending);
                pending.clear();
            } else if (pending.size() < kMaxPending) {
                pending += b;
            }
        }
        m_replyFrom.reset();
    }
}

void CTerminalSimulator::OnFrame(const std::string& frame)
{
    const std::size_t letterAt = ModelFraming(m_nModel) == FRAMING_LINES ? 1 : 0;  // after the '#'
    const bool mute = m_faults.silent || m_faults.noiseEveryMs > 0;
    ReceivedFrame received;
    received.command = frame.size() > letterAt ? frame.substr(letterAt, 1) : std::string();
    received.frame = frame;
    bool hangUp = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        received.seq = ++m_nReceived;
        if (received.command == "D") ++m_nUploadFrames;
        hangUp = m_faults.hangUpAfterFrames > 0 && m_nUploadFrames >= m_faults.hangUpAfterFrames;
        if (!hangUp && !mute) received.reply = m_faults.refuse ? std::string("NG") : Answer(received);
        if (received.reply && received.command == "D") *received.reply += m_faults.uploadReplyTail;
        if (m_transcriptFile != nullptr) {
            std::fprintf(m_transcriptFile, "%s\n", TranscriptLine(m_nModel, received).c_str());
            std::fflush(m_transcriptFile);
        }
        if (m_bKeepFrames) m_received.push_back(received);
    }
    m_frameArrived.notify_all();
    if (hangUp) {
        HangUp();
    } else if (received.reply) {
        Reply(*received.reply, received.command == "R");
    }
}

std::string CTerminalSimulator::Answer(const ReceivedFrame& received)
{
    // A D frame ends in MMDD in both framings.
    const std::string& frame = received.frame;
    if (m_faults.forgetDay > 0 && received.command == "D" && frame.size() >= 4 &&
        std::atoi(frame.c_str() + frame.size() - 4) == m_faults.forgetDay) {
        return "OK";
    }
    return m_state.Handle(frame);
}

void CTerminalSimulator::Reply(std::string text, bool readReply)
{
    if (m_faults.overlongReply && text.size() < kOverlongReply) text.resize(kOverlongReply, '.');
    if (m_faults.garbage) Send(Garbage(m_nModel));
    if (ModelFraming(m_nModel) == FRAMING_STX_ETX) {
        Send(STX + text + ETX);
    } else if (readReply && !m_faults.overlongReply) {
        Send(SplitReadReplyLines(text));
    } else {
        Send(text + "\r\n");
    }
}

void CTerminalSimulator::Send(const std::string& bytes)
{
    if (m_faults.baudRate > 0) {
        // A reply starts the moment its frame's last byte arrived on the line, however late this
        // thread woke from that byte's sleep; and no sooner than the line is free.
        const Clock::duration perByte = ByteTime(m_faults.baudRate);
        const auto start = std::max(m_replyFrom.value_or(Clock::now()), m_transmitFreeAt);
        for (std::size_t i = 0; i < bytes.size() && !m_bStopping; ++i) {
            std::this_thread::sleep_until(start + perByte * static_cast<long long>(i + 1));
            if (!WriteAll(&bytes[i], 1)) return;
        }
        m_transmitFreeAt = start + perByte * static_cast<long long>(bytes.size());
        return;
    }
    const std::size_t piece = m_faults.splitBytes > 0 ? static_cast<std::size_t>(m_faults.splitBytes) : bytes.size();
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        if (at > 0) std::this_thread::sleep_for(kSplitPause);
        if (!WriteAll(bytes.data() + at, std::min(piece, bytes.size() - at))) return;
    }
}

bool CTerminalSimulator::WriteAll(const char* data, std::size_t size)
{
    const auto giveUp = Clock::now() + kWriteGiveUp;
    while (size > 0) {
        const ssize_t n = ::write(m_master, data, size);
        if (n > 0) {
            data += n;
            size -= static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
        // Nobody reads the slave and its queue is full: wait a little, never for ever.
        if (m_bStopping || Clock::now() > giveUp) return false;
        pollfd fd{m_master, POLLOUT, 0};
        ::poll(&fd, 1, 100);
    }
    return true;
}

void CTerminalSimulator::HangUp()
{
    // Closing the master hangs up every open slave descriptor, as an unplugged cable would.
    m_bHungUp = true;  // before the close, so that whoever sees the hang-up also sees the flag
    ::close(m_master);
    m_master = -1;
}
