// Port numbering on a fake /dev and /sys tree.

#include "channel/Dispositivi.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace ondrix {
namespace {

namespace fs = std::filesystem;

class DispositiviTest : public ::testing::Test {
protected:
    DispositiviTest()
    {
        root = fs::temp_directory_path() / ("ondrix-porte-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "dev");
        fs::create_directories(root / "sys/class/tty");
        fs::create_directories(root / "sys/bus/drivers/serial8250");
        fs::create_directories(root / "sys/bus/drivers/serial");
        fs::create_directories(root / "sys/bus/drivers/port");
    }
    ~DispositiviTest() override { fs::remove_all(root); }

    void device(const std::string& name) { std::ofstream(root / "dev" / name) << ""; }
    // A ttyS with hardware behind it: driver name, and its port type when published.
    void uart(const std::string& name, const std::string& driver, int type = -1)
    {
        device(name);
        const fs::path sys = root / "sys/class/tty" / name;
        fs::create_directories(sys / "device");
        fs::create_directory_symlink(root / "sys/bus/drivers" / driver, sys / "device" / "driver");
        if (type >= 0)
            std::ofstream(sys / "type") << type << "\n";
    }
    std::string p(const std::string& name) { return (root / "dev" / name).string(); }

    fs::path root;
};

TEST_F(DispositiviTest, OrderUsbThenAcmThenRealUarts)
{
    device("ttyUSB10");
    device("ttyUSB2");
    fs::create_directories(root / "dev/serial/by-id");
    std::ofstream(root / "dev/serial/by-id/usb-adapter") << "";
    fs::create_symlink(root / "dev/serial/by-id/usb-adapter", root / "dev/ttyUSB0");  // a link counts
    fs::create_symlink(root / "dev/nowhere", root / "dev/ttyUSB5");                  // dangling: not a device
    device("ttyUSBx");
    device("ttyUSB");
    device("ttyACM1");
    device("ttyACM0");
    uart("ttyS1", "port", 0);        // published type unknown: phantom
    uart("ttyS0", "port", 4);        // 16550A
    uart("ttyS3", "serial8250");     // legacy driver, nothing published: phantom
    uart("ttyS12", "serial");        // a card's driver
    device("ttyS2");                 // no hardware in /sys at all
    device("tty0");
    device("ttyprintk");

    EXPECT_EQ(dispositiviSeriali(root.string()),
              (std::vector<std::string>{p("ttyUSB0"), p("ttyUSB2"), p("ttyUSB10"), p("ttyACM0"),
                                        p("ttyACM1"), p("ttyS0"), p("ttyS12")}));
}

TEST_F(DispositiviTest, EmptyOrMissingTree)
{
    EXPECT_TRUE(dispositiviSeriali(root.string()).empty());
    EXPECT_TRUE(dispositiviSeriali((root / "absent").string()).empty());
}

TEST(Dispositivi, NumbersOutsideTheRangeHaveNoDevice)
{
    EXPECT_EQ(dispositivoPorta(0), "");
    EXPECT_EQ(dispositivoPorta(17), "");
    EXPECT_EQ(dispositivoPorta(-3), "");
}

} // namespace
} // namespace ondrix
