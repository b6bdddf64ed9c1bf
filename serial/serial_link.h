#pragma once
// The serial subsystem's part of the command context: the port the front end
// offers, the bytes received since the last carriage return and whether the
// window shows the signal lamps. It lives in ctx.subsystems, so the
// application core knows nothing of it.

#include <string>

#include "app/command_context.h"

namespace tarvosen {

class SerialPort;

struct SerialLink {
    SerialPort* port = nullptr;  // absent where no port is offered (a background command)
    // Bytes received from the instrument since the last carriage return.
    std::string pendingLine;
    bool signalLampsVisible = true;  // the window's lamp panel
};

// The serial link of the context, made without a port on first use.
inline SerialLink& SerialLinkOf(const CommandContext& ctx) {
    return ctx.subsystems.get<SerialLink>();
}

}  // namespace tarvosen
