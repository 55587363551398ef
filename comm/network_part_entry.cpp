// The network part's one export: the table of what it does (network_part.h).
#include "comm/comm_port.h"
#include "comm/network_part.h"
#include "comm/trusted_certificates.h"

extern "C" __attribute__((visibility("default"))) const NetworkPart* DorvaneNetworkPart()
{
    static const NetworkPart part{
        CreateNetworkCommPort, SetTrustedCertificates, TrustedCertificatesFile, TrustedCertificatesLocation,
        CertificateNamesHost,
    };
    return &part;
}
