// The serial object's transport to a terminal on the network (ports/net_address.h), through
// gensio: the library ser2net itself is built on, which stacks TCP, Telnet with RFC 2217 and TLS
// from one description, so no Telnet or TLS code of our own.
//
// gensio runs its callbacks from an event loop that its user services. Each port has a loop of
// its own on a single-threaded selector, and one thread at a time services it: the owner's thread
// while it opens, sets the line and closes; the reader thread in between, which blocks in that
// loop (its one wait) and is then the only thread that touches the connection. Write() therefore
// queues the bytes for the reader and wakes it through a pipe the selector watches, as
// WakeReader() does.
#include <gensio/gensio.h>
#include <gensio/gensio_unix.h>
#include <gensio/selector.h>
#include <gensio/sergensio.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <functional>
#include <iterator>
#include <memory>
#include <mutex>
#include <vector>

#include "comm/comm_port.h"
#include "ports/net_address.h"
#include "comm/sigpipe_block.h"
#include "comm/trusted_certificates.h"
#include "comm/wake_pipe.h"

namespace {

using Clock = std::chrono::steady_clock;

// Connect, TLS handshake and line settings together; a host that does not answer is given up.
constexpr std::chrono::seconds kConnectTimeout{5};
// A peer that no longer reads cannot hold a close up for longer than this.
constexpr std::chrono::seconds kCloseTimeout{2};
// How long gensio waits for the server's answer to a line setting before it gives the setting
// up (GE_TIMEDOUT); SERCTL_WAIT_TIME in its Telnet code.
constexpr std::chrono::seconds kSettingAnswerTimeout{5};
// Frames waiting for the reader to send them; more means the line has stopped taking bytes.
constexpr std::size_t kOutboxMax = 64 * 1024;
// Received bytes not yet read. Bytes beyond are dropped, as noise between frames is: while the
// line settings are awaited nobody reads them (a server that floods would fill the memory), and
// afterwards the reader takes them long before one round of the loop brings this many.
constexpr std::size_t kInboxMax = 64 * 1024;
// How long the owner's thread services the loop before it looks whether the open was given up.
constexpr std::chrono::milliseconds kCancelPoll{50};

std::string HostAndPort(const NetAddress& address)
{
    const bool ipv6 = address.host.find(':') != std::string::npos;
    return (ipv6 ? "[" + address.host + "]" : address.host) + ":" + std::to_string(address.port);
}

// Indexed by CommParity.
constexpr unsigned kSerialParity[] = {SERGENSIO_PARITY_NONE, SERGENSIO_PARITY_ODD, SERGENSIO_PARITY_EVEN,
                                      SERGENSIO_PARITY_MARK, SERGENSIO_PARITY_SPACE};
// Indexed by CommStopBits: RFC 2217's stop-size values are 1 one, 3 one and a half, 2 two.
constexpr unsigned kSerialStopBits[] = {1, 3, 2};

using AskSetting = int (*)(sergensio*, unsigned, sergensio_done, void*);

// The line settings RFC 2217 asks the server for, in the order they are asked, with the names a
// refusal gives them. RFC 2217 numbers some values; `values` names them where it does.
struct SerialSetting {
    AskSetting ask;
    const char* english;
    const char* korean;
    std::vector<const char*> values;  // by RFC 2217's number; empty: the number is the value
};
const SerialSetting kSerialSettings[] = {
    {sergensio_baud, "baud rate", "통신 속도", {}},
    {sergensio_datasize, "data bits", "데이터 비트", {}},
    {sergensio_parity, "parity", "패리티", {"", "none", "odd", "even", "mark", "space"}},
    {sergensio_stopbits, "stop bits", "정지 비트", {"", "1", "2", "1.5"}},
    {sergensio_flowcontrol, "flow control", "흐름 제어", {"", "none", "XON/XOFF", "RTS/CTS"}},
};
constexpr std::size_t kSerialSettingCount = std::size(kSerialSettings);

std::string SettingValue(const SerialSetting& setting, unsigned value)
{
    if (value < setting.values.size() && *setting.values[value] != '\0') return setting.values[value];
    return std::to_string(value);
}

std::string Seconds(std::chrono::seconds duration)
{
    return std::to_string(duration.count());
}

class CNetCommPort : public CCommPort {
public:
    explicit CNetCommPort(std::string url) : m_strDevice(std::move(url)) {}
    ~CNetCommPort() override
    {
        Close();
        CloseIoEvents();
    }

