#include "ports/port_enumerator.h"

#include <algorithm>
#include <cctype>
#include <new>

#include "ports/sysfs_ports.h"

namespace {

constexpr const char* kPortsClassGuid = "{4D36E978-E325-11CE-BFC1-08002BE10318}";
constexpr std::uint32_t kFirstBufferSize = 128;

// The walk's texts are ASCII; a double-byte character can never equal an ASCII one, so a
// byte-wise comparison that folds ASCII case is what the double-byte-aware one gives here.
bool EqualNoCase(const char* a, const char* b, std::size_t limit)
{
    for (std::size_t i = 0; i < limit; ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
        if (a[i] == '\0') return true;
    }
    return true;
}

// Closes its key when the walk leaves the scope, on every path.
class KeyHolder {
public:
    explicit KeyHolder(CRegistry& registry) : m_registry(registry) {}
    ~KeyHolder()
    {
        if (m_open) m_registry.CloseKey(m_key);
    }
    KeyHolder(const KeyHolder&) = delete;
    KeyHolder& operator=(const KeyHolder&) = delete;

    // Records the key when the open succeeded.
    long Take(long result)
    {
        m_open = result == REG_SUCCESS;
        return result;
    }
    RegKey* Out() { return &m_key; }
    RegKey Get() const { return m_key; }

private:
    CRegistry& m_registry;
    RegKey m_key = 0;
    bool m_open = false;
};

}  // namespace

void CSortedPortList::AddString(const std::string& text)
{
    const auto less = [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return std::toupper(static_cast<unsigned char>(x)) < std::toupper(static_cast<unsigned char>(y));
        });
    };
    m_items.insert(std::upper_bound(m_items.begin(), m_items.end(), text, less), text);
}

CPortEnumerator::CPortEnumerator() : CPortEnumerator(SystemRegistry()) {}

CPortEnumerator::CPortEnumerator(CRegistry* registry, std::string sysfsRoot, CPortMap* portMap)
    : m_pRegistry(registry), m_strSysfsRoot(std::move(sysfsRoot)), m_pPortMap(portMap)
{}

void CPortEnumerator::AddPort(const std::string& name)
{
    if (m_pCombo == nullptr) return;
    m_pCombo->AddString(name);
    ++m_nAdded;
}

int CPortEnumerator::Enumerate()
{
    m_nAdded = 0;
    if (m_pRegistry == nullptr) return ListKernelPorts();
    int platformId = 0;
    int majorVersion = 0;
    m_pRegistry->GetVersion(&platformId, &majorVersion);
    if (platformId == PLATFORM_WIN32_WINDOWS) {
        EnumDeviceTree("ENUM");
    } else if (platformId == PLATFORM_WIN32_NT && majorVersion == 4) {
        EnumDeviceMap();
    } else if (platformId == PLATFORM_WIN32_NT) {
        EnumDeviceTree("SYSTEM\\CURRENTCONTROLSET\\ENUM");
    }
    return m_nAdded;
}

int CPortEnumerator::ListKernelPorts()
{
    for (const SerialDevice& device : ListSysfsSerialPorts(m_strSysfsRoot)) {
        m_pPortMap->Add(device.path, device.description);
    }
    // The map also holds the ports given on the command line and the simulator's.
    for (const PortEntry& entry : m_pPortMap->Entries()) AddPort("COM" + std::to_string(entry.port));
    return m_nAdded;
}

