#pragma once
// Reads a terminal's settings through the kernel's termios2 interface, which
// reports any baud rate (the C library's termios reports only standard ones).

#include <cstdint>

namespace tarvosen::test {

struct LineState {
    std::uint32_t outputBaud = 0;
    std::uint32_t inputBaud = 0;
    int dataBits = 0;
    bool parity = false, oddParity = false, markSpace = false, twoStopBits = false;
    bool xonXoff = false;
    bool raw = false;  // no translation of CR, LF or anything else
};

LineState ReadLineState(int fd);
// The frame part of a LineState from control-mode flags.
LineState DecodeFrameFlags(std::uint32_t cflag);

}  // namespace tarvosen::test
