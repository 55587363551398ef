// The Linux port list on fake sysfs trees in a temporary folder.
#include "ports/sysfs_ports.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

#include "ports/port_enumerator.h"

namespace fs = std::filesystem;

namespace {

class FakeSysfs : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("dorvane-sysfs-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "class" / "tty");
    }
    void TearDown() override { fs::remove_all(root); }

    void Write(const fs::path& file, const std::string& text)
    {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << text << "\n";
    }
    // A tty whose `device` link points at `device` (below root/devices); `type` as the serial
    // core reports it, none when empty.
    void Tty(const std::string& name, const std::string& device, const std::string& type = {})
    {
        const fs::path tty = root / "class" / "tty" / name;
        fs::create_directories(tty);
        if (!device.empty()) {
            fs::create_directories(root / "devices" / device);
            fs::create_directory_symlink(root / "devices" / device, tty / "device");
        }
        if (!type.empty()) Write(tty / "type", type);
    }
    void Subsystem(const std::string& device, const std::string& subsystem)
    {
        fs::create_directories(root / "bus" / subsystem);
        fs::create_directory_symlink(root / "bus" / subsystem, root / "devices" / device / "subsystem");
    }
    void UsbDevice(const std::string& device, const std::string& maker, const std::string& product)
    {
        const fs::path at = root / "devices" / device;
        Write(at / "idVendor", "0403");
        Write(at / "idProduct", "6001");
        if (!maker.empty()) Write(at / "manufacturer", maker);
        if (!product.empty()) Write(at / "product", product);
    }

    fs::path root;
};

TEST_F(FakeSysfs, ListsRealDevicesAndHidesPlaceholders)
{
    Tty("ttyS0", "pnp0/00:04/00:04:0/00:04:0.0", "4");
    Tty("ttyS1", "platform/serial8250/serial8250:0/serial8250:0.1", "0");  // no UART behind it
    Tty("ttyS2", "platform/serial8250b");                                  // old kernel: no type
    Subsystem("platform/serial8250b", "platform");
    Tty("ttyUSB0", "pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/ttyUSB0");
    UsbDevice("pci0000:00/0000:00:14.0/usb1/1-2", "FTDI", "FT232R USB UART");
    Tty("ttyACM0", "pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.0");
    UsbDevice("pci0000:00/0000:00:14.0/usb1/1-3", "", "");
    Tty("ttyAMA0", "platform/fe201000.serial");
    Subsystem("platform/fe201000.serial", "amba");
    Tty("rfcomm0", "");
    Tty("tty1", "");
    Tty("console", "");

    const auto devices = ListSysfsSerialPorts(root.string());
    std::vector<std::string> lines;
    for (const SerialDevice& d : devices) lines.push_back(d.path + " [" + d.description + "]");
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "/dev/rfcomm0 []",
                         "/dev/ttyACM0 [USB 0403:6001]",
                         "/dev/ttyAMA0 []",
                         "/dev/ttyS0 []",
                         "/dev/ttyUSB0 [FTDI FT232R USB UART]",
                     }));
}

TEST_F(FakeSysfs, MissingTreeListsNothing)
{
    EXPECT_TRUE(ListSysfsSerialPorts((root / "nothing").string()).empty());
}

TEST_F(FakeSysfs, EnumerateNumbersDevicesStablyAndListsMapEntries)
{
    Tty("ttyUSB1", "usb1/1-4/1-4:1.0/ttyUSB1");
    UsbDevice("usb1/1-4", "Prolific", "USB-Serial Controller");
    Tty("ttyS0", "pnp0/00:04", "4");

    for (int run = 0; run < 2; ++run) {  // the same device gets the same number every run
        CPortMap map;
        map.Add("/dev/pts/5", "ZEFA-102 simulator");
        CSortedPortList list;
        CPortEnumerator enumerator(nullptr, root.string(), &map);
        enumerator.m_pCombo = &list;
        EXPECT_EQ(enumerator.Enumerate(), 3);
        EXPECT_EQ(list.Items(), (std::vector<std::string>{"COM1", "COM129", "COM34"}));
        EXPECT_EQ(PortConsoleLines(map), (std::vector<std::string>{
                                             "COM1 = /dev/ttyS0",
                                             "COM34 = /dev/ttyUSB1 (Prolific USB-Serial Controller)",
                                             "COM129 = /dev/pts/5 (ZEFA-102 simulator)",
                                         }));
    }
}

}  // namespace
