#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/regular_file.h"
#include "base/regular_file_messages.h"

namespace {

OperatorMessage SystemError(int error)
{
    const std::string text = std::strerror(error);
    return {text, text};
}

OperatorMessage NotRegular(mode_t mode)
{
    if (S_ISDIR(mode)) return NotRegularFile({"폴더", "a folder"});
    if (S_ISFIFO(mode)) return NotRegularFile({"FIFO", "a FIFO"});
    if (S_ISCHR(mode) || S_ISBLK(mode)) return NotRegularFile({"장치", "a device"});
    if (S_ISSOCK(mode)) return NotRegularFile({"소켓", "a socket"});
    return NotRegularFile({"특수 파일", "a special file"});
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return m_fd; }
    // Closes now, for the error a close can report (a write that did not reach the disk).
    int Close()
    {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result;
    }

private:
    int m_fd;
};

bool WriteAll(int fd, const std::string& bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace

bool ReadRegularFile(const std::filesystem::path& path, std::size_t maxBytes, std::string& bytes,
                     OperatorMessage& failure)
{
    // Looked at before it is opened: opening a serial device raises its DTR, a tape rewinds.
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        failure = SystemError(errno);
        return false;
    }
    if (!S_ISREG(status.st_mode)) {
        failure = NotRegular(status.st_mode);
        return false;
    }
    // Non-blocking and looked at again, for a FIFO put in its place in between.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.Get() < 0 || ::fstat(file.Get(), &status) != 0) {
        failure = SystemError(errno);
        return false;
    }
    if (!S_ISREG(status.st_mode)) {
        failure = NotRegular(status.st_mode);
        return false;
    }
    if (static_cast<std::uintmax_t>(status.st_size) > maxBytes) {
        failure = TooLarge(static_cast<std::uintmax_t>(status.st_size), maxBytes);
        return false;
    }
    bytes.clear();
    // One byte more than allowed tells a file that grew, or that says it is smaller than it is
    // (/proc), from one that fits.
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(file.Get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            failure = SystemError(errno);
            return false;
        }
        if (got == 0) return true;
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > maxBytes) {
            failure = TooLarge(bytes.size(), maxBytes);
            return false;
        }
    }
}

bool ReplaceFileWith(const std::filesystem::path& target, const std::string& bytes, OperatorMessage& failure)
{
    // mkostemp creates with O_EXCL: a name that is taken, by a link too, makes it pick another.
    // The dot and the suffix keep the half-written file out of every listing of *.ics.
    std::string hidden = ".";
    hidden += target.filename().string();
    hidden += ".XXXXXX";
    std::string temporary = (target.parent_path() / hidden).string();
    FileDescriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (file.Get() < 0) {
        failure = SystemError(errno);
        return false;
    }
    // rename replaces the name `target`, a link standing there included; it never writes through it.
    if (!WriteAll(file.Get(), bytes) || ::fsync(file.Get()) != 0 || file.Close() != 0 ||
        ::rename(temporary.c_str(), target.c_str()) != 0) {
        failure = SystemError(errno);
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}
