#pragma once
// The serial ports the parameter dialog offers: "Com1" to "Com4" (the first
// four UART ports, /dev/ttyS0 to /dev/ttyS3, so the initial selection always
// exists) and every other serial device present, with a readable description.

#include <filesystem>
#include <string>
#include <vector>

namespace tarvosen {

struct PortChoice {
    std::string deviceName;   // what goes into DeviceName
    std::string description;  // what the list shows
};

struct PortListSources {
    std::filesystem::path sysClassTty = "/sys/class/tty";
    std::filesystem::path byId = "/dev/serial/by-id";
    std::filesystem::path dev = "/dev";
};

std::vector<PortChoice> ListSerialPorts(const PortListSources& sources = {});

// "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0" -> "FTDI FT232R USB UART A50285BI".
std::string ReadableById(std::string name);

}  // namespace tarvosen