    bool CreateIoEvents() override;
    void CloseIoEvents() override;
    bool Open(const CommLineSettings& settings, OperatorMessage& failure) override;
    bool ApplyLineSettings(const CommLineSettings& settings, OperatorMessage& failure) override;
    bool IsOpen() const override { return m_io != nullptr; }
    void Close() override;
    const std::string& Device() const override { return m_strDevice; }
    bool BeginReaderWait(OperatorMessage&) override;
    WaitResult WaitForInput() override;
    void EndReaderWait() override { m_pReaderSigpipe.reset(); }
    void WakeReader() override;
    std::uint32_t ReadAvailable(char* buffer, std::uint32_t maxBytes) override;
    bool Write(const char* data, std::uint32_t length) override;

private:
    // One line setting asked of the server, and its answer.
    struct LineSetting {
        unsigned wanted = 0;
        unsigned answer = 0;
        int error = GE_INPROGRESS;
    };

    static int OnEvent(gensio* io, void* self, int event, int err, unsigned char* buf, gensiods* count,
                       const char* const* auxdata);
    static void OnWakePipe(int fd, void* self);
    static void OnLog(gensio_os_funcs* os, gensio_log_levels level, const char* format, va_list args);

    // How a wait on the loop ended.
    enum Waited { WAITED_DONE, WAITED_TIMED_OUT, WAITED_CANCELLED };

    bool StartLoop();
    void StopLoop();
    int BuildStack();
    int CheckServerCertificate(gensio* io, int verifyError, const char* reason);
    void DescribeOpenFailure(int error, OperatorMessage& failure) const;
    bool AskLineSetting(sergensio* serial, std::size_t index, OperatorMessage& failure);
    bool DescribeRefusal(std::size_t index, OperatorMessage& failure) const;
    // Services the loop until `done` or `deadline`; with `cancellable`, also until the owner
    // gives the open up (CCommPort::SetCancelCheck).
    Waited ServiceUntil(const std::function<bool()>& done, Clock::time_point deadline, bool cancellable);
    void SendQueued();

    const std::string m_strDevice;
    NetAddress m_address;
    selector_s* m_sel = nullptr;
    gensio_os_funcs* m_os = nullptr;
    gensio* m_io = nullptr;
    // WakeReader and Write write a byte here; the selector wakes the reader's wait on it.
    CWakePipe m_wake;
    std::atomic<bool> m_bWakeRequested{false};
    std::atomic<bool> m_bLineGone{false};

    // Touched only by the thread that services the loop.
    std::string m_inbox;        // received, not yet read
    std::string m_sending;      // taken from the outbox, not yet accepted by gensio
    // Members, not locals: a late answer must land somewhere alive. Indexed as kSerialSettings.
    LineSetting m_settings[kSerialSettingCount];
    // Where the connect is: under way (neither), refused (done only) or up (both).
    bool m_bOpenDone = false;
    bool m_bConnected = false;
    int m_nOpenError = 0;
    Clock::time_point m_tOpenDeadline;  // connect, handshake and line settings share it
    std::string m_strCertificateProblem;
    std::string m_strLastLog;
    std::unique_ptr<CBlockSigpipe> m_pReaderSigpipe;  // the reader thread's, from its first wait

