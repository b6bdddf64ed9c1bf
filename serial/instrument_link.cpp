#include "serial/instrument_link.h"

#include <algorithm>

#include "i18n/message_catalogue.h"
#include "serial/receive_observer.h"
#include "serial/serial_link.h"

namespace tarvosen {

void ApplyWindowPortSettings(SerialPort& comm) {
    comm.SetDeviceName("Com1");
    comm.SetMonitorEvents(kAllCommEvents);
}

namespace {

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// NUL and Ctrl-Z are no part of any line.
bool IsDropped(char c) { return c == '\0' || c == '\x1a'; }

// True when the byte c ends a line: a CR or LF, unless it is the second byte
// of a CR LF or LF CR pair.
bool EndsLine(SerialLink& link, char c) {
    const bool second = link.lastLineEnd != 0 && link.lastLineEnd != c;
    link.lastLineEnd = IsLineEnd(c) && !second ? c : 0;
    return link.lastLineEnd != 0;
}

// Passes over bytes that make no lines (after END), still following the
// line-end pairs, and returns how many of them would have been line text.
std::size_t LeaveOut(SerialLink& link, std::string_view bytes) {
    std::size_t text = 0;
    for (const char c : bytes) {
        if (IsDropped(c)) continue;
        EndsLine(link, c);
        if (!IsLineEnd(c)) ++text;
    }
    return text;
}

void WarnOfBytesAfterEnd(CommandContext& ctx, std::size_t bytes, std::size_t endLine) {
    if (bytes == 0) return;
    ctx.user.warning(TextsOf(ctx)(
        msg::kBytesAfterEnd,
        "%1 bytes received after the END line (line %2) were left out; the transfer log keeps "
        "them.",
        {std::to_string(bytes), std::to_string(endLine)}));
}

}  // namespace

std::size_t ReceiveBytes(CommandContext& ctx, std::string_view bytes) {
    SerialLink& link = SerialLinkOf(ctx);
    std::string& pending = link.pendingLine;
    ReceiveObserver* observer = link.receiveObserver;
    if (observer) observer->bytesReceived(bytes);
    if (link.stopAtEnd && link.endLine != 0) {
        WarnOfBytesAfterEnd(ctx, LeaveOut(link, bytes), link.endLine);
        return 0;
    }
    std::size_t lines = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (IsDropped(c)) continue;
        if (!EndsLine(link, c)) {
            if (!IsLineEnd(c)) pending.push_back(c);
            continue;
        }
        const bool end = IsEndLine(pending);
        AppendWorkspaceLine(ctx, std::move(pending));
        pending.clear();
        ++lines;
        const std::size_t lineNumber = ctx.workspace.lineCount();
        if (observer) observer->lineReceived(ctx.workspace.line(lineNumber - 1), lineNumber);
        if (!end) continue;
        // The download ends at its END line: what follows in the same burst
        // (padding, a cut record) is no part of it.
        if (link.stopAtEnd) link.endLine = lineNumber;
        WarnOfBytesAfterEnd(ctx, LeaveOut(link, bytes.substr(i + 1)), lineNumber);
        break;
    }
    return lines;
}

InstrumentLink::InstrumentLink(SerialPort& comm, CommandContext& ctx, SignalLamps* lamps)
    : comm_(comm), ctx_(ctx), lamps_(lamps) {
    auto lamp = [this](SignalLamp l) { return [this, l](SerialPort&) { FlashSignalLamp(l); }; };
    comm.OnBreak = lamp(SignalLamp::Break);
    comm.OnCts = lamp(SignalLamp::Cts);
    comm.OnDsr = lamp(SignalLamp::Dsr);
    comm.OnError = [this](SerialPort&, int) { FlashSignalLamp(SignalLamp::Error); };
    comm.OnRing = lamp(SignalLamp::Ring);
    comm.OnRlsd = lamp(SignalLamp::Rlsd);
    comm.OnRxChar = [this](SerialPort& sender, std::uint32_t count) {
        TakeReceivedBytes(sender, count);
    };
    comm.OnRxFlag = lamp(SignalLamp::RxFlag);
    comm.OnTxEmpty = lamp(SignalLamp::TxEmpty);
    comm.OnDeviceLost = [this](SerialPort& sender) { HandleDeviceLost(sender); };
}

InstrumentLink::~InstrumentLink() {
    // No event may reach this object once it is gone.
    comm_.Close();
    comm_.OnBreak = comm_.OnCts = comm_.OnDsr = comm_.OnRing = comm_.OnRlsd = nullptr;
    comm_.OnRxFlag = comm_.OnTxEmpty = nullptr;
    comm_.OnError = nullptr;
    comm_.OnRxChar = nullptr;
    comm_.OnDeviceLost = nullptr;
}

void InstrumentLink::FlashSignalLamp(SignalLamp lamp) {
    if (lamps_) lamps_->flash(lamp);
}

void InstrumentLink::TakeReceivedBytes(SerialPort& sender, std::uint32_t count) {
    FlashSignalLamp(SignalLamp::RxChar);
    const int n = sender.Read(buffer_.data(), std::min(count, kReceiveChunk));
    if (n < 1) return;
    ReceiveBytes(ctx_, std::string_view(buffer_.data(), static_cast<std::size_t>(n)));
}

void InstrumentLink::HandleDeviceLost(SerialPort& sender) {
    while (sender.InQueCount() > 0) {
        const int n = sender.Read(buffer_.data(), kReceiveChunk);
        if (n < 1) break;
        ReceiveBytes(ctx_, std::string_view(buffer_.data(), static_cast<std::size_t>(n)));
    }
    const std::string device = sender.DeviceName();
    const std::string reason = sender.DeviceLostReason();
    sender.Close();
    const MessageTexts texts = TextsOf(ctx_);
    std::string tail;
    std::string& pending = SerialLinkOf(ctx_).pendingLine;
    if (!pending.empty()) {
        tail = texts(msg::kWentAwayUnendedTail,
                     "; the last %1 bytes had no line end and are kept as the last line",
                     {std::to_string(pending.size())});
        AppendWorkspaceLine(ctx_, std::move(pending));
        pending.clear();
    }
    ctx_.user.error(texts(msg::kSerialDeviceWentAway,
                          "The serial device %1 went away (%2); the port is closed and the lines "
                          "received so far are kept%3.",
                          {device, reason, tail}));
}

}  // namespace tarvosen
