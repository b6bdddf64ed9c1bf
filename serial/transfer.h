#pragma once
// Opening the port with the parameter dialog's values, downloading into the
// workspace and uploading from it.

#include <string>
#include <string_view>

#include "app/command.h"
#include "serial/serial_port.h"
#include "serial/serial_options.h"

namespace tarvosen {

// The checksum character of a Nikon coordinate frame: the sum of the bytes
// taken as signed 8-bit values, its remainder modulo 64 (same sign as the
// sum), plus 32.
char UploadChecksum(std::string_view text);

// The frames of the Nikon coordinate protocol, each ended by CR LF.
std::string NikonHeaderFrame();
std::string NikonPointFrame(std::string_view line);
std::string NikonTrailerFrame();

// Longest workspace lines the upload frames hold.
inline constexpr std::size_t kPlainLineLimit = 297;
inline constexpr std::size_t kNikonLineLimit = 192;

// The English text of msg::kDownloadNotice.
inline constexpr const char* kDownloadNotice =
    "The computer is ready. Press OK, then start sending the data on the instrument.";

// The port of the context; DeviceError when the front end offers none.
SerialPort& PortOf(CommandContext& ctx);

// The parameter dialog's OK: close the port, copy the dialog's values into
// it, open it and raise RTS and DTR. Stopped (with the message) when the port
// stayed open.
CommandStatus OpenPortWithParameters(CommandContext& ctx);

// The command line's download: the port of ctx.options.get<TransferOptions>() opened with
// the portSettings values, lines received until an END line or the idle time-out.
CommandStatus DownloadFromPort(CommandContext& ctx);

// Upload of the workspace lines: plain lines or, for instrument kind 0, the
// Nikon coordinate frames. A write that falls short ends it with a
// DeviceError that says how many lines went out.
CommandStatus UploadLines(CommandContext& ctx, int instrumentKind);

}  // namespace tarvosen
