// The serial object's transport on POSIX: termios for the line, poll for the reader, a pipe to
// wake it (what the stop event does on Win32).
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "comm/comm_port.h"
#include "ports/port_map.h"
#include "comm/wake_pipe.h"

namespace {

// A write gives up after this long, as the Win32 write time-out does.
constexpr std::chrono::milliseconds kWriteTimeout{1000};

std::string Describe(const std::string& device, int error)
{
    return device + ": " + std::strerror(error);
}

// The group a device belongs to (dialout for serial ports on Debian), which grants its use.
std::string OwningGroup(const std::string& device)
{
    struct stat info {};
    if (::stat(device.c_str(), &info) == 0) {
        if (const group* owner = ::getgrgid(info.st_gid)) return owner->gr_name;
    }
    return "dialout";
}

speed_t SpeedFor(std::uint32_t baudRate)
{
    switch (baudRate) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B0;
    }
}

tcflag_t CharacterSize(std::uint8_t byteSize)
{
    switch (byteSize) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    case 8: return CS8;
    default: return 0;
    }
}

// Indexed by CommParity. Mark and space are the sticky parity bit (CMSPAR) set or clear.
constexpr tcflag_t kParityFlags[] = {0, PARENB | PARODD, PARENB, PARENB | PARODD | CMSPAR, PARENB | CMSPAR};
// Indexed by CommStopBits: termios has no one and a half, so that is two.
constexpr tcflag_t kStopBitFlags[] = {0, CSTOPB, CSTOPB};

class CPosixCommPort : public CCommPort {
public:
    ~CPosixCommPort() override
    {
        Close();
        CloseIoEvents();
    }

    bool CreateIoEvents() override;
    void CloseIoEvents() override;
    bool Open(const CommLineSettings& settings, OperatorMessage& failure) override;
    bool ApplyLineSettings(const CommLineSettings& settings, OperatorMessage& failure) override;
    bool IsOpen() const override { return m_fd >= 0; }
    void Close() override;
    const std::string& Device() const override { return m_strDevice; }
    bool BeginReaderWait(OperatorMessage&) override { return true; }  // poll needs nothing of its own
    WaitResult WaitForInput() override;
    void EndReaderWait() override {}
    void WakeReader() override;
    std::uint32_t ReadAvailable(char* buffer, std::uint32_t maxBytes) override;
    bool Write(const char* data, std::uint32_t length) override;

private:
    int m_fd = -1;
    // WakeReader's way out of poll().
    CWakePipe m_wake;
    std::string m_strDevice;
};

}  // namespace

std::unique_ptr<CCommPort> CreateSystemCommPort()
{
    return std::make_unique<CPosixCommPort>();
}

bool CPosixCommPort::CreateIoEvents()
{
    return m_wake.Open();
}

void CPosixCommPort::CloseIoEvents()
{
    m_wake.Close();
}

bool CPosixCommPort::Open(const CommLineSettings& settings, OperatorMessage& failure)
{
    m_strDevice = g_portMap.Path(settings.port);
    if (m_strDevice.empty()) {
        failure.english = "COM" + std::to_string(settings.port) + ": no device (--port COMn=PATH names one)";
        return false;
    }
    const int fd = ::open(m_strDevice.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        failure.english = Describe(m_strDevice, error);
        if (error == EACCES || error == EPERM) {
            const std::string group = OwningGroup(m_strDevice);
            failure.korean = "이 사용자는 " + m_strDevice + " 를 쓸 수 없습니다. 장치를 가진 그룹(" + group +
                     ")에 사용자를 넣고(sudo usermod -aG " + group + " $USER) 다시 로그인하십시오.";
            failure.english += "; add the user to the group that owns the device: sudo usermod -aG " + group +
                      " $USER, then log in again";
        }
        return false;
    }
    // TIOCEXCL keeps later openers out, except root; the lock keeps out root and every other
    // program that locks its port (as serial tools commonly do).
    if (::ioctl(fd, TIOCEXCL) != 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        failure.english = Describe(m_strDevice, error);
        return false;
    }
    ::tcflush(fd, TCIOFLUSH);
    m_fd = fd;
    return true;
}

bool CPosixCommPort::ApplyLineSettings(const CommLineSettings& settings, OperatorMessage& failure)
{
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0) {
        failure.english = Describe(m_strDevice, errno);
        return false;
    }
    const speed_t speed = SpeedFor(settings.baudRate);
    const tcflag_t size = CharacterSize(settings.byteSize);
    if (speed == B0 || size == 0) return false;
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    tio.c_cflag |= CLOCAL | CREAD | size | kParityFlags[static_cast<int>(settings.parity)] |
                   kStopBitFlags[static_cast<int>(settings.stopBits)];
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (settings.parity != CommParity::None) tio.c_iflag |= INPCK;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::tcsetattr(m_fd, TCSANOW, &tio) != 0) {
        failure.english = Describe(m_strDevice, errno);
        return false;
    }
    // Raise DTR and RTS. Pseudo-terminals have no modem lines and refuse this; harmless.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(m_fd, TIOCMBIS, &lines);
    return true;
}

void CPosixCommPort::Close()
{
    if (m_fd < 0) return;
    int dtr = TIOCM_DTR;
    ::ioctl(m_fd, TIOCMBIC, &dtr);
    ::tcflush(m_fd, TCIOFLUSH);
    // The exclusive flag outlives our descriptor while anyone else holds the tty open (the
    // simulator does); clear it so that a reopen by a normal user is not refused.
    ::ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    m_fd = -1;
}

void CPosixCommPort::WakeReader()
{
    m_wake.Wake();
}

CCommPort::WaitResult CPosixCommPort::WaitForInput()
{
    pollfd fds[2] = {{m_fd, POLLIN, 0}, {m_wake.ReadEnd(), POLLIN, 0}};
    int ready;
    do {
        ready = ::poll(fds, 2, -1);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0) return WAIT_HANGUP;
    if (fds[1].revents != 0) {
        m_wake.Drain();
        return WAIT_WOKEN;
    }
    if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) return WAIT_HANGUP;
    return WAIT_INPUT;
}

std::uint32_t CPosixCommPort::ReadAvailable(char* buffer, std::uint32_t maxBytes)
{
    int queued = 0;
    // A hung-up tty fails FIONREAD with EIO: nothing to read.
    if (::ioctl(m_fd, FIONREAD, &queued) != 0 || queued <= 0) return 0;
    const std::uint32_t wanted = std::min(maxBytes, static_cast<std::uint32_t>(queued));
    const ssize_t got = ::read(m_fd, buffer, wanted);
    return got > 0 ? static_cast<std::uint32_t>(got) : 0;
}

bool CPosixCommPort::Write(const char* data, std::uint32_t length)
{
    if (m_fd < 0) return false;
    const auto deadline = std::chrono::steady_clock::now() + kWriteTimeout;
    while (length > 0) {
        const ssize_t written = ::write(m_fd, data, length);
        if (written > 0) {
            data += written;
            length -= static_cast<std::uint32_t>(written);
            continue;
        }
        if (written < 0 && errno == EINTR) continue;
        if (written < 0 && errno != EAGAIN) return false;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd fd{m_fd, POLLOUT, 0};
        ::poll(&fd, 1, static_cast<int>(left.count()));
    }
    return true;
}
