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
    // Bytes received from the instrument since the last carriage return.
    std::string pendingLine;
    bool signalLampsVisible = false;  // the lamp panel also when no port is open
    // Told about the bytes and lines received (transfer log, port status).
    ReceiveObserver* receiveObserver = nullptr;
};

// The serial link of the context, made without a port on first use.
inline SerialLink& SerialLinkOf(const CommandContext& ctx) {
    return ctx.subsystems.get<SerialLink>();
}

}  // namespace tarvosen
