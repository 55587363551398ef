// The network transport as a part of its own (dorvane-network.so): gensio and OpenSSL are loaded
// only by a program that opens a network port or names a CA file. The part hands over this table;
// comm/network_part_*.cpp give the functions of comm_port.h and trusted_certificates.h through it.
#pragma once

#include <memory>
#include <string>

#include "base/operator_message.h"
#include "base/plugin.h"

class CCommPort;

struct NetworkPart {
    std::unique_ptr<CCommPort> (*createPort)(const std::string& url);
    bool (*setTrustedCertificates)(const std::string& caFile, OperatorMessage& failure);
    std::string (*trustedCertificatesFile)();
    std::string (*trustedCertificatesLocation)();
    bool (*certificateNamesHost)(const std::string& pem, const std::string& host);
};

inline constexpr PluginName NETWORK_PART{"네트워크 포트", "network ports", "dorvane-network.so"};
inline constexpr const char* NETWORK_PART_ENTRY = "DorvaneNetworkPart";
using NetworkPartEntry = const NetworkPart* (*)();

// A port that opens nothing and says why: this build has no network ports, or its part is
// missing. The port map still takes network addresses.
std::unique_ptr<CCommPort> CreateRefusedNetworkPort(const std::string& url, const OperatorMessage& reason);
