#include "serial/ui/receive_log_keeper.h"
#include "serial/serial_link.h"
#include "serial/serial_options.h"

#include <QDateTime>
#include <QStandardPaths>

namespace tarvosen::ui {

std::filesystem::path TransferLogFolder() {
    const std::filesystem::path folder =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString() +
        "/transfer-logs";
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return folder;
}

ReceiveLogKeeper::ReceiveLogKeeper(CommandContext& ctx) : ctx_(ctx) {
    SerialLinkOf(ctx_).receiveObserver = this;
}

ReceiveLogKeeper::~ReceiveLogKeeper() {
    finish("Stop");
    if (SerialLinkOf(ctx_).receiveObserver == this) SerialLinkOf(ctx_).receiveObserver = nullptr;
}

long ReceiveLogKeeper::elapsed() const {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - start_)
                                 .count());
}

void ReceiveLogKeeper::bytesReceived(std::string_view bytes) {
    if (!log_) {
        start_ = std::chrono::steady_clock::now();
        addresses_ = {};
        gaps_ = 0;
        TransferLog header;
        header.port = ctx_.options.get<PortSettings>().port;
        header.settings = DescribeLineSettings(ctx_.options.get<PortSettings>());
        header.instrument = InstrumentLabel(ctx_.state.instrumentKind);
        const QDateTime now = QDateTime::currentDateTimeUtc();
        header.start = now.toString(Qt::ISODate).toStdString();
        const std::string name =
            "transfer-" + now.toString("yyyyMMdd-HHmmss-zzz").toStdString() + ".log";
        try {
            log_.emplace(TransferLogFolder() / name, header);
        } catch (const std::exception&) {
            return;  // the download goes on without its log
        }
    }
    log_->burst(elapsed(), bytes);
}

void ReceiveLogKeeper::lineReceived(std::string_view line, std::size_t lineNumber) {
    // A line that does not follow the last one received: the text was
    // cleared or replaced meanwhile, and the addresses start again with it.
    if (lineNumber != lastLine_ + 1) {
        addresses_ = {};
        gaps_ = 0;
    }
    lastLine_ = lineNumber;
    if (auto gap = addresses_.add(line, lineNumber))
        ctx_.user.showLineFindings({{"received", lineNumber, gap->text(TextsOf(ctx_))}},
                                   gaps_++ > 0);
    if (IsEndLine(line)) finish("END");
}

void ReceiveLogKeeper::finish(const std::string& how) {
    if (!log_) return;
    log_->end(elapsed(), how);
    log_.reset();
}

}  // namespace tarvosen::ui
