// Builds without network ports (Windows: Debian has no gensio for mingw-w64). The port map still
// takes network addresses; opening one, or naming a CA file for one, says that this build cannot.
#include "comm/comm_port.h"
#include "comm/trusted_certificates.h"

namespace {

class CMissingNetworkPort : public CCommPort {
public:
    explicit CMissingNetworkPort(std::string url) : m_strDevice(std::move(url)) {}

    bool CreateIoEvents() override { return true; }
    void CloseIoEvents() override {}
    bool Open(const CommLineSettings&, OperatorMessage& failure) override
    {
        failure.english = m_strDevice + ": this build has no network ports";
        failure.korean = "이 빌드에는 네트워크 포트가 없습니다: " + m_strDevice;
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
};

}  // namespace

std::unique_ptr<CCommPort> CreateNetworkCommPort(const std::string& url)
{
    return std::make_unique<CMissingNetworkPort>(url);
}

bool SetTrustedCertificates(const std::string& caFile, OperatorMessage& failure)
{
    if (caFile.empty()) return true;
    failure.korean = "이 빌드에는 네트워크 포트가 없습니다 (--ca 를 쓸 수 없습니다)";
    failure.english = "this build has no network ports, so --ca has nothing to apply to";
    return false;
}
