#include "cli/given_ports.h"

#include <cctype>
#include <unordered_set>

#include "cli/ports_file.h"
#include "ports/net_address.h"
#include "ports/port_map.h"
#include "protocol/terminal_model.h"

namespace {

std::string Lowercase(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The names under which one terminal could be given twice. Its number, where the number is its
// own: given as "COMn" (any case) or "COMn=", or the default number of its device (/dev/ttyUSB0
// is COM33); a number from COM129 on that a path or an address merely drew is no name of it.
// And its device, or its network host (any case) and port: a device server's TCP port serves one
// terminal, whichever scheme reaches it.
std::vector<std::string> TerminalNames(const std::string& text, int number, const std::string& device)
{
    std::vector<std::string> names;
    if (device.empty() || PortDisplayName(text) != text || DefaultPortNumber(device) == number) {
        names.push_back("COM" + std::to_string(number));
    }
    NetAddress address;
    if (std::string unused; IsNetworkPortName(device) && ParseNetAddress(device, address, unused)) {
        names.push_back("net " + Lowercase(address.host) + " " + std::to_string(address.port));
    } else if (!device.empty()) {
        names.push_back("device " + device);
    }
    return names;
}

class CPortCollector {
public:
    CPortCollector(int defaultModel, bool modelNeeded) : m_defaultModel(defaultModel), m_modelNeeded(modelNeeded) {}

    // `where` names the file and line a port comes from ("FILE:LINE: "), or is empty.
    bool Add(const std::string& text, const std::string& modelName, const std::string& where, OperatorMessage& error);
    bool AddFile(const std::string& path, OperatorMessage& error);
    std::vector<GivenPort> Take() { return std::move(m_ports); }

private:
    const int m_defaultModel;
    const bool m_modelNeeded;
    std::vector<GivenPort> m_ports;
    std::unordered_set<std::string> m_names;  // every name of every port so far
};

bool CPortCollector::Add(const std::string& text, const std::string& modelName, const std::string& where,
                         OperatorMessage& error)
{
    // A map of its own: the real one is filled only when the command runs, and a number an
    // address draws from COM129 on must not depend on the ports before it.
    CPortMap scratch;
    std::string korean;
    const int number = ParsePortArgument(text, scratch, korean);
    if (number == 0) {
        error = {where + korean,
                 where + "invalid port (COMn, /dev/PATH, tcp://HOST:PORT, or COMn= either; n 1-255): " + text};
        return false;
    }
    int model = m_defaultModel;
    if (!modelName.empty()) {
        model = ParseModelName(modelName);
        if (model < 0) {
            error = {where + "모델은 " + ModelNames(" 또는 ") + " 입니다: " + modelName,
                     where + "model must be " + ModelNames(" or ") + ": " + modelName};
            return false;
        }
    } else if (model < 0 && m_modelNeeded && !where.empty()) {
        error = {where + "포트 뒤에 모델을 적거나 --model 을 지정해야 합니다: " + text,
                 where + "name the model after the port, or give --model: " + text};
        return false;
    }
    const std::vector<std::string> names = TerminalNames(text, number, scratch.Path(number));
    for (const std::string& name : names) {
        if (m_names.count(name) != 0) {
            const std::string shown = PortDisplayName(text);
            error = {where + "같은 포트를 두 번 지정했습니다: " + shown,
                     where + "the same port is given twice: " + shown};
            return false;
        }
    }
    m_names.insert(names.begin(), names.end());
    m_ports.push_back({text, model});
    return true;
}

bool CPortCollector::AddFile(const std::string& path, OperatorMessage& error)
{
    std::vector<PortsFileEntry> entries;
    if (OperatorMessage reason; !ReadPortsFile(path, entries, reason)) {
        error = {"포트 목록 파일을 읽을 수 없습니다: " + path + ": " + reason.korean,
                 "cannot read the ports file: " + path + ": " + reason.english};
        return false;
    }
    if (entries.empty()) {
        error = {"포트 목록 파일에 포트가 없습니다: " + path, "no ports in the ports file: " + path};
        return false;
    }
    for (const PortsFileEntry& entry : entries) {
        const std::string where = path + ":" + std::to_string(entry.line) + ": ";
        if (entry.words.size() > 2) {
            error = {where + "포트와 모델 뒤에 남는 것이 있습니다: " + entry.words[2],
                     where + "more than a port and a model: " + entry.words[2]};
            return false;
        }
        if (!Add(entry.words[0], entry.words.size() > 1 ? entry.words[1] : "", where, error)) return false;
    }
    return true;
}

}  // namespace

bool CollectPorts(const std::vector<std::string>& portOptions, const std::vector<std::string>& files, int defaultModel,
                  bool modelNeeded, std::vector<GivenPort>& ports, OperatorMessage& error)
{
    CPortCollector collector(defaultModel, modelNeeded);
    for (const std::string& port : portOptions) {
        if (!collector.Add(port, "", "", error)) return false;
    }
    for (const std::string& path : files) {
        if (!collector.AddFile(path, error)) return false;
    }
    ports = collector.Take();
    return true;
}

std::string PortDisplayName(const std::string& port)
{
    // An '=' after a network address's scheme is the address's own.
    const std::size_t equals = port.find('=');
    return equals < port.find("://") ? port.substr(0, equals) : port;
}
