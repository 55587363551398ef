#include "comm/comm_port.h"
#include "comm/network_part.h"

namespace {

class CRefusedNetworkPort : public CCommPort {
public:
    CRefusedNetworkPort(std::string url, OperatorMessage reason) : m_strDevice(std::move(url)), m_reason(std::move(reason))
    {
    }

    bool CreateIoEvents() override { return true; }
    void CloseIoEvents() override {}
    bool Open(const CommLineSettings&, OperatorMessage& failure) override
    {
        failure = m_reason;
        return false;
    }
    bool ApplyLineSettings(const CommLineSettings&, OperatorMessage&) override { return false; }
    bool IsOpen() const override { return false; }
    void Close() override {}
    const std::string& Device() const override { return m_strDevice; }
    bool BeginReaderWait(OperatorMessage&) override { return false; }
    WaitResult WaitForInput() override { return WAIT_HANGUP; }
    void EndReaderWait() override {}
    void WakeReader() override {}
    std::uint32_t ReadAvailable(char*, std::uint32_t) override { return 0; }
    bool Write(const char*, std::uint32_t) override { return false; }

private:
    std::string m_strDevice;
    OperatorMessage m_reason;
};

}  // namespace

std::unique_ptr<CCommPort> CreateRefusedNetworkPort(const std::string& url, const OperatorMessage& reason)
{
    return std::make_unique<CRefusedNetworkPort>(url, reason);
}
