#include "base/windows_api.h"

#include <system_error>

#include "base/regular_file.h"
#include "base/regular_file_messages.h"

namespace {

OperatorMessage LastError()
{
    const std::string text = std::system_category().message(static_cast<int>(::GetLastError()));
    return {text, text};
}

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : m_handle(handle) {}
    ~FileHandle()
    {
        if (m_handle != INVALID_HANDLE_VALUE) ::CloseHandle(m_handle);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE Get() const { return m_handle; }
    bool Close()
    {
        const BOOL closed = ::CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
        return closed != FALSE;
    }

private:
    HANDLE m_handle;
};

}  // namespace

bool ReadRegularFile(const std::filesystem::path& path, std::size_t maxBytes, std::string& bytes,
                     OperatorMessage& failure)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        failure = LastError();
        return false;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        failure = NotRegularFile({"폴더", "a folder"});
        return false;
    }
    const FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        failure = LastError();
        return false;
    }
    // COM1, CON and pipes open like files; only a file on a disk is one.
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK) {
        failure = NotRegularFile({"장치", "a device"});
        return false;
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size)) {
        failure = LastError();
        return false;
    }
    if (static_cast<std::uintmax_t>(size.QuadPart) > maxBytes) {
        failure = TooLarge(static_cast<std::uintmax_t>(size.QuadPart), maxBytes);
        return false;
    }
    bytes.clear();
    char buffer[64 * 1024];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr)) {
            failure = LastError();
            return false;
        }
        if (got == 0) return true;
        bytes.append(buffer, got);
        if (bytes.size() > maxBytes) {
            failure = TooLarge(bytes.size(), maxBytes);
            return false;
        }
    }
}

bool ReplaceFileWith(const std::filesystem::path& target, const std::string& bytes, OperatorMessage& failure)
{
    // CREATE_NEW fails on any name that is taken, a link included: try a few names of our own.
    std::filesystem::path temporary;
    HANDLE created = INVALID_HANDLE_VALUE;
    for (unsigned attempt = 0; created == INVALID_HANDLE_VALUE && attempt < 100; ++attempt) {
        temporary = target.parent_path() / (L"." + target.filename().wstring() + L"." +
                                            std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                            std::to_wstring(::GetTickCount64() + attempt));
        created = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
        if (created == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    FileHandle file(created);
    if (file.Get() == INVALID_HANDLE_VALUE) {
        failure = LastError();
        return false;
    }
    DWORD written = 0;
    const bool ok = bytes.size() <= MAXDWORD &&
                    ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size() && ::FlushFileBuffers(file.Get()) && file.Close() &&
                    ::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        failure = LastError();
        ::DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}
