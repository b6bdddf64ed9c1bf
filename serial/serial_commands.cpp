#include "serial/serial_commands.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "app/errors.h"
#include "i18n/message_catalogue.h"
#include "serial/serial_link.h"
#include "serial/serial_port.h"
#include "serial/transfer.h"
#include "serial/transfer_log.h"
#include "serial/serial_options.h"

namespace tarvosen {

namespace {

// The position of value in choices, or a UsageError naming the option.
int Choice(const std::string& value, std::initializer_list<const char*> choices,
           const char* option) {
    int i = 0;
    std::string all;
    for (const char* c : choices) {
        if (value == c) return i;
        all += (i ? "|" : "") + std::string(c);
        ++i;
    }
    throw UsageError(std::string("--") + option + " takes " + all + ", not \"" + value + "\"");
}

void ApplyPort(OptionsStore& o, const std::string& v) {
    if (v.empty()) throw UsageError("--port needs a device, for example /dev/ttyUSB0 or Com1");
    o.get<TransferOptions>().port = v;
}

void ApplyBaud(OptionsStore& o, const std::string& v) {
    for (int i = 0; i < kBaudRateCount; ++i)
        if (v == std::to_string(BaudRateValue(static_cast<TBaudRate>(i)))) {
            o.get<PortSettings>().baudRate = i;
            return;
        }
    throw UsageError(
        "--baud takes 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, "
        "57600, 115200, 128000 or 256000, not \"" +
        v + "\"");
}

void ApplyParity(OptionsStore& o, const std::string& v) {
    o.get<PortSettings>().parity = Choice(v, {"none", "odd", "even", "mark", "space"}, "parity");
}

void ApplyDataBits(OptionsStore& o, const std::string& v) {
    o.get<PortSettings>().dataBits = 1 + Choice(v, {"5", "6", "7", "8"}, "data-bits");
}

void ApplyStopBits(OptionsStore& o, const std::string& v) {
    o.get<PortSettings>().stopBits = 2 * Choice(v, {"1", "2"}, "stop-bits");
}

void ApplyFlow(OptionsStore& o, const std::string& v) {
    o.get<PortSettings>().flowControl = Choice(v, {"none", "cts", "dtr", "xonxoff", "default"}, "flow");
}

void ApplyIdleTimeout(OptionsStore& o, const std::string& v) {
    char* end = nullptr;
    const double s = std::strtod(v.c_str(), &end);
    if (v.empty() || *end != '\0' || !std::isfinite(s) || s <= 0 || s > 86400)
        throw UsageError("--idle-timeout takes a number of seconds above 0, not \"" + v + "\"");
    o.get<TransferOptions>().idleTimeoutSeconds = s;
}

void ApplyInstrument(OptionsStore& o, const std::string& v) {
    o.get<TransferOptions>().instrumentKind = Choice(v, {"nikon300", "other"}, "instrument") == 0 ? 0 : 1;
}

constexpr CliOption kLineOptions[] = {
    {"port", "DEV", "the serial device, for example /dev/ttyUSB0 (Com1..Com4 = /dev/ttyS0..3)",
     ApplyPort},
    {"baud", "N", "baud rate, 300 to 256000 (default 9600)", ApplyBaud},
    {"parity", "none|odd|even|mark|space", "parity (default none)", ApplyParity},
    {"data-bits", "5..8", "data bits (default 8)", ApplyDataBits},
    {"stop-bits", "1|2", "stop bits (default 1)", ApplyStopBits},
    {"flow", "none|cts|dtr|xonxoff|default", "flow control (default xonxoff)", ApplyFlow},
};

// The line options followed by the command's own.
template <typename... Own>
constexpr auto LineOptionsAnd(Own... own) {
    std::array<CliOption, std::size(kLineOptions) + sizeof...(Own)> all{};
    std::copy(std::begin(kLineOptions), std::end(kLineOptions), all.begin());
    std::size_t i = std::size(kLineOptions);
    ((all[i++] = own), ...);
    return all;
}

constexpr auto kDownloadOptions = LineOptionsAnd(
    CliOption{"idle-timeout", "SECONDS", "stop when nothing has arrived for so long (default 30)",
              ApplyIdleTimeout},
    CliOption{"transfer-log", "FILE",
              "keep the transfer log (every burst received, with its time) in FILE",
              [](OptionsStore& o, const std::string& v) {
                  if (v.empty()) throw UsageError("--transfer-log needs a file name");
                  o.get<TransferOptions>().transferLog = std::filesystem::absolute(v).string();
              }});

constexpr auto kUploadOptions = LineOptionsAnd(CliOption{
    "instrument", "nikon300|other",
     "nikon300 sends Nikon 300/400/700 coordinate frames, other plain lines (default other)",
     ApplyInstrument});

// A front end whose port events run only while a command serves them (the
// command line) has no port open between commands: it must be given one.
void RequirePortOption(const CommandContext& ctx, const char* command) {
    SerialPort* port = SerialLinkOf(ctx).port;
    if (ctx.options.get<TransferOptions>().port.empty() && port && !port->Enabled() &&
        port->Events().servedByCaller())
        throw UsageError(std::string(command) + " needs --port DEV");
}

}  // namespace

CommandStatus CommunicationParameterCommand(CommandContext& ctx) {
    if (!ctx.user.showOptionDialog(kPortSettingsDialog)) return CommandStatus::Cancelled;
    return OpenPortWithParameters(ctx);
}

CommandStatus DownloadCommand(CommandContext& ctx) {
    RequirePortOption(ctx, "download");
    if (!ctx.options.get<TransferOptions>().port.empty()) {
        // The port is named before the watch writes it into the log's header.
        ctx.options.get<PortSettings>().port = ctx.options.get<TransferOptions>().port;
        DownloadWatch watch(ctx, ctx.options.get<TransferOptions>().transferLog);
        const CommandStatus status = DownloadFromPort(ctx);
        SerialPort* port = SerialLinkOf(ctx).port;
        const std::string lost = port ? port->DeviceLostReason() : "";
        watch.finish(watch.sawEnd() ? "END"
                     : !lost.empty() ? "device lost (" + lost + ")"
                                     : "idle time-out");
        return status;
    }
    // The window receives whenever the port is open. It is opened here with
    // the dialog's settings when it is not; one that cannot be opened throws
    // with the reason, before the user is told the computer is ready.
    if (!PortOf(ctx).Enabled() && OpenPortWithParameters(ctx) != CommandStatus::Done)
        return CommandStatus::Stopped;
    ctx.user.information(ctx.message(msg::kDownloadNotice, kDownloadNotice));
    return CommandStatus::Done;
}
std::span<const CliOption> DownloadCliOptions() {
    return kDownloadOptions;
}

CommandStatus UploadCommand(CommandContext& ctx) {
    RequirePortOption(ctx, "upload");
    const int kind = ctx.options.get<TransferOptions>().instrumentKind >= 0 ? ctx.options.get<TransferOptions>().instrumentKind
                                                              : ctx.state.instrumentKind;
    return UploadLines(ctx, kind);
}
std::span<const CliOption> UploadCliOptions() {
    return kUploadOptions;
}

CommandStatus TogglePortSignalCommand(CommandContext& ctx) {
    bool& visible = SerialLinkOf(ctx).signalLampsVisible;
    visible = !visible;
    return CommandStatus::Done;
}

}  // namespace tarvosen
