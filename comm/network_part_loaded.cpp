// Where the network part exists (POSIX): each call goes through it, loading it on first use.
#include <mutex>

#include "comm/comm_port.h"
#include "comm/network_part.h"
#include "comm/trusted_certificates.h"

namespace {

std::mutex g_mutex;
bool g_bTried = false;
const NetworkPart* g_part = nullptr;
OperatorMessage g_missing;

// With `load`, loads the part on first use; null, with why in `failure` when given, when it is
// missing, or without `load` when nothing has needed it yet.
const NetworkPart* Part(bool load, OperatorMessage* failure = nullptr)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    if (load && !g_bTried) {
        g_bTried = true;
        if (void* entry = LoadPluginEntry(NETWORK_PART, NETWORK_PART_ENTRY, g_missing)) {
            g_part = reinterpret_cast<NetworkPartEntry>(entry)();
        }
    }
    if (g_part == nullptr && failure != nullptr) *failure = g_missing;
    return g_part;
}

}  // namespace

std::unique_ptr<CCommPort> CreateNetworkCommPort(const std::string& url)
{
    OperatorMessage missing;
    const NetworkPart* part = Part(true, &missing);
    return part != nullptr ? part->createPort(url) : CreateRefusedNetworkPort(url, missing);
}

bool SetTrustedCertificates(const std::string& caFile, OperatorMessage& failure)
{
    // The system's store is where a part not yet loaded starts from: nothing to load for it.
    const NetworkPart* part = Part(!caFile.empty(), &failure);
    if (part == nullptr) return caFile.empty();
    return part->setTrustedCertificates(caFile, failure);
}

std::string TrustedCertificatesFile()
{
    const NetworkPart* part = Part(false);
    return part != nullptr ? part->trustedCertificatesFile() : std::string();
}

std::string TrustedCertificatesLocation()
{
    const NetworkPart* part = Part(true);
    return part != nullptr ? part->trustedCertificatesLocation() : std::string();
}

bool CertificateNamesHost(const std::string& pem, const std::string& host)
{
    const NetworkPart* part = Part(true);
    return part != nullptr && part->certificateNamesHost(pem, host);
}
