// The portable half of the serial object: state, framers, hand-off, reader loop, open and close
// order. The OS calls live behind CCommPort (comm_port.h).
#include "comm/comm.h"

#include <cstdio>

#include "base/console_text.h"
#include "comm/comm_port.h"

namespace {

std::string FormatPort(const char* format, int port)
{
    char text[128];
    std::snprintf(text, sizeof text, format, port);
    return text;
}

}  // namespace

std::string CommDeviceName(int port)
{
    // COM10 and up exist only in the device namespace.
    return FormatPort(port < 10 ? "COM%d" : "\\\\.\\COM%d", port);
}

CComm::CComm() = default;

CComm::~CComm()
{
    Shutdown();
}

void CComm::SetPortParams(std::uint8_t port, std::uint32_t baudRate, std::uint8_t byteSize, CommStopBits stopBits,
                          CommParity parity)
{
    m_nPort = port;
    m_baudRate = baudRate;
    m_byteSize = byteSize;
    m_stopBits = stopBits;
    m_parity = parity;
}

CommLineSettings CComm::LineSettings() const
{
    return {
        .port = m_nPort, .baudRate = m_baudRate, .byteSize = m_byteSize, .parity = m_parity, .stopBits = m_stopBits};
}

bool CComm::IsDeviceOpen() const
{
    return m_pPort && m_pPort->IsOpen();
}

bool CComm::CreateIoEvents()
{
    // A reader that ended by itself (the device vanished) still has to be joined.
    if (m_bRunning || m_reader.joinable() || IsDeviceOpen()) Close();
    m_pPort = CreateCommPort(m_nPort);
    return m_pPort->CreateIoEvents();
}

bool CComm::Open()
{
    // Chooses the transport again: the port may have been set to another kind since.
    if (!CreateIoEvents()) {
        ReportOpenFailure({"", "I/O events could not be created"});
        return false;
    }
    m_pPort->SetCancelCheck([this] {
        CCommOwner* owner = m_hOwner;
        return owner != nullptr && owner->OpenCancelled();
    });
    if (OperatorMessage failure; !m_pPort->Open(LineSettings(), failure)) {
        ReportOpenFailure(failure);
        return false;
    }
    if (OperatorMessage failure; !ApplyLineSettings(failure)) {
        m_bRunning = 0;
        m_pPort->Close();
        if (failure.english.empty()) failure.english = m_pPort->Device() + ": line settings refused (9600 8N1)";
        ReportOpenFailure(failure);
        return false;
    }
    // A frame left unhandled by the last session must not block this one.
    m_nFrameLen = 0;
    m_nFrameState = FRAME_IDLE;
    m_bRunning = 1;
    m_reader = std::thread(&CComm::ReaderThreadProc, this);
    return true;
}

void CComm::ReportOpenFailure(const OperatorMessage& failure)
{
    OperatorMessage error{FormatPort("COM%d 포트를 열수가 없습니다.", m_nPort), failure.english};
    if (!failure.korean.empty()) error.korean += "\n" + failure.korean;
    if (CCommOwner* owner = m_hOwner) {
        owner->ShowCommError(error);
    } else {
        WriteText(stderr, error.korean + " (" + error.english + ")\n");
    }
}

bool CComm::ApplyLineSettings(OperatorMessage& failure)
{
    return m_pPort && m_pPort->ApplyLineSettings(LineSettings(), failure);
}

std::uint32_t CComm::ReadAvailable(char* buffer, std::uint32_t maxBytes)
{
    return m_pPort ? m_pPort->ReadAvailable(buffer, maxBytes) : 0;
}

bool CComm::Write(const char* data, std::uint32_t length)
{
    return IsDeviceOpen() && m_pPort->Write(data, length);
}

bool CComm::Close()
{
    StopReader();
    if (m_pPort) m_pPort->Close();
    return true;
}

bool CComm::Shutdown()
{
    if (m_bRunning || m_reader.joinable() || IsDeviceOpen()) Close();
    if (m_pPort) m_pPort->CloseIoEvents();
    m_pPort.reset();
    return true;
}

void CComm::StopReader()
{
    {
        std::lock_guard<std::mutex> lock(m_handoffMutex);
        m_bRunning = 0;
    }
    m_handoff.notify_all();
    if (m_reader.joinable()) {
        m_pPort->WakeReader();
        m_reader.join();
    }
}

void CComm::DiscardPartialReply()
{
    {
        std::lock_guard<std::mutex> lock(m_handoffMutex);
        m_replyArriving.reset();
    }
    m_bDiscardPartial = true;
}

std::optional<ReplyArrival> CComm::ReplyArriving() const
{
    std::lock_guard<std::mutex> lock(m_handoffMutex);
    return m_replyArriving;
}

void CComm::RearmFramer()
{
    {
        std::lock_guard<std::mutex> lock(m_handoffMutex);
        m_nFrameLen = 0;
        m_nFrameState = FRAME_IDLE;
    }
    m_handoff.notify_all();
}

