// Builds without network ports (Windows: Debian has no gensio for mingw-w64). The port map still
// takes network addresses; opening one, or naming a CA file for one, says that this build cannot.
#include "comm/comm_port.h"
#include "comm/network_part.h"
#include "comm/trusted_certificates.h"

std::unique_ptr<CCommPort> CreateNetworkCommPort(const std::string& url)
{
    return CreateRefusedNetworkPort(url,
                                    {"이 빌드에는 네트워크 포트가 없습니다: " + url, url + ": this build has no network ports"});
}

bool SetTrustedCertificates(const std::string& caFile, OperatorMessage& failure)
{
    if (caFile.empty()) return true;
    failure.korean = "이 빌드에는 네트워크 포트가 없습니다 (--ca 를 쓸 수 없습니다)";
    failure.english = "this build has no network ports, so --ca has nothing to apply to";
    return false;
}
