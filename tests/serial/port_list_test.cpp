#include <gtest/gtest.h>

#include <fstream>

#include "serial/port_list.h"
#include "tests/support/test_context.h"

namespace tarvosen {
namespace {

namespace fs = std::filesystem;

TEST(PortList, ComNamesFirstThenThePresentDevicesWithTheirAdapterNames) {
    test::TestContext t;
    const fs::path sys = t.dir() / "sys", byId = t.dir() / "by-id";
    auto tty = [&](const std::string& name, const char* type = nullptr) {
        fs::create_directories(sys / name);
        if (type) std::ofstream(sys / name / "type") << type << "\n";
    };
    tty("ttyS0", "4");
    tty("ttyS4", "4");
    tty("ttyS5", "0");  // no UART behind it
    tty("ttyUSB10");
    tty("ttyUSB2");
    tty("ttyACM0");
    tty("rfcomm0");
    tty("tty1");
    tty("ttyUSBx");
    fs::create_directories(byId);
    fs::create_symlink("../../ttyUSB2", byId / "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");

    const auto ports = ListSerialPorts({sys, byId, "/dev"});
    std::vector<std::string> shown;
    for (const auto& p : ports) shown.push_back(p.deviceName + " | " + p.description);
    EXPECT_EQ(shown, (std::vector<std::string>{
                         "Com1 | Com1 (/dev/ttyS0)",
                         "Com2 | Com2 (/dev/ttyS1)",
                         "Com3 | Com3 (/dev/ttyS2)",
                         "Com4 | Com4 (/dev/ttyS3)",
                         "/dev/rfcomm0 | /dev/rfcomm0 - Bluetooth serial port",
                         "/dev/ttyACM0 | /dev/ttyACM0 - USB modem (CDC ACM)",
                         "/dev/ttyS4 | /dev/ttyS4 - serial port",
                         "/dev/ttyUSB2 | /dev/ttyUSB2 - FTDI FT232R USB UART A50285BI",
                         "/dev/ttyUSB10 | /dev/ttyUSB10 - USB serial adapter",
                     }));
    // A machine without any of these folders still offers Com1..Com4.
    EXPECT_EQ(ListSerialPorts({t.dir() / "none", t.dir() / "none", "/dev"}).size(), 4u);
}

}  // namespace
}  // namespace tarvosen
