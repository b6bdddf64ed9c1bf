// The device layer speaks to the kernel's termios2 interface directly: it is
// the one that takes any baud rate (BOTHER), so the non-standard rates of the
// component (14400, 56000, 128000, 256000) reach the line. <termios.h> defines
// a different struct termios, so this file includes only the kernel's headers.
#include "serial/serial_device.h"

#include <asm/termbits.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace tarvosen {

namespace {

// The largest deviation of the rate a driver reports from the rate asked for
// that still lets two UARTs understand each other.
constexpr double kBaudTolerance = 0.03;

tcflag_t SizeFlag(int dataBits) {
    switch (dataBits) {
        case 5:
            return CS5;
        case 6:
            return CS6;
        case 7:
            return CS7;
        default:
            return CS8;
    }
}

// The control flags that carry the frame format.
constexpr tcflag_t kFrameFlags = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB;

bool IsModemLineless(int error) {
    return error == ENOTTY || error == EINVAL;
}

}  // namespace

std::string UnsupportedSetting(const LineSettings& s) {
    if (s.dataBits < 5 || s.dataBits > 8)
        return std::to_string(s.dataBits) + " data bits cannot be set on this system (5 to 8 can)";
    // A UART sends 1.5 stop bits when it is asked for a long stop with 5 data
    // bits; with more data bits there is no such setting.
    if (s.stopBits == LineSettings::StopBits::OneAndHalf && s.dataBits != 5)
        return "1.5 stop bits exist only with 5 data bits";
    if (s.baudRate == 0) return "a baud rate of 0 cannot be set";
    return {};
}

std::uint32_t FrameFlags(const LineSettings& s) {
    tcflag_t flags = SizeFlag(s.dataBits);
    switch (s.parity) {
        case LineSettings::Parity::None:
            break;
        case LineSettings::Parity::Odd:
            flags |= PARENB | PARODD;
            break;
        case LineSettings::Parity::Even:
            flags |= PARENB;
            break;
        case LineSettings::Parity::Mark:
            flags |= PARENB | CMSPAR | PARODD;
            break;
        case LineSettings::Parity::Space:
            flags |= PARENB | CMSPAR;
            break;
    }
    if (s.stopBits != LineSettings::StopBits::One) flags |= CSTOPB;
    return flags;
}

std::string DevicePath(const std::string& deviceName) {
    if (deviceName.size() >= 4 && deviceName.size() <= 5) {
        auto lower = [](char c) { return static_cast<char>(c | 0x20); };
        if (lower(deviceName[0]) == 'c' && lower(deviceName[1]) == 'o' &&
            lower(deviceName[2]) == 'm') {
            const std::string digits = deviceName.substr(3);
            char* end = nullptr;
            const long n = std::strtol(digits.c_str(), &end, 10);
            if (end && *end == '\0' && !digits.empty() && n >= 1 && n <= 99)
                return "/dev/ttyS" + std::to_string(n - 1);
        }
    }
    return deviceName;
}

int SerialDevice::open(const std::string& path) {
    close();
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode) || !isatty(fd)) {
        ::close(fd);
        return ENOTTY;
    }
    // Exclusive: a second program (or a second open by this one) is refused.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int e = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        return e;
    }
    ioctl(fd, TIOCEXCL);
    fd_ = fd;
    // Pseudo-terminal slaves (majors 136 to 143) carry no frame: the kernel
    // keeps them at 8 bits without parity whatever is asked.
    pseudoTerminal_ = major(st.st_rdev) >= 136 && major(st.st_rdev) <= 143;
    // Raw from the start: the line discipline must not translate a single byte.
    struct termios2 t {};
    if (ioctl(fd_, TCGETS2, &t) == 0) {
        t.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IUCLC | IMAXBEL);
        t.c_oflag &= ~OPOST;
        t.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN | ECHOE | ECHOK | ECHOCTL | ECHOKE);
        t.c_cflag |= CREAD | CLOCAL;
        t.c_cc[VMIN] = 1;
        t.c_cc[VTIME] = 0;
        if (ioctl(fd_, TCSETS2, &t) != 0) {
            const int e = errno;
            close();
            return e;
        }
    }
    return 0;
}

void SerialDevice::close() {
    if (fd_ < 0) return;
    ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
    actualBaud_ = 0;
    pseudoTerminal_ = false;
}

