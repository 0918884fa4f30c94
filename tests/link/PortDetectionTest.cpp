#include "link/PortDetection.h"

#include <fstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace zavuv::link {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::Field;

// A /dev and /sys tree laid out as Linux shows USB adapters and serial ports.
class PortDetectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("zavuv-ports-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "dev" / "serial" / "by-id");
        fs::create_directories(root / "sys" / "class" / "tty");
    }
    void TearDown() override { fs::remove_all(root); }

    void file(const fs::path& path, const std::string& text = "") {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << text;
    }

    // A tty whose device is this directory below sys/devices.
    void tty(const std::string& name, const std::string& device, bool node = true) {
        fs::create_directories(root / "sys" / "devices" / device);
        fs::create_directories(root / "sys" / "class" / "tty" / name);
        fs::create_directory_symlink("../../../devices/" + device,
                                     root / "sys" / "class" / "tty" / name / "device");
        if (node)
            file(root / "dev" / name);
    }

    void usbDevice(const std::string& device, const std::string& manufacturer,
                   const std::string& product) {
        const fs::path dir = root / "sys" / "devices" / device;
        file(dir / "idVendor", "0403\n");
        if (!manufacturer.empty())
            file(dir / "manufacturer", manufacturer + "\n");
        if (!product.empty())
            file(dir / "product", product + "\n");
    }

    void subsystem(const std::string& device, const std::string& bus) {
        fs::create_directories(root / "sys" / "bus" / bus);
        const fs::path dir = root / "sys" / "devices" / device;
        const fs::path devicePath(device);
        const auto depth = std::distance(devicePath.begin(), devicePath.end());
        std::string up;
        for (long i = 0; i < depth + 1; ++i)
            up += "../";
        fs::create_directory_symlink(up + "bus/" + bus, dir / "subsystem");
    }

    std::vector<DetectedPort> detect() { return detectSerialPorts(root / "dev", root / "sys"); }
    std::string dev(const std::string& name) { return (root / "dev" / name).string(); }

    fs::path root;
};

TEST_F(PortDetectionTest, ListsAdaptersAndRealPortsWithTheirDescriptions) {
    tty("ttyUSB10", "pci0/usb1/1-2/1-2:1.0/ttyUSB10");
    usbDevice("pci0/usb1/1-2", "", "CP2102 USB to UART");
    tty("ttyUSB0", "pci0/usb1/1-1/1-1:1.0/ttyUSB0");
    usbDevice("pci0/usb1/1-1", "FTDI", "FT232R USB UART");
    tty("ttyACM0", "pci0/usb1/1-3/1-3:1.0");
    usbDevice("pci0/usb1/1-3", "Arduino", "");
    tty("ttyS0", "pnp0/00:05");
    subsystem("pnp0/00:05", "pnp");
    tty("ttyS1", "platform/serial8250");  // a placeholder without hardware
    subsystem("platform/serial8250", "platform");
    tty("ttyUSB2", "pci0/usb1/1-4/1-4:1.0/ttyUSB2", false);  // no device node
    file(root / "sys" / "class" / "tty" / "ttyS2" / "dev");  // no device at all
    fs::create_directories(root / "sys" / "class" / "tty" / "tty0");
    fs::create_directories(root / "sys" / "class" / "tty" / "ttyUSBx");

    const auto ports = detect();
    EXPECT_THAT(ports, ElementsAre(Field(&DetectedPort::path, dev("ttyACM0")),
                                   Field(&DetectedPort::path, dev("ttyS0")),
                                   Field(&DetectedPort::path, dev("ttyUSB0")),
                                   Field(&DetectedPort::path, dev("ttyUSB10"))));
    EXPECT_EQ(ports[0].description, "Arduino");
    EXPECT_EQ(ports[1].description, "");
    EXPECT_EQ(ports[2].description, "FTDI FT232R USB UART");
    EXPECT_EQ(ports[3].description, "CP2102 USB to UART");
    EXPECT_EQ(ports[2].device, ports[2].path);
}

TEST_F(PortDetectionTest, StableNamesFollowTheDevicesTheyPointTo) {
    tty("ttyUSB0", "pci0/usb1/1-1/1-1:1.0/ttyUSB0");
    usbDevice("pci0/usb1/1-1", "FTDI", "FT232R USB UART");
    const fs::path byId = root / "dev" / "serial" / "by-id";
    fs::create_symlink("../../ttyUSB0", byId / "usb-FTDI_FT232R_A10K-if00-port0");
    fs::create_symlink("../../ttyUSB7", byId / "usb-gone-if00-port0");

    const auto ports = detect();
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_EQ(ports[1].path, (byId / "usb-FTDI_FT232R_A10K-if00-port0").string());
    EXPECT_EQ(ports[1].device, dev("ttyUSB0"));
    EXPECT_EQ(ports[1].description, "FTDI FT232R USB UART");
}

TEST_F(PortDetectionTest, AMissingTreeHasNoPorts) {
    EXPECT_TRUE(detectSerialPorts(root / "none", root / "none").empty());
}

}  // namespace
}  // namespace zavuv::link
