#include "serial/transfer.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <sstream>

#include "app/errors.h"
#include "app/progress_scope.h"
#include "i18n/message_catalogue.h"
#include "serial/instrument_link.h"
#include "serial/serial_link.h"
#include "serial/serial_options.h"

namespace tarvosen {

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kUploadNotice =
    "Set the instrument to receive data, then press OK to start the upload.";
constexpr const char* kNothingToUpload =
    "The window holds no data to upload. Load a coordinate file first.";
constexpr const char* kNikonNoPoints =
    "Enter coordinate data, or load a file with Load file in the File Processing menu, then "
    "upload again. The file format is \"point,X,Y,Z,code\"!";
constexpr const char* kNikonUploadDone = "%1 points have been sent to the total station";
constexpr const char* kPortAlreadyOpen = "The port %1 is already open!";

// Closes the port when the command that opened it ends, however it ends.
class PortCloser {
  public:
    explicit PortCloser(SerialPort& comm) : comm_(comm) {}
    ~PortCloser() { comm_.Close(); }
    PortCloser(const PortCloser&) = delete;
    PortCloser& operator=(const PortCloser&) = delete;

  private:
    SerialPort& comm_;
};

// Where an upload stopped: at a data line, the Nikon header or closing frame.
enum class UploadStop { DataLine, HeaderFrame, ClosingFrame };

[[noreturn]] void ThrowUploadFailed(SerialPort* comm, std::size_t sent, std::size_t total,
                                    UploadStop where = UploadStop::DataLine) {
    std::string reason = comm ? comm->LastWriteError() : "this program has no serial port";
    if (reason.empty()) reason = "the device took only part of a frame";
    const std::vector<std::string> values = {std::to_string(sent), std::to_string(total), reason};
    switch (where) {
        case UploadStop::HeaderFrame:
            throw DeviceError({msg::kUploadFailedAtHeader,
                               "Upload failed at the header frame: %1 of %2 data lines were sent "
                               "before the failure (%3)",
                               values});
        case UploadStop::ClosingFrame:
            throw DeviceError({msg::kUploadFailedAtClosing,
                               "Upload failed at the closing frame: %1 of %2 data lines were sent "
                               "before the failure (%3)",
                               values});
        case UploadStop::DataLine:
            break;
    }
    throw DeviceError({msg::kUploadFailed,
                       "Upload failed: %1 of %2 data lines were sent before the failure (%3)",
                       values});
}

bool WriteFrame(SerialPort* comm, const std::string& frame) {
    return comm && comm->Write(frame.data(), static_cast<std::uint32_t>(frame.size())) ==
                       static_cast<int>(frame.size());
}

// The first workspace line longer than limit, as a message, or empty.
std::string LongLine(const CommandContext& ctx, std::size_t limit) {
    const Workspace& ws = ctx.workspace;
    for (std::size_t i = 0; i < ws.lineCount(); ++i)
        if (ws.line(i).size() > limit)
            return TextsOf(ctx)(msg::kUploadLineTooLong,
                                "Line %1 has %2 characters; an upload frame holds at most %3. "
                                "Nothing was sent.",
                                {std::to_string(i + 1), std::to_string(ws.line(i).size()),
                                 std::to_string(limit)});
    return {};
}

std::string NikonNothingToUpload(const CommandContext& ctx) {
    return ctx.message(msg::kNikonNothingToUpload, kNikonNoPoints);
}

CommandStatus NikonUpload(CommandContext& ctx) {
    SerialPort* comm = SerialLinkOf(ctx).port;
    const Workspace& ws = ctx.workspace;
    if (auto problem = LongLine(ctx, kNikonLineLimit); !problem.empty()) {
        ctx.user.error(problem);
        return CommandStatus::Stopped;
    }
    const std::size_t n = ws.lineCount();
    if (!WriteFrame(comm, NikonHeaderFrame()))
        ThrowUploadFailed(comm, 0, n, UploadStop::HeaderFrame);
    if (n == 0) {
        ctx.user.information(NikonNothingToUpload(ctx));
        return CommandStatus::Stopped;
    }
    {
        ProgressScope progress(ctx.user, static_cast<int>(n));
        for (std::size_t i = 0; i < n; ++i) {
            if (!WriteFrame(comm, NikonPointFrame(ws.line(i)))) ThrowUploadFailed(comm, i, n);
            progress.setPosition(static_cast<int>(i));
        }
    }
    if (!WriteFrame(comm, NikonTrailerFrame()))
        ThrowUploadFailed(comm, n, n, UploadStop::ClosingFrame);
    ctx.user.information(
        TextsOf(ctx)(msg::kNikonUploadDone, kNikonUploadDone, {std::to_string(n)}));
    return CommandStatus::Done;
}

CommandStatus PlainUpload(CommandContext& ctx) {
    SerialPort* comm = SerialLinkOf(ctx).port;
    const Workspace& ws = ctx.workspace;
    if (ws.empty()) {
        ctx.user.information(ctx.message(msg::kUploadNothingToSend, kNothingToUpload));
        return CommandStatus::Stopped;
    }
    if (auto problem = LongLine(ctx, kPlainLineLimit); !problem.empty()) {
        ctx.user.error(problem);
        return CommandStatus::Stopped;
    }
    const std::size_t n = ws.lineCount();
    {
        ProgressScope progress(ctx.user, static_cast<int>(n));
        std::string frame;
        for (std::size_t i = 0; i < n; ++i) {
            frame = ws.line(i);
            frame += "\r\n";
            if (!WriteFrame(comm, frame)) ThrowUploadFailed(comm, i, n);
            progress.setPosition(static_cast<int>(i));
        }
    }
    ctx.user.information(TextsOf(ctx)(msg::kPlainUploadDone,
                                      "Upload finish! %1 data lines have been transfered",
                                      {std::to_string(n)}));
    return CommandStatus::Done;
}

}  // namespace

