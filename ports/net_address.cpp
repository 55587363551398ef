#include "ports/net_address.h"

#include <cctype>
#include <string_view>

namespace {

constexpr std::string_view kSeparator = "://";

struct Scheme {
    std::string_view name;
    bool telnet;
    bool tls;
};

constexpr Scheme kSchemes[] = {
    {"tcp", false, false},
    {"rfc2217", true, false},
    {"tcp+tls", false, true},
    {"rfc2217+tls", true, true},
};

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
    }
    return true;
}

// The host goes into gensio's comma-separated address, so only name and address characters pass.
bool IsHostName(std::string_view host)
{
    if (host.empty() || host.front() == '-' || host.front() == '.') return false;
    for (char c : host) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '.') return false;
    }
    return true;
}

bool IsIpv6Address(std::string_view host)
{
    if (host.find(':') == std::string_view::npos) return false;
    for (char c : host) {
        if (!std::isxdigit(static_cast<unsigned char>(c)) && c != ':' && c != '.') return false;
    }
    return true;
}

// 1..65535, digits only.
int ParsePort(std::string_view text)
{
    if (text.empty() || text.size() > 5) return 0;
    int value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
        value = value * 10 + (c - '0');
    }
    return value <= 65535 ? value : 0;
}

}  // namespace

bool IsNetworkPortName(const std::string& name)
{
    return name.find(kSeparator) != std::string::npos;
}

bool ParseNetAddress(const std::string& url, NetAddress& address, std::string& error)
{
    error =
        "네트워크 포트 주소가 잘못되었습니다 (tcp://호스트:포트, rfc2217://호스트:포트, tcp+tls://…, "
        "rfc2217+tls://…): " +
        url;
    const std::size_t separator = url.find(kSeparator);
    if (separator == std::string::npos) return false;
    const std::string_view scheme = std::string_view(url).substr(0, separator);
    const std::string_view rest = std::string_view(url).substr(separator + kSeparator.size());

    const Scheme* found = nullptr;
    for (const Scheme& candidate : kSchemes) {
        if (EqualsIgnoringCase(scheme, candidate.name)) found = &candidate;
    }
    const std::size_t colon = rest.rfind(':');
    if (found == nullptr || colon == std::string_view::npos) return false;

    std::string_view host = rest.substr(0, colon);
    const int port = ParsePort(rest.substr(colon + 1));
    bool hostValid;
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
        hostValid = IsIpv6Address(host);
    } else {
        hostValid = IsHostName(host);
    }
    if (!hostValid || port == 0) return false;

    address = NetAddress{.telnet = found->telnet, .tls = found->tls, .host = std::string(host), .port = port};
    error.clear();
    return true;
}
