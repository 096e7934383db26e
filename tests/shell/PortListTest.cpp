#include "serial/PortList.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace nvx {
namespace {

namespace fs = std::filesystem;

// A file-system root with a hand-made sysfs tty class and /dev/serial/by-id, removed afterwards.
class FakeRoot : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "nvx-ports-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        fs::create_directories(root_ / "sys/devices/platform");
    }
    void TearDown() override { fs::remove_all(root_); }

    // A tty class entry; with hardware it gets a "device" link, and `uartType` writes its "type" file.
    void AddTty(const std::string& name, bool withDevice, const char* uartType = nullptr)
    {
        const fs::path entry = root_ / "sys/class/tty" / name;
        fs::create_directories(entry);
        if (withDevice) {
            const fs::path device = root_ / "sys/devices/platform" / name;
            fs::create_directories(device);
            fs::create_directory_symlink(device, entry / "device");
        }
        if (uartType)
            std::ofstream(entry / "type") << uartType << "\n";
    }

    void AddById(const std::string& linkName, const std::string& tty)
    {
        fs::create_directories(root_ / "dev/serial/by-id");
        fs::create_symlink("../../" + tty, root_ / "dev/serial/by-id" / linkName);
    }

    static std::vector<std::string> Names(const std::vector<SerialPort>& ports)
    {
        std::vector<std::string> names;
        for (const SerialPort& port : ports)
            names.push_back(port.name);
        return names;
    }

    fs::path root_;
};

TEST_F(FakeRoot, ListsHardwarePortsAlphabeticallyWithByIdDescriptions)
{
    AddTty("ttyUSB2", true);
    AddTty("ttyUSB10", true);
    AddTty("ttyUSB0", true);
    AddTty("ttyACM0", true);
    AddTty("ttyS0", true, "4"); // a UART answered
    AddTty("ttyS1", true, "0"); // a placeholder of the legacy driver
    AddTty("tty0", false);      // virtual console
    AddTty("ptmx", false);
    AddById("usb-FTDI_FT232R_USB_UART_A9XK1234-if00-port0", "ttyUSB0");
    AddById("usb-Arduino__www.arduino.cc__0043_7563-if00", "ttyACM0");

    const std::vector<SerialPort> ports = FindSerialPorts(root_);

    EXPECT_EQ(Names(ports), (std::vector<std::string>{"ttyACM0", "ttyS0", "ttyUSB0", "ttyUSB10", "ttyUSB2"}));
    ASSERT_EQ(ports.size(), 5u);
    EXPECT_EQ(PortItemText(ports[0]), "ttyACM0 (Arduino www.arduino.cc 0043 7563)");
    EXPECT_EQ(PortItemText(ports[1]), "ttyS0");
    EXPECT_EQ(PortItemText(ports[2]), "ttyUSB0 (FTDI FT232R USB UART A9XK1234)");
    EXPECT_EQ(ListSerialPorts(root_).size(), 5u);
}

TEST_F(FakeRoot, NothingFoundOffersTheFirstConventionalPort)
{
    AddTty("tty1", false);
    AddTty("ttyS3", true, "0");

    EXPECT_TRUE(FindSerialPorts(root_).empty());
    EXPECT_EQ(Names(ListSerialPorts(root_)), std::vector<std::string>{"ttyS0"});
    EXPECT_EQ(Names(ListSerialPorts(root_ / "no-such-root")), std::vector<std::string>{"ttyS0"});
}

TEST(PortOrder, IsAlphabeticalIgnoringCase)
{
    std::vector<std::string> items{"ttyUSB2", "ttyS10", "TTYS2", "ttyS1", "ttyACM0"};
    std::sort(items.begin(), items.end(), AlphabeticalLess);
    EXPECT_EQ(items, (std::vector<std::string>{"ttyACM0", "ttyS1", "ttyS10", "TTYS2", "ttyUSB2"}));
}

} // namespace
} // namespace nvx