char UploadChecksum(std::string_view text) {
    int sum = 0;
    for (const char c : text) sum += static_cast<signed char>(c);
    return static_cast<char>(sum % 64 + 32);
}

std::string NikonHeaderFrame() {
    const std::string s = "A,01,";
    return s + UploadChecksum(s) + ",\r\n";
}

std::string NikonPointFrame(std::string_view line) {
    std::string s = "G,";
    s += line;
    s += ',';
    s += UploadChecksum(s);
    s += ",\r\n";
    return s;
}

std::string NikonTrailerFrame() {
    const std::string s = "Z,";
    return s + UploadChecksum(s) + ",\r\n";
}

SerialPort& PortOf(CommandContext& ctx) {
    SerialPort* port = SerialLinkOf(ctx).port;
    if (!port)
        throw DeviceError({msg::kNoSerialPortHere, "This program offers no serial port here", {}});
    return *port;
}

CommandStatus OpenPortWithParameters(CommandContext& ctx) {
    SerialPort& comm = PortOf(ctx);
    const PortSettings& p = ctx.options.get<PortSettings>();
    if (comm.Enabled()) comm.Close();
    comm.SetDeviceName(p.port);
    comm.SetBaudRate(static_cast<TBaudRate>(std::clamp(p.baudRate, 0, kBaudRateCount - 1)));
    comm.SetParity(static_cast<TParity>(std::clamp(p.parity, 0, 4)));
    comm.SetFlowControl(static_cast<TFlowControl>(std::clamp(p.flowControl, 0, 4)));
    comm.SetDataBits(static_cast<TDataBits>(std::clamp(p.dataBits, 0, 4)));
    comm.SetStopBits(static_cast<TStopBits>(std::clamp(p.stopBits, 0, 2)));
    if (comm.Enabled()) {
        ctx.user.information(
            TextsOf(ctx)(msg::kPortAlreadyOpen, kPortAlreadyOpen, {comm.DeviceName()}));
        return CommandStatus::Stopped;
    }
    comm.Open();
    comm.SetRTSState(true);
    comm.SetDTRState(true);
    return CommandStatus::Done;
}