    std::mutex m_outboxMutex;
    std::string m_outbox;  // written by the owner, sent by the reader
};

bool CNetCommPort::CreateIoEvents()
{
    return m_wake.Open();
}

void CNetCommPort::CloseIoEvents()
{
    m_wake.Close();
}

bool CNetCommPort::StartLoop()
{
    if (sel_alloc_selector_nothread(&m_sel) != 0) return false;
    if (gensio_unix_funcs_alloc(m_sel, 0, &m_os) != 0) {
        sel_free_selector(m_sel);
        m_sel = nullptr;
        return false;
    }
    gensio_os_funcs_set_data(m_os, this);
    gensio_os_funcs_set_vlog(m_os, OnLog);
    sel_set_fd_handlers(m_sel, m_wake.ReadEnd(), this, OnWakePipe, nullptr, nullptr, nullptr);
    sel_set_fd_read_handler(m_sel, m_wake.ReadEnd(), SEL_FD_HANDLER_ENABLED);
    return true;
}

void CNetCommPort::StopLoop()
{
    if (m_os == nullptr) return;
    sel_clear_fd_handlers_norpt(m_sel, m_wake.ReadEnd());
    // gensio and the selector free what a closed connection held from the loop, once nothing
    // uses it any more: let them before the loop goes.
    for (int round = 0; round < 100; ++round) {
        gensio_time now{0, 0};
        if (gensio_os_funcs_service(m_os, &now) != 0) break;  // nothing was left to do
    }
    gensio_os_funcs_free(m_os);
    sel_free_selector(m_sel);
    m_os = nullptr;
    m_sel = nullptr;
}

int CNetCommPort::BuildStack()
{
    // nodelay: a frame is a few bytes that wait for their answer; Nagle would hold each one back.
    const std::string tcp = "tcp(nodelay)," + m_address.host + "," + std::to_string(m_address.port);
    int error = str_to_gensio(tcp.c_str(), m_os, nullptr, nullptr, &m_io);
    if (error != 0) return error;
    const auto addFilter = [this](const char* type, const char* argument) {
        const char* const args[] = {argument, nullptr};
        gensio* filter = nullptr;
        const int err = gensio_filter_alloc(type, m_io, args, m_os, nullptr, nullptr, &filter);
        if (err == 0) m_io = filter;
        return err;
    };
    if (m_address.tls) {
        // gensio takes a path ending in '/' as a hashed certificate directory, as the location is.
        error = addFilter("ssl", ("CA=" + TrustedCertificatesLocation()).c_str());
    }
    if (error == 0 && m_address.telnet) error = addFilter("telnet", "rfc2217");
    if (error != 0) {
        gensio_free(m_io);
        m_io = nullptr;
        return error;
    }
    gensio_set_callback(m_io, OnEvent, this);
    return 0;
}

bool CNetCommPort::Open(const CommLineSettings&, OperatorMessage& failure)
{
    const CBlockSigpipe blockSigpipe;
    std::string error;
    if (!ParseNetAddress(m_strDevice, m_address, error)) {
        failure.english = m_strDevice + ": not a network address";
        failure.korean = error;
        return false;
    }
    if (!StartLoop()) {
        failure.english = m_strDevice + ": the network library could not start";
        return false;
    }
    m_bLineGone = false;
    m_bWakeRequested = false;
    m_inbox.clear();
    m_sending.clear();
    m_strCertificateProblem.clear();
    m_strLastLog.clear();
    {
        std::lock_guard<std::mutex> lock(m_outboxMutex);
        m_outbox.clear();
    }

    m_bOpenDone = false;
    m_bConnected = false;
    m_tOpenDeadline = Clock::now() + kConnectTimeout;
    int result = BuildStack();
    if (result == 0) {
        result = gensio_open(
            m_io,
            [](gensio*, int err, void* self) {
                static_cast<CNetCommPort*>(self)->m_bOpenDone = true;
                static_cast<CNetCommPort*>(self)->m_nOpenError = err;
            },
            this);
    }
    if (result == 0) {
        switch (ServiceUntil([this] { return m_bOpenDone; }, m_tOpenDeadline, true)) {
        case WAITED_DONE: result = m_nOpenError; break;
        case WAITED_TIMED_OUT: result = GE_TIMEDOUT; break;
        case WAITED_CANCELLED: result = GE_INTERRUPTED; break;
        }
    }
    if (result != 0) {
        DescribeOpenFailure(result, failure);
        Close();
        return false;
    }
    m_bConnected = true;
    // Also what lets Telnet's answers to the line settings in.
    gensio_set_read_callback_enable(m_io, true);
    return true;
}

void CNetCommPort::DescribeOpenFailure(int error, OperatorMessage& failure) const
{
    const std::string where = HostAndPort(m_address);
    if (!m_strCertificateProblem.empty()) {
        const std::string trusted = TrustedCertificatesLocation();
        failure.english =
            m_strDevice + ": server certificate refused: " + m_strCertificateProblem + " (trusting " + trusted + ")";
        failure.korean = where + " 서버의 인증서를 받아들일 수 없습니다: " + m_strCertificateProblem +
                 " (신뢰하는 인증기관: " + trusted + ", --ca 파일로 바꿀 수 있습니다)";
        return;
    }
    if (error == GE_TIMEDOUT) {
        failure.english = m_strDevice + ": no connection within " + std::to_string(kConnectTimeout.count()) + " s";
        failure.korean = where + " 에 " + std::to_string(kConnectTimeout.count()) + "초 안에 연결되지 않았습니다.";
        return;
    }
    std::string reason = gensio_err_to_str(error);
    if (error == GE_OSERR && !m_strLastLog.empty()) reason = m_strLastLog;
    failure.english = m_strDevice + ": " + reason;
    failure.korean = where + " 에 연결할 수 없습니다: " + reason;
}

int CNetCommPort::CheckServerCertificate(gensio* io, int verifyError, const char* reason)
{
    if (verifyError != 0) {
        m_strCertificateProblem = reason != nullptr ? reason : gensio_err_to_str(verifyError);
        return verifyError;
    }
    // gensio checks the chain; the name is ours to check.
    std::string pem(16 * 1024, '\0');
    gensiods length = pem.size();
    int error =
        gensio_control(io, GENSIO_CONTROL_DEPTH_FIRST, GENSIO_CONTROL_GET, GENSIO_CONTROL_CERT, pem.data(), &length);
    if (error == 0 && length >= pem.size()) {  // it said how long it is
        pem.resize(length + 1);
        length = pem.size();
        error = gensio_control(io, GENSIO_CONTROL_DEPTH_FIRST, GENSIO_CONTROL_GET, GENSIO_CONTROL_CERT, pem.data(),
                               &length);
    }
    pem.resize(error == 0 ? length : 0);
    if (!CertificateNamesHost(pem, m_address.host)) {
        m_strCertificateProblem = "the certificate is not made out to " + m_address.host;
        return GE_CERTINVALID;
    }
    return 0;
}

bool CNetCommPort::ApplyLineSettings(const CommLineSettings& settings, OperatorMessage& failure)
{
    // Raw TCP carries bytes only: the device server's port keeps the settings it was given.
    if (!m_address.telnet) return true;
    const CBlockSigpipe blockSigpipe;
    sergensio* serial = gensio_to_sergensio(m_io);
    if (serial == nullptr) return false;
    const unsigned wanted[kSerialSettingCount] = {
        settings.baudRate, settings.byteSize, kSerialParity[static_cast<int>(settings.parity)],
        kSerialStopBits[static_cast<int>(settings.stopBits)], SERGENSIO_FLOWCONTROL_NONE};
    // One at a time, each until its answer or until gensio gives it up: gensio frees what it
    // holds for a setting only then (freeing the connection first loses it), and it gives up
    // waiting requests one a second, not all at their time.
    for (std::size_t i = 0; i < kSerialSettingCount; ++i) {
        if (i > 0 && Clock::now() >= m_tOpenDeadline) {
            const SerialSetting& kind = kSerialSettings[i];
            failure.english = m_strDevice + ": the server took longer than " + Seconds(kConnectTimeout) +
                              " s for the line settings (" + kind.english + " not yet set)";
            failure.korean = HostAndPort(m_address) + " 서버가 " + Seconds(kConnectTimeout) +
                             "초 안에 통신 설정을 마치지 않았습니다 (" + kind.korean + " 설정 전)";
            return false;
        }
        m_settings[i] = {.wanted = wanted[i]};
        if (!AskLineSetting(serial, i, failure)) return false;
        const Waited answered = ServiceUntil([this, i] { return m_settings[i].error != GE_INPROGRESS; },
                                             Clock::now() + kSettingAnswerTimeout + std::chrono::seconds(1), true);
        if (answered == WAITED_CANCELLED) return false;
        if (DescribeRefusal(i, failure)) return false;
    }
    // DTR and RTS are raised without waiting for the answer: a port without modem lines (ser2net
    // on a pseudo-terminal) never gives one, as a local pseudo-terminal refuses them too.
    sergensio_dtr(serial, SERGENSIO_DTR_ON, nullptr, nullptr);
    sergensio_rts(serial, SERGENSIO_RTS_ON, nullptr, nullptr);
    sergensio_flush(serial, SERGENSIO_FLUSH_RCV_XMIT_BUFFERS);
    m_inbox.clear();
    return true;
}

// gensio's Telnet open ends at the server's first word on COM-PORT-OPTION, and that may be the
// server's own offer (WILL) rather than its answer to ours (DO): pyserial's server sends WILL
// first and DO a moment later, ser2net DO at once. Until the DO has come, gensio refuses to ask
// (GE_NOTSUP); so a setting is asked again after each thing the server says, until the connect
// deadline. A server that never agrees is a Telnet port without RFC 2217.
bool CNetCommPort::AskLineSetting(sergensio* serial, std::size_t index, OperatorMessage& failure)
{
    const sergensio_done answered = [](sergensio*, int err, unsigned value, void* setting) {
        static_cast<LineSetting*>(setting)->error = err;
        static_cast<LineSetting*>(setting)->answer = value;
    };
    LineSetting& setting = m_settings[index];
    int error = GE_NOTSUP;
    const Waited agreed = ServiceUntil(
        [&] { return (error = kSerialSettings[index].ask(serial, setting.wanted, answered, &setting)) != GE_NOTSUP; },
        m_tOpenDeadline, true);
    if (agreed == WAITED_CANCELLED) return false;
    const std::string where = HostAndPort(m_address);
    if (agreed == WAITED_TIMED_OUT) {
        failure.english = m_strDevice + ": the server did not take up RFC 2217 (COM-PORT-OPTION) within " +
                          Seconds(kConnectTimeout) + " s";
        failure.korean = where + " 서버가 " + Seconds(kConnectTimeout) +
                         "초 안에 RFC 2217 (COM-PORT-OPTION) 을 받아들이지 않았습니다.";
        return false;
    }
    if (error != 0) {
        failure.english = m_strDevice + ": the line settings could not be asked: " + gensio_err_to_str(error);
        failure.korean = where + " 서버에 통신 설정을 요청할 수 없습니다: " + gensio_err_to_str(error);
        return false;
    }
    return true;
}

// True, with `failure` naming the setting and what the server answered, when the server did not
// take setting `index`.
bool CNetCommPort::DescribeRefusal(std::size_t index, OperatorMessage& failure) const
{
    const std::string where = HostAndPort(m_address);
    const SerialSetting& kind = kSerialSettings[index];
    const LineSetting& setting = m_settings[index];
    const std::string wanted = SettingValue(kind, setting.wanted);
    if (setting.error == GE_INPROGRESS || setting.error == GE_TIMEDOUT) {
        failure.english = m_strDevice + ": no answer to the " + kind.english + " " + wanted + " within " +
                          Seconds(kSettingAnswerTimeout) + " s";
        failure.korean = where + " 서버가 " + Seconds(kSettingAnswerTimeout) + "초 안에 " + kind.korean + " " + wanted +
                         " 설정에 답하지 않았습니다.";
    } else if (setting.error != 0) {
        const std::string reason = gensio_err_to_str(setting.error);
        failure.english = m_strDevice + ": the server refused the " + kind.english + " " + wanted + ": " + reason;
        failure.korean = where + " 서버가 " + kind.korean + " " + wanted + " 설정을 거부했습니다: " + reason;
    } else if (setting.answer != setting.wanted) {
        const std::string answer = SettingValue(kind, setting.answer);
        failure.english =
            m_strDevice + ": the server refused the " + kind.english + " " + wanted + ": it answered " + answer;
        failure.korean = where + " 서버가 " + kind.korean + " " + wanted +
                         " 설정을 받아들이지 않았습니다 (서버의 답: " + answer + ")";
    } else {
        return false;
    }
    return true;
}

void CNetCommPort::Close()
{
    if (m_io != nullptr) {
        const CBlockSigpipe blockSigpipe;
        if (m_bConnected && m_address.telnet && !m_bLineGone) {
            if (sergensio* serial = gensio_to_sergensio(m_io)) {
                sergensio_dtr(serial, SERGENSIO_DTR_OFF, nullptr, nullptr);
                sergensio_flush(serial, SERGENSIO_FLUSH_RCV_XMIT_BUFFERS);
            }
        }
        // A refused connect is closed already; one under way or up is closed here.
        if (m_bConnected || !m_bOpenDone) {
            bool closed = false;
            const int error = gensio_close(
                m_io, [](gensio*, void* flag) { *static_cast<bool*>(flag) = true; }, &closed);
            // Not cancellable: a close given up would keep the connection.
            if (error == 0 &&
                ServiceUntil([&closed] { return closed; }, Clock::now() + kCloseTimeout, false) != WAITED_DONE) {
                // Left as it is: nobody services this loop again, so no callback can write to
                // `closed`, and nothing is freed under gensio's feet. A rare peer that stopped
                // reading keeps its connection (and our memory) until this process ends.
                m_io = nullptr;
                m_os = nullptr;
                m_sel = nullptr;
                return;
            }
        }
        gensio_free(m_io);
        m_io = nullptr;
    }
    m_bConnected = false;
    m_inbox.clear();
    m_sending.clear();
    StopLoop();
}

CNetCommPort::Waited CNetCommPort::ServiceUntil(const std::function<bool()>& done, Clock::time_point deadline,
                                                bool cancellable)
{
    while (!done()) {
        if (cancellable && Cancelled()) return WAITED_CANCELLED;
        auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - Clock::now());
        if (left.count() <= 0) return WAITED_TIMED_OUT;
        // A signal ends the wait early (EINTR); the slice covers one that came just before it.
        if (cancellable) left = std::min<std::chrono::nanoseconds>(left, kCancelPoll);
        gensio_time timeout{left.count() / 1'000'000'000, static_cast<std::int32_t>(left.count() % 1'000'000'000)};
        gensio_os_funcs_service(m_os, &timeout);
    }
    return WAITED_DONE;
}