int SerialDevice::apply(const LineSettings& s) {
    if (fd_ < 0) return EBADF;
    if (!UnsupportedSetting(s).empty()) return EINVAL;
    struct termios2 t {};
    if (ioctl(fd_, TCGETS2, &t) != 0) return errno;

    t.c_cflag &= ~(kFrameFlags | CBAUD | (CBAUD << IBSHIFT));
    t.c_cflag |= FrameFlags(s) | CREAD | CLOCAL | BOTHER | (BOTHER << IBSHIFT);
    t.c_ispeed = t.c_ospeed = s.baudRate;

    // Handshake flags stay as the device had them; XON/XOFF is only ever added.
    if (s.xonXoff) t.c_iflag |= IXON | IXOFF;
    t.c_cc[VSTART] = s.xonChar;
    t.c_cc[VSTOP] = s.xoffChar;
    // Received bytes are taken as they come, without a parity check.
    t.c_iflag &= ~(INPCK | IGNPAR | PARMRK);

    if (ioctl(fd_, TCSETS2, &t) != 0) return errno;

    // The kernel accepts what a driver cannot do and reports what it did.
    struct termios2 back {};
    if (ioctl(fd_, TCGETS2, &back) != 0) return errno;
    if (!pseudoTerminal_ && (back.c_cflag & kFrameFlags) != (t.c_cflag & kFrameFlags))
        return EINVAL;
    actualBaud_ = back.c_ospeed;
    if (back.c_ospeed != 0 &&
        std::fabs(static_cast<double>(back.c_ospeed) - s.baudRate) > kBaudTolerance * s.baudRate)
        return EINVAL;
    return 0;
}

int SerialDevice::purge(bool input, bool output) {
    if (fd_ < 0) return EBADF;
    if (!input && !output) return 0;
    const int which = input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH;
    return ioctl(fd_, TCFLSH, which) == 0 ? 0 : errno;
}

int SerialDevice::modemBits(unsigned long request, int bits) {
    if (fd_ < 0) return EBADF;
    if (ioctl(fd_, request, &bits) == 0) return 0;
    return IsModemLineless(errno) ? 0 : errno;
}

int SerialDevice::setDtr(bool on) {
    return modemBits(on ? TIOCMBIS : TIOCMBIC, TIOCM_DTR);
}

int SerialDevice::setRts(bool on) {
    return modemBits(on ? TIOCMBIS : TIOCMBIC, TIOCM_RTS);
}

std::optional<int> SerialDevice::modemLines() const {
    int bits = 0;
    if (fd_ < 0 || ioctl(fd_, TIOCMGET, &bits) != 0) return std::nullopt;
    int lines = 0;
    if (bits & TIOCM_CTS) lines |= modem::kCts;
    if (bits & TIOCM_DSR) lines |= modem::kDsr;
    if (bits & TIOCM_RI) lines |= modem::kRing;
    if (bits & TIOCM_CD) lines |= modem::kRlsd;
    return lines;
}

std::optional<LineCounters> SerialDevice::counters() const {
    struct serial_icounter_struct ic {};
    if (fd_ < 0 || ioctl(fd_, TIOCGICOUNT, &ic) != 0) return std::nullopt;
    LineCounters c;
    c.cts = static_cast<std::uint32_t>(ic.cts);
    c.dsr = static_cast<std::uint32_t>(ic.dsr);
    c.ring = static_cast<std::uint32_t>(ic.rng);
    c.dcd = static_cast<std::uint32_t>(ic.dcd);
    c.breaks = static_cast<std::uint32_t>(ic.brk);
    c.frame = static_cast<std::uint32_t>(ic.frame);
    c.overrun = static_cast<std::uint32_t>(ic.overrun);
    c.parity = static_cast<std::uint32_t>(ic.parity);
    c.bufferOverrun = static_cast<std::uint32_t>(ic.buf_overrun);
    return c;
}

int SerialDevice::inputQueue() const {
    int n = 0;
    if (fd_ < 0 || ioctl(fd_, FIONREAD, &n) != 0) return 0;
    return n;
}

int SerialDevice::outputQueue() const {
    int n = 0;
    if (fd_ < 0 || ioctl(fd_, TIOCOUTQ, &n) != 0) return 0;
    return n;
}

ssize_t SerialDevice::readSome(void* buffer, std::size_t count) {
    if (fd_ < 0) {
        errno = EBADF;
        return -1;
    }
    return ::read(fd_, buffer, count);
}

ssize_t SerialDevice::writeSome(const void* buffer, std::size_t count) {
    if (fd_ < 0) {
        errno = EBADF;
        return -1;
    }
    return ::write(fd_, buffer, count);
}

}  // namespace tarvosen
