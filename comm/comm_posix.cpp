// The serial object's OS calls on POSIX: termios for the line, poll for the reader, a pipe to
// wake it (what releasing WaitCommEvent does on Win32).
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

#include "comm/comm.h"
#include "comm/port_map.h"

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

tcflag_t ParityFlags(std::uint8_t parity)
{
    switch (parity) {
    case 1: return PARENB | PARODD;
    case 2: return PARENB;
    case 3: return PARENB | PARODD | CMSPAR;
    case 4: return PARENB | CMSPAR;
    default: return 0;
    }
}

}  // namespace

BOOL CComm::CreateIoEvents()
{
    CloseIoEvents();
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return 0;
    m_ovRead.hEvent = ends[0];
    m_ovWrite.hEvent = ends[1];
    return 1;
}

bool CComm::HasIoEvents() const
{
    return m_ovRead.hEvent >= 0;
}

void CComm::CloseIoEvents()
{
    for (CommOverlapped* record : {&m_ovRead, &m_ovWrite}) {
        if (record->hEvent >= 0) ::close(record->hEvent);
        record->hEvent = -1;
    }
}

bool CComm::OpenDevice(std::string& detail, std::string& advice)
{
    m_strDevice = g_portMap.Path(m_nPort);
    if (m_strDevice.empty()) {
        detail = "COM" + std::to_string(m_nPort) + ": no device (--port COMn=PATH names one)";
        return false;
    }
    const int fd = ::open(m_strDevice.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        detail = Describe(m_strDevice, error);
        if (error == EACCES || error == EPERM) {
            const std::string group = OwningGroup(m_strDevice);
            advice = "이 사용자는 " + m_strDevice + " 를 쓸 수 없습니다. 장치를 가진 그룹(" + group +
                     ")에 사용자를 넣고(sudo usermod -aG " + group + " $USER) 다시 로그인하십시오.";
            detail += "; add the user to the group that owns the device: sudo usermod -aG " + group +
                      " $USER, then log in again";
        }
        return false;
    }
    // TIOCEXCL keeps later openers out, except root; the lock keeps out root and every other
    // program that locks its port (as serial tools commonly do).
    if (::ioctl(fd, TIOCEXCL) != 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        detail = Describe(m_strDevice, error);
        return false;
    }
    ::tcflush(fd, TCIOFLUSH);
    m_hPort = fd;
    return true;
}

bool CComm::IsDeviceOpen() const
{
    return m_hPort >= 0;
}

BOOL CComm::ApplyLineSettings()
{
    termios tio{};
    if (::tcgetattr(m_hPort, &tio) != 0) return 0;
    const speed_t speed = SpeedFor(m_baudRate);
    const tcflag_t size = CharacterSize(m_byteSize);
    if (speed == B0 || size == 0) return 0;
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    tio.c_cflag |= CLOCAL | CREAD | size | ParityFlags(m_parity);
    if (m_stopBits != 0) tio.c_cflag |= CSTOPB;  // termios has no 1.5: two stop bits
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (m_parity != 0) tio.c_iflag |= INPCK;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::tcsetattr(m_hPort, TCSANOW, &tio) != 0) return 0;
    // Raise DTR and RTS. Pseudo-terminals have no modem lines and refuse this; harmless.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(m_hPort, TIOCMBIS, &lines);
    return 1;
}

void CComm::CloseDevice()
{
    if (m_hPort < 0) return;
    int dtr = TIOCM_DTR;
    ::ioctl(m_hPort, TIOCMBIC, &dtr);
    ::tcflush(m_hPort, TCIOFLUSH);
    // The exclusive flag outlives our descriptor while anyone else holds the tty open (the
    // simulator does); clear it so that a reopen by a normal user is not refused.
    ::ioctl(m_hPort, TIOCNXCL);
    ::close(m_hPort);
    m_hPort = COMM_NO_HANDLE;
}

void CComm::WakeReader()
{
    const char wake = 1;
    // A full pipe already holds a wake-up.
    [[maybe_unused]] const ssize_t written = ::write(m_ovWrite.hEvent, &wake, 1);
}

bool CComm::BeginReaderWait(std::string&, std::string&)
{
    return true;  // poll needs no event object of its own
}

void CComm::EndReaderWait() {}

CComm::WaitResult CComm::WaitForInput()
{
    pollfd fds[2] = {{m_hPort, POLLIN, 0}, {m_ovRead.hEvent, POLLIN, 0}};
    int ready;
    do {
        ready = ::poll(fds, 2, -1);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0) return WAIT_HANGUP;
    if (fds[1].revents != 0) {
        char drain[16];
        while (::read(m_ovRead.hEvent, drain, sizeof drain) > 0) {
        }
        return WAIT_WOKEN;
    }
    if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) return WAIT_HANGUP;
    return WAIT_INPUT;
}

std::uint32_t CComm::ReadAvailable(char* buffer, std::uint32_t maxBytes)
{
    int queued = 0;
    // A hung-up tty fails FIONREAD with EIO: nothing to read.
    if (::ioctl(m_hPort, FIONREAD, &queued) != 0 || queued <= 0) return 0;
    const std::uint32_t wanted = std::min(maxBytes, static_cast<std::uint32_t>(queued));
    const ssize_t got = ::read(m_hPort, buffer, wanted);
    return got > 0 ? static_cast<std::uint32_t>(got) : 0;
}

BOOL CComm::Write(const char* data, std::uint32_t length)
{
    if (m_hPort < 0) return 0;
    const auto deadline = std::chrono::steady_clock::now() + kWriteTimeout;
    while (length > 0) {
        const ssize_t written = ::write(m_hPort, data, length);
        if (written > 0) {
            data += written;
            length -= static_cast<std::uint32_t>(written);
            continue;
        }
        if (written < 0 && errno == EINTR) continue;
        if (written < 0 && errno != EAGAIN) return 0;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return 0;
        pollfd fd{m_hPort, POLLOUT, 0};
        ::poll(&fd, 1, static_cast<int>(left.count()));
    }
    return 1;
}
