// Terminals on the network: port names that open a network connection instead of a device.
//   tcp://HOST:PORT           raw bytes over TCP (ser2net's tcp accepter, a device server in raw mode)
//   rfc2217://HOST:PORT       Telnet with COM-PORT-CONTROL (RFC 2217): the line settings travel too
//   tcp+tls://HOST:PORT       the same two inside TLS, the server's certificate checked
//   rfc2217+tls://HOST:PORT     (comm/trusted_certificates.h)
// HOST is a name, an IPv4 address or an IPv6 address in brackets ([::1]); PORT is 1..65535.
#pragma once

#include <string>

struct NetAddress {
    bool telnet = false;  // rfc2217
    bool tls = false;
    std::string host;  // without brackets
    int port = 0;
};

// Names a network connection rather than a device: it has a scheme ("something://"), valid or not.
bool IsNetworkPortName(const std::string& name);
// False, with `error` (Korean, naming the address), when `url` is not one of the forms above.
bool ParseNetAddress(const std::string& url, NetAddress& address, std::string& error);