int CNetCommPort::OnEvent(gensio* io, void* self, int event, int err, unsigned char* buf, gensiods* count,
                          const char* const* auxdata)
{
    auto* port = static_cast<CNetCommPort*>(self);
    switch (event) {
    case GENSIO_EVENT_READ:
        if (err != 0) {
            // The server closed the connection (or it broke): the line is gone, as a hang-up.
            port->m_bLineGone = true;
            gensio_set_read_callback_enable(io, false);
            return 0;
        }
        port->m_inbox.append(reinterpret_cast<const char*>(buf),
                             std::min<std::size_t>(*count, kInboxMax - std::min(kInboxMax, port->m_inbox.size())));
        return 0;
    case GENSIO_EVENT_WRITE_READY:
        gensio_set_write_callback_enable(io, false);  // the reader's loop sends the rest
        return 0;
    case GENSIO_EVENT_POSTCERT_VERIFY:
        return port->CheckServerCertificate(io, err, auxdata != nullptr ? auxdata[0] : nullptr);
    default: return GE_NOTSUP;
    }
}

void CNetCommPort::OnWakePipe(int, void* self)
{
    // Only to end the loop's wait; the flags and the outbox say why.
    static_cast<CNetCommPort*>(self)->m_wake.Drain();
}

void CNetCommPort::OnLog(gensio_os_funcs* os, gensio_log_levels, const char* format, va_list args)
{
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    static_cast<CNetCommPort*>(gensio_os_funcs_get_data(os))->m_strLastLog = text;
}

