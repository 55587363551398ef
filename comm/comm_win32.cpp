// The serial object's OS calls on Windows: overlapped Win32 communications.
#include <algorithm>

#include "comm/comm.h"

namespace {

std::string SystemMessage(const std::string& device, DWORD error)
{
    char text[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                        text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
    return device + ": " + (message.empty() ? "error " + std::to_string(error) : message);
}

}  // namespace

BOOL CComm::CreateIoEvents()
{
    CloseIoEvents();
    m_ovRead.Offset = m_ovRead.OffsetHigh = 0;
    m_ovWrite.Offset = m_ovWrite.OffsetHigh = 0;
    m_ovRead.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (m_ovRead.hEvent == nullptr) return 0;
    m_ovWrite.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (m_ovWrite.hEvent == nullptr) {
        CloseHandle(m_ovRead.hEvent);
        m_ovRead.hEvent = nullptr;
        return 0;
    }
    return 1;
}

bool CComm::HasIoEvents() const
{
    return m_ovRead.hEvent != nullptr && m_ovWrite.hEvent != nullptr;
}

void CComm::CloseIoEvents()
{
    for (OVERLAPPED* record : {&m_ovRead, &m_ovWrite}) {
        if (record->hEvent != nullptr) CloseHandle(record->hEvent);
        record->hEvent = nullptr;
    }
}

bool CComm::OpenDevice(std::string& detail, std::string& /*advice*/)
{
    m_strDevice = CommDeviceName(m_nPort);
    m_hPort = CreateFileA(m_strDevice.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
    if (m_hPort == INVALID_HANDLE_VALUE) {
        detail = SystemMessage(m_strDevice, GetLastError());
        return false;
    }
    SetCommMask(m_hPort, EV_RXCHAR);
    SetupComm(m_hPort, 4096, 4096);
    PurgeComm(m_hPort, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 1000;
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = 1000;
    SetCommTimeouts(m_hPort, &timeouts);
    return true;
}

bool CComm::IsDeviceOpen() const
{
    return m_hPort != INVALID_HANDLE_VALUE;
}

BOOL CComm::ApplyLineSettings()
{
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(m_hPort, &dcb);
    dcb.BaudRate = m_baudRate;
    dcb.ByteSize = m_byteSize;
    dcb.Parity = m_parity;
    dcb.StopBits = m_stopBits;
    dcb.fBinary = 1;
    dcb.fParity = 1;
    dcb.fOutxCtsFlow = 0;
    dcb.fOutxDsrFlow = 0;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fOutX = 0;
    dcb.fInX = 0;
    dcb.XonLim = 100;
    dcb.XoffLim = 100;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    return SetCommState(m_hPort, &dcb) ? 1 : 0;
}

void CComm::CloseDevice()
{
    if (m_hPort == INVALID_HANDLE_VALUE) return;
    SetCommMask(m_hPort, 0);
    EscapeCommFunction(m_hPort, CLRDTR);
    PurgeComm(m_hPort, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    CloseHandle(m_hPort);
    m_hPort = INVALID_HANDLE_VALUE;
}

void CComm::WakeReader()
{
    SetCommMask(m_hPort, 0);  // completes the reader's pending WaitCommEvent
}

bool CComm::BeginReaderWait(std::string& message, std::string& detail)
{
    m_hWaitEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (m_hWaitEvent == nullptr) {
        message = "Failed to create event for thread!";
        detail = SystemMessage(m_strDevice, GetLastError());
        return false;
    }
    if (!SetCommMask(m_hPort, EV_RXCHAR)) {
        message = "COM" + std::to_string(m_nPort) + " 포트를 읽을 수 없습니다.";
        detail = SystemMessage(m_strDevice, GetLastError());
        EndReaderWait();
        return false;
    }
    return true;
}

void CComm::EndReaderWait()
{
    if (m_hWaitEvent != nullptr) CloseHandle(m_hWaitEvent);
    m_hWaitEvent = nullptr;
}

CComm::WaitResult CComm::WaitForInput()
{
    // The port is open for overlapped I/O, so the wait has to be overlapped as well: without a
    // record WaitCommEvent may report completion at once and the reader would spin.
    DWORD mask = 0;
    OVERLAPPED wait{};
    wait.hEvent = m_hWaitEvent;
    if (!WaitCommEvent(m_hPort, &mask, &wait)) {
        DWORD ignored = 0;
        if (GetLastError() != ERROR_IO_PENDING || !GetOverlappedResult(m_hPort, &wait, &ignored, TRUE)) {
            return WAIT_HANGUP;  // a removed USB adapter fails every wait
        }
    }
    return (mask & EV_RXCHAR) != 0 ? WAIT_INPUT : WAIT_WOKEN;
}

std::uint32_t CComm::ReadAvailable(char* buffer, std::uint32_t maxBytes)
{
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(m_hPort, &errors, &status)) return 0;
    const DWORD wanted = std::min<DWORD>(maxBytes, status.cbInQue);
    if (wanted == 0) return 0;
    DWORD count = wanted;
    if (!ReadFile(m_hPort, buffer, wanted, &count, &m_ovRead)) {
        if (GetLastError() != ERROR_IO_PENDING || !GetOverlappedResult(m_hPort, &m_ovRead, &count, TRUE)) return 0;
    }
    return count;
}

BOOL CComm::Write(const char* data, std::uint32_t length)
{
    if (m_hPort == INVALID_HANDLE_VALUE) return 0;
    // Wait for the write to finish: an overlapped write reads the caller's buffer after
    // WriteFile returns, and callers pass buffers on their stack. The write time-out bounds it.
    DWORD written = 0;
    if (!WriteFile(m_hPort, data, length, &written, &m_ovWrite)) {
        if (GetLastError() != ERROR_IO_PENDING || !GetOverlappedResult(m_hPort, &m_ovWrite, &written, TRUE)) return 0;
    }
    return written == length ? 1 : 0;
}
