#pragma once
// A thin POSIX layer over one serial device: exactly the operations the serial
// port component needs, on real ports (/dev/ttyS*, ttyUSB*, ttyACM*, rfcomm*)
// and on pseudo-terminals. Failures come back as errno values, never thrown:
// the component turns them into its own messages.

#include <sys/types.h>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tarvosen {

// What goes on the line.
struct LineSettings {
    enum class Parity { None, Odd, Even, Mark, Space };
    enum class StopBits { One, OneAndHalf, Two };

    std::uint32_t baudRate = 9600;  // any rate the driver takes, standard or not
    int dataBits = 8;               // 4..8 asked for; the device takes 5..8
    Parity parity = Parity::None;
    StopBits stopBits = StopBits::One;
    bool xonXoff = false;  // switch XON/XOFF on in both directions (never switches it off)
    unsigned char xonChar = 17;
    unsigned char xoffChar = 19;
};

// Why the device cannot take these settings, or empty when it can.
std::string UnsupportedSetting(const LineSettings& settings);

// Transition counters of a UART (only real ports keep them).
struct LineCounters {
    std::uint32_t cts = 0, dsr = 0, ring = 0, dcd = 0;
    std::uint32_t breaks = 0, frame = 0, overrun = 0, parity = 0, bufferOverrun = 0;
};

// The control-mode flags of the frame (size, parity, stop bits) in the
// kernel's termios encoding.
std::uint32_t FrameFlags(const LineSettings& settings);

// Modem line bits as GetModemLines reports them.
namespace modem {
inline constexpr int kCts = 0x1;
inline constexpr int kDsr = 0x2;
inline constexpr int kRing = 0x4;
inline constexpr int kRlsd = 0x8;
}  // namespace modem

// The path of a device name: "Com1".."Com9" (any case) name /dev/ttyS0..8,
// every other name is a path already.
std::string DevicePath(const std::string& deviceName);

class SerialDevice {
  public:
    SerialDevice() = default;
    ~SerialDevice() { close(); }
    SerialDevice(const SerialDevice&) = delete;
    SerialDevice& operator=(const SerialDevice&) = delete;

    // Opens the device for exclusive use, non-blocking, in raw mode. 0 or an
    // errno value (ENOTTY for something that is not a character device, EBUSY
    // when another program has it).
    int open(const std::string& path);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }

    // Applies the settings; the rest of the terminal state stays raw. The
    // settings read back must match, so a driver that silently substitutes
    // another setting is caught (a pseudo-terminal has no frame to check).
    // 0 or an errno value.
    int apply(const LineSettings& settings);
    // The rate the driver reports after apply.
    std::uint32_t actualBaudRate() const { return actualBaud_; }

    int purge(bool input, bool output);
    // DTR and RTS. A device without modem lines (a pseudo-terminal) takes
    // these as no-ops.
    int setDtr(bool on);
    int setRts(bool on);

    // modem:: bits, or nothing when the device has no modem lines.
    std::optional<int> modemLines() const;
    std::optional<LineCounters> counters() const;

    int inputQueue() const;   // bytes waiting in the driver's input queue
    int outputQueue() const;  // bytes not yet sent

    // Non-blocking transfers: bytes moved, or -1 with errno set (EAGAIN when
    // nothing can move now).
    ssize_t readSome(void* buffer, std::size_t count);
    ssize_t writeSome(const void* buffer, std::size_t count);

  private:
    int modemBits(unsigned long request, int bits);

    int fd_ = -1;
    bool pseudoTerminal_ = false;
    std::uint32_t actualBaud_ = 0;
};

}  // namespace tarvosen