CommandStatus DownloadFromPort(CommandContext& ctx) {
    SerialPort& comm = PortOf(ctx);
    const TransferOptions& t = ctx.options.get<TransferOptions>();
    ctx.options.get<PortSettings>().port = t.port;
    if (OpenPortWithParameters(ctx) != CommandStatus::Done) return CommandStatus::Stopped;
    PortCloser closer(comm);
    // The download ends at its END line: nothing received after it is kept.
    struct StopAtEnd {
        SerialLink& link;
        explicit StopAtEnd(SerialLink& l) : link(l) { link.stopAtEnd = true, link.endLine = 0; }
        ~StopAtEnd() { link.stopAtEnd = false, link.endLine = 0; }
    } stopAtEnd(SerialLinkOf(ctx));
    ctx.user.information(ctx.message(msg::kDownloadNotice, kDownloadNotice));

    const auto idle = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(std::max(0.0, t.idleTimeoutSeconds)));
    const std::size_t firstLine = ctx.workspace.lineCount();
    std::size_t scanned = firstLine;
    std::uint64_t bytes = comm.BytesReceived();
    auto lastActivity = Clock::now();
    bool ended = false;
    {
        ProgressScope progress(ctx.user, 0);
        while (!ended) {
            const auto left = idle - (Clock::now() - lastActivity);
            if (left <= Clock::duration::zero()) break;
            comm.Events().serve(
                std::min(std::chrono::duration_cast<std::chrono::milliseconds>(left) +
                             std::chrono::milliseconds(1),
                         std::chrono::milliseconds(200)));
            if (comm.BytesReceived() != bytes) {
                bytes = comm.BytesReceived();
                lastActivity = Clock::now();
            }
            for (; scanned < ctx.workspace.lineCount() && !ended; ++scanned)
                ended = IsEndLine(ctx.workspace.line(scanned));
            progress.setPosition(static_cast<int>(ctx.workspace.lineCount() - firstLine));
            // The device went away: the link has kept what came and said so.
            if (!comm.Enabled()) break;
        }
    }
    comm.Close();

    const MessageTexts texts = TextsOf(ctx);
    const std::size_t received = ctx.workspace.lineCount() - firstLine;
    if (!ended && !comm.DeviceLostReason().empty()) {
        ctx.user.information(texts(msg::kDownloadDeviceLost,
                                   "%1 lines were received before the device went away",
                                   {std::to_string(received)}));
        return CommandStatus::Interrupted;
    }
    if (std::string& pending = SerialLinkOf(ctx).pendingLine; !pending.empty()) {
        ctx.user.warning(texts(
            msg::kDownloadUnendedTail,
            "The last %1 bytes received had no line end; they are kept as the last line",
            {std::to_string(pending.size())}));
        AppendWorkspaceLine(ctx, std::move(pending));
        pending.clear();
    }
    std::ostringstream secondsText;
    secondsText << t.idleTimeoutSeconds;
    const std::string seconds = secondsText.str();
    if (ended) {
        ctx.user.information(texts(msg::kDownloadEndedWithEnd, "%1 lines received, ending with END",
                                   {std::to_string(received)}));
    } else if (received == 0 && ctx.workspace.lineCount() == firstLine) {
        ctx.user.error(texts(msg::kDownloadNothingArrived, "No data arrived from %1 within %2 s",
                             {t.port, seconds}));
        return CommandStatus::Stopped;
    } else {
        // The count includes an unended tail kept as the last line above.
        const std::string lines = std::to_string(ctx.workspace.lineCount() - firstLine);
        ctx.user.information(texts(msg::kDownloadIdleWithoutEnd,
                                   "Nothing arrived for %1 s; %2 lines received without END",
                                   {seconds, lines}));
    }
    return CommandStatus::Done;
}

CommandStatus UploadLines(CommandContext& ctx, int instrumentKind) {
    // Nothing is asked of the user, and no port opened, when there is
    // nothing to send or a line would not fit a frame.
    if (ctx.workspace.empty()) {
        ctx.user.information(instrumentKind == 0
                                 ? NikonNothingToUpload(ctx)
                                 : ctx.message(msg::kUploadNothingToSend, kNothingToUpload));
        return CommandStatus::Stopped;
    }
    if (auto problem =
            LongLine(ctx, instrumentKind == 0 ? kNikonLineLimit : kPlainLineLimit);
        !problem.empty()) {
        ctx.user.error(problem);
        return CommandStatus::Stopped;
    }
    std::optional<PortCloser> closer;
    if (!ctx.options.get<TransferOptions>().port.empty()) {
        ctx.options.get<PortSettings>().port = ctx.options.get<TransferOptions>().port;
        if (OpenPortWithParameters(ctx) != CommandStatus::Done) return CommandStatus::Stopped;
        closer.emplace(PortOf(ctx));
    }
    ctx.user.information(ctx.message(msg::kUploadStart, kUploadNotice));
    return instrumentKind == 0 ? NikonUpload(ctx) : PlainUpload(ctx);
}

}  // namespace tarvosen
