// The serial object's transport on Windows: overlapped Win32 communications. The reader waits
// for EV_RXCHAR and for a stop event at once, so that closing never depends on when a wait began.
#include <algorithm>

#include "comm/comm.h"
#include "comm/comm_port.h"
#include "base/windows_api.h"

namespace {

// Indexed by CommParity and CommStopBits.
constexpr BYTE kDcbParity[] = {NOPARITY, ODDPARITY, EVENPARITY, MARKPARITY, SPACEPARITY};
constexpr BYTE kDcbStopBits[] = {ONESTOPBIT, ONE5STOPBITS, TWOSTOPBITS};

// How long the reader pauses after a wait that ended without input before it waits again.
constexpr DWORD kEmptyWaitPauseMs = 50;

std::string SystemMessage(const std::string& device, DWORD error)
{
    char text[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                        text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
    return device + ": " + (message.empty() ? "error " + std::to_string(error) : message);
}

HANDLE CreateManualResetEvent()
{
    return CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

void CloseEvent(HANDLE& event)
{
    if (event != nullptr) CloseHandle(event);
    event = nullptr;
}

class CWin32CommPort : public CCommPort {
public:
    ~CWin32CommPort() override
    {
        Close();
        CloseIoEvents();
    }

    bool CreateIoEvents() override;
    void CloseIoEvents() override;
    bool Open(const CommLineSettings& settings, OperatorMessage& failure) override;
    bool ApplyLineSettings(const CommLineSettings& settings, OperatorMessage& failure) override;
    bool IsOpen() const override { return m_hPort != INVALID_HANDLE_VALUE; }
    void Close() override;
    const std::string& Device() const override { return m_strDevice; }
    bool BeginReaderWait(OperatorMessage& failure) override;
    WaitResult WaitForInput() override;
    void EndReaderWait() override { CloseEvent(m_hWaitEvent); }
    void WakeReader() override { SetEvent(m_hStop); }
    std::uint32_t ReadAvailable(char* buffer, std::uint32_t maxBytes) override;
    bool Write(const char* data, std::uint32_t length) override;

private:
    bool QueryInputQueue(DWORD& queued);
    WaitResult AfterEmptyWait();

    HANDLE m_hPort = INVALID_HANDLE_VALUE;
    OVERLAPPED m_ovRead{};   // every read
    OVERLAPPED m_ovWrite{};  // every write
    // Set by WakeReader and left set until the next Open, so that a wake-up that comes before
    // the reader begins its wait still ends that wait.
    HANDLE m_hStop = nullptr;
    HANDLE m_hWaitEvent = nullptr;  // the reader's, for its overlapped WaitCommEvent
    int m_nPort = 0;
    std::string m_strDevice;
};

}  // namespace

std::unique_ptr<CCommPort> CreateSystemCommPort()
{
    return std::make_unique<CWin32CommPort>();
}

bool CWin32CommPort::CreateIoEvents()
{
    CloseIoEvents();
    m_ovRead.hEvent = CreateManualResetEvent();
    m_ovWrite.hEvent = CreateManualResetEvent();
    m_hStop = CreateManualResetEvent();
    if (m_ovRead.hEvent != nullptr && m_ovWrite.hEvent != nullptr && m_hStop != nullptr) return true;
    CloseIoEvents();
    return false;
}

void CWin32CommPort::CloseIoEvents()
{
    CloseEvent(m_ovRead.hEvent);
    CloseEvent(m_ovWrite.hEvent);
    CloseEvent(m_hStop);
}

bool CWin32CommPort::Open(const CommLineSettings& settings, OperatorMessage& failure)
{
    m_nPort = settings.port;
    m_strDevice = CommDeviceName(settings.port);
    m_hPort = CreateFileA(m_strDevice.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
    if (m_hPort == INVALID_HANDLE_VALUE) {
        failure.english = SystemMessage(m_strDevice, GetLastError());
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
    ResetEvent(m_hStop);
    return true;
}

bool CWin32CommPort::ApplyLineSettings(const CommLineSettings& settings, OperatorMessage& failure)
{
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(m_hPort, &dcb);
    dcb.BaudRate = settings.baudRate;
    dcb.ByteSize = settings.byteSize;
    dcb.Parity = kDcbParity[static_cast<int>(settings.parity)];
    dcb.StopBits = kDcbStopBits[static_cast<int>(settings.stopBits)];
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
    if (SetCommState(m_hPort, &dcb)) return true;
    failure.english = SystemMessage(m_strDevice, GetLastError());
    return false;
}

void CWin32CommPort::Close()
{
    if (m_hPort == INVALID_HANDLE_VALUE) return;
    EscapeCommFunction(m_hPort, CLRDTR);
    PurgeComm(m_hPort, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    CloseHandle(m_hPort);
    m_hPort = INVALID_HANDLE_VALUE;
}

bool CWin32CommPort::BeginReaderWait(OperatorMessage& failure)
{
    m_hWaitEvent = CreateManualResetEvent();
    if (m_hWaitEvent == nullptr) {
        failure.korean = "Failed to create event for thread!";
        failure.english = SystemMessage(m_strDevice, GetLastError());
        return false;
    }
    if (!SetCommMask(m_hPort, EV_RXCHAR)) {
        failure.korean = "COM" + std::to_string(m_nPort) + " 포트를 읽을 수 없습니다.";
        failure.english = SystemMessage(m_strDevice, GetLastError());
        EndReaderWait();
        return false;
    }
    return true;
}

bool CWin32CommPort::QueryInputQueue(DWORD& queued)
{
    DWORD errors = 0;
    COMSTAT status{};
    // Also clears a pending line error, which would otherwise stop further reads.
    if (!ClearCommError(m_hPort, &errors, &status)) return false;
    queued = status.cbInQue;
    return true;
}

CCommPort::WaitResult CWin32CommPort::WaitForInput()
{
    // EV_RXCHAR reports bytes that arrive during the wait; those that came while the last chunk
    // was being framed are already queued and would wait for the next byte.
    DWORD queued = 0;
    if (!QueryInputQueue(queued)) return WAIT_HANGUP;
    if (queued > 0) return WAIT_INPUT;

    // The port is open for overlapped I/O, so the wait has to be overlapped as well.
    DWORD mask = 0;
    OVERLAPPED wait{};
    wait.hEvent = m_hWaitEvent;
    ResetEvent(m_hWaitEvent);
    BOOL done = WaitCommEvent(m_hPort, &mask, &wait);
    if (!done && GetLastError() == ERROR_IO_PENDING) {
        const HANDLE events[2] = {m_hStop, m_hWaitEvent};
        DWORD ignored = 0;
        if (WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0) {
            // Windows ends the wait on the cancel. Wine cannot cancel a serial wait (ERROR_NOT_FOUND)
            // but ends it on a mask of 0, which cannot come too early here: this wait is pending.
            // The record lives on this stack, so the wait must have finished with it before we
            // return, and before Close may close the handle.
            CancelIoEx(m_hPort, &wait);
            SetCommMask(m_hPort, 0);
            GetOverlappedResult(m_hPort, &wait, &ignored, TRUE);
            return WAIT_WOKEN;
        }
        done = GetOverlappedResult(m_hPort, &wait, &ignored, FALSE);
    }
    if (done && (mask & EV_RXCHAR) != 0) return WAIT_INPUT;
    return AfterEmptyWait();
}

// A wait that ended without EV_RXCHAR: the mask was changed under it (it then ends with mask
// 0), or the driver gave it up. Wine, for one, aborts every wait (ERROR_OPERATION_ABORTED) on a
// line whose modem status it cannot read, such as a pseudo-terminal. Neither means the line is
// gone: only a port that no longer answers ClearCommError is (a USB adapter pulled). The pause
// keeps a wait that ends at once from spinning the reader; it polls every 50 ms instead.
CCommPort::WaitResult CWin32CommPort::AfterEmptyWait()
{
    DWORD queued = 0;
    if (!QueryInputQueue(queued)) return WAIT_HANGUP;
    if (queued > 0) return WAIT_INPUT;
    // A mask of 0 left in place would make every later wait endless.
    SetCommMask(m_hPort, EV_RXCHAR);
    return WaitForSingleObject(m_hStop, kEmptyWaitPauseMs) == WAIT_OBJECT_0 ? WAIT_WOKEN : WAIT_INPUT;
}

std::uint32_t CWin32CommPort::ReadAvailable(char* buffer, std::uint32_t maxBytes)
{
    DWORD queued = 0;
    if (!QueryInputQueue(queued)) return 0;
    const DWORD wanted = std::min<DWORD>(maxBytes, queued);
    if (wanted == 0) return 0;
    DWORD count = wanted;
    if (!ReadFile(m_hPort, buffer, wanted, &count, &m_ovRead)) {
        if (GetLastError() != ERROR_IO_PENDING || !GetOverlappedResult(m_hPort, &m_ovRead, &count, TRUE)) return 0;
    }
    return count;
}

bool CWin32CommPort::Write(const char* data, std::uint32_t length)
{
    if (m_hPort == INVALID_HANDLE_VALUE) return false;
    // Wait for the write to finish: an overlapped write reads the caller's buffer after
    // WriteFile returns, and callers pass buffers on their stack. The write time-out bounds it.
    DWORD written = 0;
    if (!WriteFile(m_hPort, data, length, &written, &m_ovWrite)) {
        if (GetLastError() != ERROR_IO_PENDING || !GetOverlappedResult(m_hPort, &m_ovWrite, &written, TRUE))
            return false;
    }
    return written == length;
}
