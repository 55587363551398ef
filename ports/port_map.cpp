#include "ports/port_map.h"

#include <cctype>
#include <cstring>

#include "ports/net_address.h"

CPortMap g_portMap;

namespace {

struct DeviceFamily {
    const char* prefix;
    int firstPort;
    int count;
};

constexpr DeviceFamily kFamilies[] = {
    {"/dev/ttyS", 1, 32},    {"/dev/ttyUSB", 33, 32},  {"/dev/ttyACM", 65, 32},
    {"/dev/ttyAMA", 97, 16}, {"/dev/rfcomm", 113, 16},
};

// Digits only, without a leading zero (ttyS01 is not ttyS1); -1 otherwise.
int ParseIndex(const std::string& text)
{
    if (text.empty() || text.size() > 3 || (text.size() > 1 && text[0] == '0')) return -1;
    int value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::string ConsoleLine(const PortEntry& entry)
{
    std::string line = "COM" + std::to_string(entry.port) + " = " + entry.path;
    if (!entry.description.empty()) line += " (" + entry.description + ")";
    return line;
}

}  // namespace

int DefaultPortNumber(const std::string& path)
{
    for (const DeviceFamily& family : kFamilies) {
        const std::size_t prefixLength = std::strlen(family.prefix);
        if (path.compare(0, prefixLength, family.prefix) != 0) continue;
        const int index = ParseIndex(path.substr(prefixLength));
        if (index >= 0 && index < family.count) return family.firstPort + index;
    }
    return 0;
}

int PortNumberFromName(const std::string& name)
{
    if (name.size() < 4) return 0;
    for (int i = 0; i < 3; ++i) {
        if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) return 0;
    }
    const int value = ParseIndex(name.substr(3));
    return value >= 1 && value <= PORT_NUMBER_MAX ? value : 0;
}

int CPortMap::Add(const std::string& path, const std::string& description)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto& [port, entry] : m_entries) {
        if (entry.path != path) continue;
        if (!description.empty()) entry.description = description;
        return port;
    }
    int port = DefaultPortNumber(path);
    if (port == 0 || m_entries.count(port) != 0) {
        port = PORT_FIRST_DYNAMIC;
        while (port <= PORT_NUMBER_MAX && m_entries.count(port) != 0) ++port;
        if (port > PORT_NUMBER_MAX) return 0;
    }
    m_entries[port] = PortEntry{port, path, description};
    return port;
}

void CPortMap::Set(int port, const std::string& path, const std::string& description)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        it = it->second.path == path ? m_entries.erase(it) : std::next(it);
    }
    m_entries[port] = PortEntry{port, path, description};
}

std::string CPortMap::Path(int port) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_entries.find(port);
    return it == m_entries.end() ? std::string() : it->second.path;
}

std::vector<PortEntry> CPortMap::Entries() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<PortEntry> entries;
    for (const auto& [port, entry] : m_entries) entries.push_back(entry);
    return entries;
}

void CPortMap::Clear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_entries.clear();
}

#ifdef _WIN32
// Windows opens a port by its name alone (\\.\COMn): a path given for it would be ignored.
constexpr bool PORTS_HAVE_PATHS = false;
#else
constexpr bool PORTS_HAVE_PATHS = true;
#endif

int ParsePortArgument(const std::string& argument, CPortMap& map, std::string& error)
{
    // A network address may hold an '=' of its own only after its scheme.
    const std::size_t scheme = argument.find("://");
    std::size_t equals = argument.find('=');
    if (equals > scheme) equals = std::string::npos;
    const std::string name = argument.substr(0, equals);
    const std::string path = equals == std::string::npos ? argument : argument.substr(equals + 1);
    NetAddress address;
    if (IsNetworkPortName(path) && !ParseNetAddress(path, address, error)) return 0;
    if (!PORTS_HAVE_PATHS && !IsNetworkPortName(path) &&
        (equals != std::string::npos || PortNumberFromName(name) == 0)) {
        error = "Windows 에서는 포트를 COMn 으로만 지정합니다: " + argument;
        return 0;
    }
    if (equals != std::string::npos) {
        const int port = PortNumberFromName(name);
        if (port == 0 || path.empty()) {
            error = "포트 지정이 잘못되었습니다 (COMn=경로 또는 COMn=tcp://호스트:포트): " + argument;
            return 0;
        }
        map.Set(port, path);
        return port;
    }
    if (const int port = PortNumberFromName(name)) return port;
    if (argument.empty() || (argument[0] != '/' && !IsNetworkPortName(argument))) {
        error = "포트 이름이 잘못되었습니다 (COMn, /dev/경로 또는 tcp://호스트:포트): " + argument;
        return 0;
    }
    const int port = map.Add(argument);
    if (port == 0) error = "포트 번호가 모두 사용 중입니다: " + argument;
    return port;
}

std::vector<std::string> PortConsoleLines(const CPortMap& map)
{
    std::vector<std::string> lines;
    for (const PortEntry& entry : map.Entries()) lines.push_back(ConsoleLine(entry));
    return lines;
}

std::string PortListLine(const CPortMap& map, const std::string& name)
{
    const int port = PortNumberFromName(name);
    for (const PortEntry& entry : map.Entries()) {
        if (entry.port == port) return ConsoleLine(entry);
    }
    return name;
}