long CPortEnumerator::EnumDeviceMap()
{
    RegKey key = 0;
    const long result =
        m_pRegistry->OpenKey(REG_ROOT_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", REG_ACCESS_READ, &key);
    if (result != REG_SUCCESS) return result;
    char name[kFirstBufferSize];
    unsigned char data[kFirstBufferSize + 1] = {};  // one byte more than offered keeps the text terminated
    for (std::uint32_t index = 0;; ++index) {
        std::uint32_t nameSize = kFirstBufferSize;
        std::uint32_t dataSize = kFirstBufferSize;
        const long error = m_pRegistry->EnumValue(key, index, name, &nameSize, data, &dataSize);
        if (error == REG_NO_MORE_ITEMS) break;
        // A value that could not be read is skipped rather than listed as an empty name.
        if (error == REG_SUCCESS) AddPort(reinterpret_cast<const char*>(data));
        std::fill(std::begin(data), std::end(data), 0);
    }
    return m_pRegistry->CloseKey(key);
}

bool CPortEnumerator::EnumDeviceTree(const char* rootPath)
{
    KeyHolder root(*m_pRegistry);
    long error =
        root.Take(m_pRegistry->OpenKey(REG_ROOT_LOCAL_MACHINE, rootPath, REG_ACCESS_ENUMERATE_SUB_KEYS, root.Out()));
    if (error == REG_SUCCESS) error = WalkTree(root.Get());
    if (error == REG_SUCCESS) return true;
    m_pRegistry->SetLastError(error);
    return false;
}

long CPortEnumerator::WalkTree(RegKey root)
{
    std::vector<char> portName;
    std::vector<char> friendlyName;
    for (std::uint32_t i = 0;; ++i) {
        KeyHolder enumerator(*m_pRegistry);
        long error = enumerator.Take(OpenSubKeyByIndex(root, i, REG_ACCESS_ENUMERATE_SUB_KEYS, enumerator.Out()));
        if (error == REG_NO_MORE_ITEMS) return REG_SUCCESS;
        if (error != REG_SUCCESS) return error;
        for (std::uint32_t j = 0;; ++j) {
            KeyHolder device(*m_pRegistry);
            error = device.Take(OpenSubKeyByIndex(enumerator.Get(), j, REG_ACCESS_ENUMERATE_SUB_KEYS, device.Out()));
            if (error == REG_NO_MORE_ITEMS) break;
            if (error != REG_SUCCESS) return error;
            for (std::uint32_t k = 0;; ++k) {
                KeyHolder instance(*m_pRegistry);
                error = instance.Take(OpenSubKeyByIndex(device.Get(), k, REG_ACCESS_READ, instance.Out()));
                if (error == REG_NO_MORE_ITEMS) break;
                if (error != REG_SUCCESS) return error;
                error = VisitInstance(instance.Get(), portName, friendlyName);
                if (error != REG_SUCCESS) return error;
            }
        }
    }
}

// REG_SUCCESS both for a port listed and for an instance skipped; any other result ends the walk.
long CPortEnumerator::VisitInstance(RegKey instance, std::vector<char>& portName, std::vector<char>& friendlyName)
{
    // Fixed buffers with one byte more than offered: a value stored without its NUL stays a
    // terminated string.
    char className[6 + 1] = {};
    std::uint32_t size = 6;
    bool isPort =
        m_pRegistry->QueryValue(instance, "CLASS", reinterpret_cast<unsigned char*>(className), &size) == REG_SUCCESS &&
        EqualNoCase(className, "PORTS", sizeof className);
    if (!isPort) {
        // A class name longer than five characters does not fit: the class identifier decides.
        char classGuid[39 + 1] = {};
        size = 39;
        if (m_pRegistry->QueryValue(instance, "CLASSGUID", reinterpret_cast<unsigned char*>(classGuid), &size) !=
                REG_SUCCESS ||
            !EqualNoCase(classGuid, kPortsClassGuid, sizeof classGuid)) {
            return REG_SUCCESS;
        }
    }
    long error = QueryValueAlloc(instance, "PORTNAME", portName);
    if (error == REG_FILE_NOT_FOUND) {
        KeyHolder parameters(*m_pRegistry);
        if (parameters.Take(m_pRegistry->OpenKey(instance, "DEVICE PARAMETERS", REG_ACCESS_READ, parameters.Out())) !=
            REG_SUCCESS) {
            return REG_SUCCESS;
        }
        error = QueryValueAlloc(parameters.Get(), "PORTNAME", portName);
    }
    if (error == REG_FILE_NOT_FOUND) return REG_SUCCESS;
    if (error != REG_SUCCESS) return error;
    if (!EqualNoCase(portName.data(), "COM", 3)) return REG_SUCCESS;
    // Read for its errors only: an unreadable instance ends the walk, a missing name does not.
    error = QueryValueAlloc(instance, "FRIENDLYNAME", friendlyName);
    if (error != REG_SUCCESS && error != REG_FILE_NOT_FOUND) return error;
    AddPort(portName.data());
    return REG_SUCCESS;
}

long CPortEnumerator::OpenSubKeyByIndex(RegKey key, std::uint32_t index, std::uint32_t access, RegKey* subKey)
{
    std::vector<char> name;
    for (std::uint32_t size = kFirstBufferSize;;) {
        try {
            name.assign(size, '\0');
        } catch (const std::bad_alloc&) {
            return REG_NOT_ENOUGH_MEMORY;
        }
        std::uint32_t length = size;
        const long error = m_pRegistry->EnumKey(key, index, name.data(), &length);
        if (error == REG_SUCCESS) return m_pRegistry->OpenKey(key, name.data(), access, subKey);
        if (error != REG_MORE_DATA) return error;
        size = length * 2 + 2;
    }
}

long CPortEnumerator::QueryValueAlloc(RegKey key, const char* name, std::vector<char>& buffer)
{
    for (std::uint32_t size = kFirstBufferSize;;) {
        try {
            buffer.assign(static_cast<std::size_t>(size) + 1, '\0');
        } catch (const std::bad_alloc&) {
            return REG_NOT_ENOUGH_MEMORY;
        }
        const long error = m_pRegistry->QueryValue(key, name, reinterpret_cast<unsigned char*>(buffer.data()), &size);
        if (error != REG_MORE_DATA) return error;
    }
}
