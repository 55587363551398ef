// Both framers over arbitrary chunked input: no overrun, and every delivered frame is well
// formed (bounded, NUL-terminated, free of its own delimiter).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "comm/comm.h"

namespace {

class CheckingOwner : public CCommOwner {
public:
    CheckingOwner(CComm& comm, bool rearm) : m_comm(comm), m_rearm(rearm) {}
    void PostCommFrame(int) override
    {
        const int length = m_comm.m_nFrameLen;
        if (length < 0 || length > COMM_FRAME_MAX || m_comm.m_frame[length] != '\0') std::abort();
        if (m_comm.m_nFrameState != FRAME_READY) std::abort();
        const char delimiter = m_comm.m_nFraming == FRAMING_LINES ? CR : ETX;
        if (std::memchr(m_comm.m_frame, delimiter, static_cast<std::size_t>(length)) != nullptr) std::abort();
        if (m_comm.m_nFraming == FRAMING_LINES && !m_comm.m_bLongReply && length == 0) std::abort();
        if (m_rearm) m_comm.RearmFramer();
    }
    void PostCommError(int, const OperatorMessage&) override {}
    void ShowCommError(const OperatorMessage&) override {}

private:
    CComm& m_comm;
    bool m_rearm;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) return 0;
    const std::uint8_t mode = data[0];
    CComm comm;
    CheckingOwner owner(comm, (mode & 4) == 0);
    comm.SetOwnerWindow(&owner);
    comm.m_nFraming = mode & 1;
    comm.m_bLongReply = (mode >> 1) & 1;
    // Each chunk: one length byte, then the bytes. Lengths 0..191 as they are, larger values in
    // steps of 32 up to the 2048-byte read size.
    std::size_t at = 1;
    while (at < size) {
        const std::size_t code = data[at++];
        std::size_t wanted = code < 192 ? code : (code - 191) * 32;
        if (wanted > COMM_READ_MAX) wanted = COMM_READ_MAX;
        const std::size_t length = wanted < size - at ? wanted : size - at;
        comm.Frame(std::string_view(reinterpret_cast<const char*>(data + at), length));
        if (comm.m_nFrameLen < 0 || comm.m_nFrameLen > COMM_FRAME_MAX) std::abort();
        at += length;
    }
    return 0;
}
