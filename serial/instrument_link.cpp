#include "serial/instrument_link.h"

#include "i18n/message_catalogue.h"
#include "serial/receive_observer.h"
#include "serial/serial_link.h"

namespace tarvosen {

void ApplyWindowPortSettings(SerialPort& comm) {
    comm.SetDeviceName("Com1");
    comm.SetMonitorEvents(kAllCommEvents);
}

std::size_t ReceiveBytes(CommandContext& ctx, std::string_view bytes) {
    std::string& pending = SerialLinkOf(ctx).pendingLine;
    ReceiveObserver* observer = SerialLinkOf(ctx).receiveObserver;
    if (observer) observer->bytesReceived(bytes);
    std::size_t lines = 0;
    for (const char c : bytes) {
        switch (c) {
            case '\0':
            case '\n':
            case '\x1a':
                break;
            case '\r':
                AppendWorkspaceLine(ctx, std::move(pending));
                pending.clear();
                ++lines;
                if (observer)
                    observer->lineReceived(ctx.workspace.line(ctx.workspace.lineCount() - 1),
                                           ctx.workspace.lineCount());
                break;
            default:
                pending.push_back(c);
        }
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
