// Builds without network ports (Windows: Debian has no gensio for mingw-w64). The port map still
// takes network addresses; naming a CA file for one says that this build cannot.
#include "comm/trusted_certificates.h"

bool SetTrustedCertificates(const std::string& caFile, std::string& message, std::string& detail)
{
    if (caFile.empty()) return true;
    message = "이 빌드에는 네트워크 포트가 없습니다 (--ca 를 쓸 수 없습니다)";
    detail = "this build has no network ports, so --ca has nothing to apply to";
    return false;
}

std::string TrustedCertificatesFile()
{
    return {};
}
