#include "ports/port_enumerator.h"

#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/memory_registry.h"
#include "tests/support/case_name.h"

namespace {

const std::string kTree = "SYSTEM\\CURRENTCONTROLSET\\ENUM";
const std::string kGuid = "{4D36E978-E325-11CE-BFC1-08002BE10318}";

class RecordingList : public CPortList {
public:
    void AddString(const std::string& text) override { items.push_back(text); }
    std::vector<std::string> items;
};

// An instance key below the tree: its class and its port name, in the instance key itself or
// under DEVICE PARAMETERS.
void Instance(CMemoryRegistry& r, const std::string& instance, const std::string& portName,
              const char* className = "Ports", bool inParameters = false)
{
    const std::string path = kTree + "\\" + instance;
    r.AddKey(path);
    if (className != nullptr) r.SetString(path, "Class", className);
    r.SetString(inParameters ? path + "\\Device Parameters" : path, "PortName", portName);
    r.SetString(path, "FriendlyName", "Communications Port (" + portName + ")");
}

struct WalkCase {
    const char* name;
    std::function<void(CMemoryRegistry&)> setup;
    std::vector<std::string> listed;
    bool result;
    long lastError;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const WalkCase& c, std::ostream* out)
{
    *out << c.name;
}

const WalkCase kWalks[] = {
    {"port name in the instance key", [](auto& r) { Instance(r, "ACPI\\PNP0501\\1", "COM1"); }, {"COM1"}, 1, 0},
    {"port name under DEVICE PARAMETERS",
     [](auto& r) { Instance(r, "ACPI\\PNP0501\\1", "COM3", "Ports", true); },
     {"COM3"},
     1,
     0},
    {"instance key wins over DEVICE PARAMETERS",
     [](auto& r) {
         Instance(r, "ACPI\\PNP0501\\1", "COM6", "Ports", true);
         r.SetString(kTree + "\\ACPI\\PNP0501\\1", "PortName", "COM5");
     },
     {"COM5"},
     1,
     0},
    {"class in any case", [](auto& r) { Instance(r, "ACPI\\PNP0501\\1", "COM1", "pOrTs"); }, {"COM1"}, 1, 0},
    {"long class judged by the class identifier",
     [](auto& r) {
         Instance(r, "FTDIBUS\\VID_0403\\A1", "COM7", "PortsAndMore");
         r.SetString(kTree + "\\FTDIBUS\\VID_0403\\A1", "ClassGUID", "{4d36e978-e325-11ce-bfc1-08002be10318}");
     },
     {"COM7"},
     1,
     0},
    {"long class with another identifier skipped",
     [](auto& r) {
         Instance(r, "MODEM\\X\\1", "COM8", "Modem-like");
         r.SetString(kTree + "\\MODEM\\X\\1", "ClassGUID", "{4D36E96D-E325-11CE-BFC1-08002BE10318}");
     },
     {},
     1,
     0},
    {"no class, identifier only",
     [](auto& r) {
         Instance(r, "USB\\VID_067B\\5", "COM9", nullptr);
         r.SetString(kTree + "\\USB\\VID_067B\\5", "ClassGUID", kGuid);
     },
     {"COM9"},
     1,
     0},
    {"neither class nor identifier skipped",
     [](auto& r) { Instance(r, "USB\\VID_067B\\5", "COM9", nullptr); },
     {},
     1,
     0},
    {"LPT skipped, lower-case com kept as stored",
     [](auto& r) {
         Instance(r, "ACPI\\PNP0400\\1", "LPT1");
         Instance(r, "ACPI\\PNP0501\\1", "com4");
     },
     {"com4"},
     1,
     0},
    {"one port under two instances listed twice",
     [](auto& r) {
         Instance(r, "ACPI\\PNP0501\\1", "COM2");
         Instance(r, "ROOT\\PORTS\\0000", "COM2");
     },
     {"COM2", "COM2"},
     1,
     0},
    {"no friendly name still listed",
     [](auto& r) {
         r.SetString(kTree + "\\ACPI\\PNP0501\\1", "Class", "Ports");
         r.SetString(kTree + "\\ACPI\\PNP0501\\1", "PortName", "COM1");
     },
     {"COM1"},
     1,
     0},
    {"no port name anywhere skipped",
     [](auto& r) {
         r.SetString(kTree + "\\ACPI\\PNP0501\\1", "Class", "Ports");
         r.AddKey(kTree + "\\ACPI\\PNP0501\\1\\Device Parameters");
         Instance(r, "ACPI\\PNP0501\\2", "COM2");
     },
     {"COM2"},
     1,
     0},
    {"access error on an instance ends the walk, earlier ports kept",
     [](auto& r) {
         Instance(r, "ACPI\\PNP0501\\1", "COM1");
         Instance(r, "ACPI\\PNP0501\\2", "COM2");
         Instance(r, "ACPI\\PNP0501\\3", "COM3");
         r.FailOpen(kTree + "\\ACPI\\PNP0501\\2", 5);
     },
     {"COM1"},
     0,
     5},
    {"access error on a device key ends the walk",
     [](auto& r) {
         Instance(r, "ACPI\\PNP0501\\1", "COM1");
         Instance(r, "ACPI\\PNP0502\\1", "COM2");
         r.FailOpen(kTree + "\\ACPI\\PNP0502", 5);
     },
     {"COM1"},
     0,
     5},
    {"missing DEVICE PARAMETERS skipped",
     [](auto& r) {
         r.SetString(kTree + "\\ACPI\\PNP0501\\1", "Class", "Ports");
         r.SetString(kTree + "\\ACPI\\PNP0501\\1", "FriendlyName", "x");
     },
     {},
     1,
     0},
    {"DEVICE PARAMETERS that cannot be opened skipped",
     [](auto& r) {
         Instance(r, "ACPI\\PNP0501\\1", "COM1", "Ports", true);
         r.FailOpen(kTree + "\\ACPI\\PNP0501\\1\\Device Parameters", 5);
     },
     {},
     1,
     0},
    {"key name longer than 128 bytes",
     [](auto& r) { Instance(r, "USB\\" + std::string(200, 'K') + "\\1", "COM4"); },
     {"COM4"},
     1,
     0},
    {"values that need a second, larger read",
     [](auto& r) {
         Instance(r, "ACPI\\PNP0501\\1", "COM1" + std::string(300, ' '));
         r.SetString(kTree + "\\ACPI\\PNP0501\\1", "FriendlyName", std::string(500, 'F'));
     },
     {"COM1" + std::string(300, ' ')},
     1,
     0},
    {"values stored without their NUL, filling the buffer",
     [](auto& r) {
         Instance(r, "ACPI\\PNP0501\\1", "COM1");
         r.SetString(kTree + "\\ACPI\\PNP0501\\1", "PortName", "COM" + std::string(125, '9'), false);
         r.SetString(kTree + "\\ACPI\\PNP0501\\1", "Class", "PortsX", false);
         r.SetString(kTree + "\\ACPI\\PNP0501\\1", "ClassGUID", kGuid, false);
     },
     {"COM" + std::string(125, '9')},
     1,
     0},
    {"empty tree", [](auto& r) { r.AddKey(kTree); }, {}, 1, 0},
    {"missing tree", [](auto&) {}, {}, 0, 2},
};

class DeviceTreeWalk : public ::testing::TestWithParam<WalkCase> {};

TEST_P(DeviceTreeWalk, ListsAndClosesEveryKey)
{
    CMemoryRegistry registry;
    GetParam().setup(registry);
    RecordingList list;
    CPortEnumerator enumerator(&registry);
    enumerator.m_pCombo = &list;
    EXPECT_EQ(enumerator.EnumDeviceTree(kTree.c_str()), GetParam().result);
    EXPECT_EQ(list.items, GetParam().listed);
    if (GetParam().result == 0) {
        EXPECT_EQ(registry.LastError(), GetParam().lastError);
    }
    EXPECT_EQ(registry.OpenKeyCount(), 0);
    EXPECT_EQ(registry.BadCloseCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(PortList, DeviceTreeWalk, ::testing::ValuesIn(kWalks), CaseName());

TEST(PortEnumerator, KeysAreOpenedWithTheirAccessMasks)
{
    CMemoryRegistry registry;
    Instance(registry, "ACPI\\PNP0501\\1", "COM1", "Ports", true);
    CPortEnumerator enumerator(&registry);
    RecordingList list;
    enumerator.m_pCombo = &list;
    enumerator.Enumerate();
    const std::vector<std::pair<std::string, std::uint32_t>> expected = {
        {kTree, REG_ACCESS_ENUMERATE_SUB_KEYS},
        {kTree + "\\ACPI", REG_ACCESS_ENUMERATE_SUB_KEYS},
        {kTree + "\\ACPI\\PNP0501", REG_ACCESS_ENUMERATE_SUB_KEYS},
        {kTree + "\\ACPI\\PNP0501\\1", REG_ACCESS_READ},
        {kTree + "\\ACPI\\PNP0501\\1\\DEVICE PARAMETERS", REG_ACCESS_READ},
    };
    EXPECT_EQ(registry.Opened(), expected);
}

TEST(PortEnumerator, SourceFollowsThePlatform)
{
    const struct {
        int platformId, majorVersion;
        std::vector<std::string> listed;
    } cases[] = {
        {PLATFORM_WIN32_NT, 10, {"COM1"}},         // device tree
        {PLATFORM_WIN32_NT, 4, {"COM5", "COM6"}},  // device map
        {PLATFORM_WIN32_WINDOWS, 4, {"COM2"}},     // the consumer family's tree
        {3, 10, {}},
    };
    for (const auto& c : cases) {
        CMemoryRegistry registry;
        registry.SetVersion(c.platformId, c.majorVersion);
        Instance(registry, "ACPI\\PNP0501\\1", "COM1");
        registry.SetString("ENUM\\BIOS\\*PNP0501\\0D", "Class", "Ports");
        registry.SetString("ENUM\\BIOS\\*PNP0501\\0D", "PortName", "COM2");
        registry.SetString("HARDWARE\\DEVICEMAP\\SERIALCOMM", "\\Device\\Serial0", "COM5");
        registry.SetString("HARDWARE\\DEVICEMAP\\SERIALCOMM", "\\Device\\VCP0", "COM6");
        RecordingList list;
        CPortEnumerator enumerator(&registry);
        enumerator.m_pCombo = &list;
        EXPECT_EQ(enumerator.Enumerate(), static_cast<int>(c.listed.size()));
        EXPECT_EQ(list.items, c.listed) << c.platformId << "." << c.majorVersion;
        EXPECT_EQ(registry.OpenKeyCount(), 0);
    }
}

TEST(PortEnumerator, DeviceMapSkipsAValueItCannotRead)
{
    CMemoryRegistry registry;
    registry.SetString("HARDWARE\\DEVICEMAP\\SERIALCOMM", "\\Device\\Serial0", "COM1");
    registry.SetString("HARDWARE\\DEVICEMAP\\SERIALCOMM", std::string(200, 'N'), "COM2");  // name too long
    registry.SetString("HARDWARE\\DEVICEMAP\\SERIALCOMM", "\\Device\\Serial2", "COM3");
    RecordingList list;
    CPortEnumerator enumerator(&registry);
    enumerator.m_pCombo = &list;
    EXPECT_EQ(enumerator.EnumDeviceMap(), REG_SUCCESS);
    EXPECT_EQ(list.items, (std::vector<std::string>{"COM1", "COM3"}));
    EXPECT_EQ(registry.OpenKeyCount(), 0);

    CMemoryRegistry empty;
    CPortEnumerator none(&empty);
    EXPECT_EQ(none.EnumDeviceMap(), REG_FILE_NOT_FOUND);
}

TEST(PortEnumerator, WithoutAListTheWalkStillRunsAndClosesItsKeys)
{
    CMemoryRegistry registry;
    Instance(registry, "ACPI\\PNP0501\\1", "COM1");
    CPortEnumerator enumerator(&registry);
    EXPECT_EQ(enumerator.Enumerate(), 0);
    EXPECT_EQ(registry.Opened().size(), 4u);
    EXPECT_EQ(registry.OpenKeyCount(), 0);
}

TEST(SortedPortList, StringOrderIgnoringCaseWithDuplicates)
{
    CSortedPortList list;
    for (const char* name : {"COM2", "COM10", "com3", "COM1", "COM2"}) list.AddString(name);
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"COM1", "COM10", "COM2", "COM2", "com3"}));
}

}  // namespace