void CComm::ReaderThreadProc()
{
    if (OperatorMessage failure; !m_pPort->BeginReaderWait(failure)) {
        if (CCommOwner* owner = m_hOwner) owner->PostCommError(m_nPort, failure);
        return;
    }
    char buffer[COMM_READ_MAX];
    while (m_bRunning) {
        const CCommPort::WaitResult wait = m_pPort->WaitForInput();
        if (wait == CCommPort::WAIT_WOKEN) continue;
        const std::uint32_t n = ReadAvailable(buffer, sizeof buffer);
        if (n > 0) {
            m_nBytesRead += n;
            Frame(std::string_view(buffer, n));
        } else if (wait == CCommPort::WAIT_HANGUP) {
            // Nothing left to read and the line is gone: end instead of polling a dead device.
            if (m_bRunning.exchange(0)) {
                if (CCommOwner* owner = m_hOwner) {
                    owner->PostCommError(m_nPort, {FormatPort("COM%d 포트의 연결이 끊어졌습니다.", m_nPort),
                                                   m_pPort->Device() + ": hang-up"});
                }
            }
            break;
        }
    }
    m_pPort->EndReaderWait();
}

void CComm::Frame(std::string_view chunk)
{
    const auto readAt = std::chrono::steady_clock::now();
    // Asked between two reads, so a chunk is never cut in the middle.
    if (m_bDiscardPartial.exchange(false) && m_nFrameState != FRAME_READY) {
        m_nFrameLen = 0;
        m_nFrameState = FRAME_IDLE;
    }
    while (!chunk.empty() && m_nFrameState != FRAME_READY) {
        const int lengthBefore = m_nFrameLen;
        const int stateBefore = m_nFrameState;
        // Read again after every frame: the owner may have switched the framing or the long
        // reply while it handled the last one.
        const std::size_t taken =
            m_nFraming == FRAMING_LINES ? FrameLines(chunk, m_bLongReply != 0) : FrameStxEtx(chunk);
        chunk.remove_prefix(taken);
        NoteArrival(lengthBefore, stateBefore, readAt);
        if (m_nFrameState == FRAME_READY && !HandOff()) return;
    }
}

// Only growth counts: a frame already cut at COMM_FRAME_MAX, or bytes the framer drops, are no
// sign of a reply on its way. A reply's first byte is that of the read it began in.
void CComm::NoteArrival(int lengthBefore, int stateBefore, std::chrono::steady_clock::time_point readAt)
{
    const auto holdsPart = [](int state, int length) {
        return state != FRAME_READY && (length > 0 || state == FRAME_IN_STX);
    };
    const int state = m_nFrameState;
    const int length = m_nFrameLen;
    std::lock_guard<std::mutex> lock(m_handoffMutex);
    if (!holdsPart(state, length)) {
        m_replyArriving.reset();
    } else if (!m_replyArriving || !holdsPart(stateBefore, lengthBefore)) {
        m_replyArriving = ReplyArrival{readAt, readAt};
    } else if (length > lengthBefore || state != stateBefore) {
        m_replyArriving->lastByte = readAt;
    }
}

void CComm::CompleteFrame(int length)
{
    m_frame[length] = '\0';
    m_nFrameLen = length;
    std::lock_guard<std::mutex> lock(m_handoffMutex);
    m_nFrameState = FRAME_READY;
}

bool CComm::HandOff()
{
    CCommOwner* owner = m_hOwner;
    if (owner == nullptr) return false;  // stays ready, so later chunks are dropped until someone re-arms
    owner->PostCommFrame(m_nPort);
    std::unique_lock<std::mutex> lock(m_handoffMutex);
    m_handoff.wait(lock, [this] { return m_nFrameState != FRAME_READY || !m_bRunning; });
    return m_nFrameState != FRAME_READY;
}

// Overlong frames: the buffer holds COMM_FRAME_MAX bytes; later bytes are dropped until the
// delimiter, and the cut frame is still delivered so that an upload keeps advancing.
//
// A state that belongs to the other framer (the operator switched the model in the middle of a
// frame) counts as idle; otherwise the receiver would ignore every byte from then on.

std::size_t CComm::FrameLines(std::string_view chunk, bool longReply)
{
    int state = m_nFrameState;
    int length = m_nFrameLen;
    for (std::size_t i = 0; i < chunk.size(); ++i) {
        const char b = chunk[i];
        if (state == FRAME_GOT_CR) {
            if (b != LF) continue;  // bytes between CR and LF are dropped
            if (length == 0 || (longReply && length < LONG_REPLY_MIN_LEN)) {
                state = FRAME_IDLE;  // empty line, or a long reply that goes on
                continue;
            }
            CompleteFrame(length);
            return i + 1;
        }
        if (b == CR) {
            state = FRAME_GOT_CR;
        } else if (length < COMM_FRAME_MAX) {
            m_frame[length++] = b;
        }
    }
    m_nFrameLen = length;
    m_nFrameState = state;
    return chunk.size();
}

std::size_t CComm::FrameStxEtx(std::string_view chunk)
{
    int state = m_nFrameState;
    int length = m_nFrameLen;
    for (std::size_t i = 0; i < chunk.size(); ++i) {
        const char b = chunk[i];
        if (state != FRAME_IN_STX) {
            length = 0;
            if (b == STX) state = FRAME_IN_STX;
        } else if (b == ETX) {
            CompleteFrame(length);
            return i + 1;
        } else if (length < COMM_FRAME_MAX) {
            m_frame[length++] = b;
        }
    }
    m_nFrameLen = length;
    m_nFrameState = state;
    return chunk.size();
}