void CNetCommPort::WakeReader()
{
    m_bWakeRequested = true;
    m_wake.Wake();
}

bool CNetCommPort::BeginReaderWait(OperatorMessage&)
{
    m_pReaderSigpipe = std::make_unique<CBlockSigpipe>();
    return true;
}

CCommPort::WaitResult CNetCommPort::WaitForInput()
{
    for (;;) {
        if (!m_inbox.empty()) return WAIT_INPUT;
        if (m_bWakeRequested.exchange(false)) return WAIT_WOKEN;
        if (m_bLineGone) return WAIT_HANGUP;
        SendQueued();
        if (m_bLineGone) continue;
        gensio_os_funcs_service(m_os, nullptr);
    }
}

std::uint32_t CNetCommPort::ReadAvailable(char* buffer, std::uint32_t maxBytes)
{
    const std::size_t n = std::min<std::size_t>(maxBytes, m_inbox.size());
    m_inbox.copy(buffer, n);
    m_inbox.erase(0, n);
    return static_cast<std::uint32_t>(n);
}

bool CNetCommPort::Write(const char* data, std::uint32_t length)
{
    if (m_io == nullptr || m_bLineGone) return false;
    {
        std::lock_guard<std::mutex> lock(m_outboxMutex);
        if (m_outbox.size() + length > kOutboxMax) return false;
        m_outbox.append(data, length);
    }
    m_wake.Wake();
    return true;
}

void CNetCommPort::SendQueued()
{
    {
        std::lock_guard<std::mutex> lock(m_outboxMutex);
        m_sending += m_outbox;
        m_outbox.clear();
    }
    while (!m_sending.empty()) {
        gensiods written = 0;
        if (gensio_write(m_io, &written, m_sending.data(), m_sending.size(), nullptr) != 0) {
            m_bLineGone = true;
            m_sending.clear();
            return;
        }
        m_sending.erase(0, written);
        if (written == 0) {
            gensio_set_write_callback_enable(m_io, true);  // the loop says when it takes more
            return;
        }
    }
}

}  // namespace

std::unique_ptr<CCommPort> CreateNetworkCommPort(const std::string& url)
{
    return std::make_unique<CNetCommPort>(url);
}
