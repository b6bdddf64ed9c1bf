#pragma once
// The serial subsystem's part of the command context: the port the front end
// offers, the bytes received since the last carriage return, whether the
// window shows the signal lamps and who watches what is received. It lives in ctx.subsystems, so the
// application core knows nothing of it.

#include <string>

#include "app/command_context.h"
#include "serial/receive_observer.h"

namespace tarvosen {

class SerialPort;

struct SerialLink {
    SerialPort* port = nullptr;  // absent where no port is offered (a background command)
    // Bytes received from the instrument since the last line end.
    std::string pendingLine;
    // The CR or LF that ended the last line, while no other byte followed it:
    // the other one of the pair (CR LF, LF CR) then ends no second line.
    char lastLineEnd = 0;
    // Set while the command line downloads: it stops at the END line, so
    // every byte after it is left out, not only the rest of END's burst.
    bool stopAtEnd = false;
    std::size_t endLine = 0;  // while stopAtEnd: the END line's number, 0 before it
    bool signalLampsVisible = false;  // the lamp panel also when no port is open
    // Told about the bytes and lines received (transfer log, port status).
    ReceiveObserver* receiveObserver = nullptr;
};

// The serial link of the context, made without a port on first use.
inline SerialLink& SerialLinkOf(const CommandContext& ctx) {
    return ctx.subsystems.get<SerialLink>();
}

}  // namespace tarvosen
