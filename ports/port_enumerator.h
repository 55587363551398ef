// The list of serial ports the system knows, for the port combobox: the registry walk on
// Windows; on Linux the kernel's devices from sysfs, numbered by the port map.
#pragma once

#include <string>
#include <vector>

#include "ports/port_map.h"
#include "ports/registry.h"

// Where the names go: the dialog's combobox, a vector in tests and the headless tool.
class CPortList {
public:
    virtual ~CPortList() = default;
    virtual void AddString(const std::string& text) = 0;
};

// Keeps its strings as a sorted combobox shows them: string order ignoring case, duplicates
// kept (COM1, COM10, COM2).
class CSortedPortList : public CPortList {
public:
    void AddString(const std::string& text) override;
    const std::vector<std::string>& Items() const { return m_items; }

private:
    std::vector<std::string> m_items;
};

class CPortEnumerator {
public:
    // The system's source: the Windows registry, or on Linux sysfs and g_portMap.
    CPortEnumerator();
    // `registry` null means the Linux source, read below `sysfsRoot` into `portMap`.
    explicit CPortEnumerator(CRegistry* registry, std::string sysfsRoot = "/sys", CPortMap* portMap = &g_portMap);
    virtual ~CPortEnumerator() = default;

    // Fills m_pCombo from the source the platform calls for; the number of names added.
    int Enumerate();
    // NT 4: the values of HARDWARE\DEVICEMAP\SERIALCOMM.
    long EnumDeviceMap();
    // Enumerator, device and instance keys below `rootPath`; false (and the thread's last error
    // set) when a registry error ended the walk. Ports added before the error stay listed.
    bool EnumDeviceTree(const char* rootPath);
    long OpenSubKeyByIndex(RegKey key, std::uint32_t index, std::uint32_t access, RegKey* subKey);
    // Reads a value into `buffer`, grown as the value needs; the text is always NUL-terminated.
    long QueryValueAlloc(RegKey key, const char* name, std::vector<char>& buffer);

    CPortList* m_pCombo = nullptr;

private:
    long WalkTree(RegKey root);
    long VisitInstance(RegKey instance, std::vector<char>& portName, std::vector<char>& friendlyName);
    int ListKernelPorts();
    void AddPort(const std::string& name);

    CRegistry* m_pRegistry;
    std::string m_strSysfsRoot;
    CPortMap* m_pPortMap;
    int m_nAdded = 0;
};
