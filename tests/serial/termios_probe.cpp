#include "tests/serial/termios_probe.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace tarvosen::test {

LineState DecodeFrameFlags(std::uint32_t cflag) {
    LineState s;
    switch (cflag & CSIZE) {
        case CS5:
            s.dataBits = 5;
            break;
        case CS6:
            s.dataBits = 6;
            break;
        case CS7:
            s.dataBits = 7;
            break;
        default:
            s.dataBits = 8;
    }
    s.parity = cflag & PARENB;
    s.oddParity = cflag & PARODD;
    s.markSpace = cflag & CMSPAR;
    s.twoStopBits = cflag & CSTOPB;
    return s;
}

LineState ReadLineState(int fd) {
    struct termios2 t {};
    if (ioctl(fd, TCGETS2, &t) != 0) return {};
    LineState s = DecodeFrameFlags(t.c_cflag);
    s.outputBaud = t.c_ospeed;
    s.inputBaud = t.c_ispeed;
    s.xonXoff = (t.c_iflag & IXON) && (t.c_iflag & IXOFF);
    s.raw = !(t.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP)) && !(t.c_oflag & OPOST) &&
            !(t.c_lflag & (ICANON | ECHO | ISIG));
    return s;
}

}  // namespace tarvosen::test
