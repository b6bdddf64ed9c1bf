#include "app/ui/port_status.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "app/app_state.h"
#include "app/options_store.h"
#include "serial/serial_port.h"
#include "serial/comm_types.h"
#include "serial/serial_options.h"

namespace tarvosen::ui {

namespace {

// "9600 8N1", as port settings are usually written.
QString Settings(const PortSettings& p) {
    static const char kParity[] = {'N', 'O', 'E', 'M', 'S'};
    const char parity = kParity[std::clamp(p.parity, 0, 4)];
    return QString("%1 %2%3%4")
        .arg(BaudRateValue(static_cast<TBaudRate>(p.baudRate)))
        .arg(p.dataBits + 4)
        .arg(QChar(parity))
        .arg(p.stopBits == 0 ? "1" : p.stopBits == 1 ? "1.5" : "2");
}

QString Localised(int language, const char* english, const char* gb, const char* big5) {
    return QString::fromUtf8(language == 1 ? english : language == 3 ? big5 : gb);
}

}  // namespace

TPortStatus::TPortStatus(AppState& state, const PortSettings& portSettings, int& languageIndex,
                         QWidget* parent)
    : QWidget(parent), state_(state), para_(portSettings), language_(languageIndex),
      next_(state.receiveObserver), label_(new QLabel(this)), stop_(new QPushButton(this)) {
    setObjectName("PortStatus");
    state_.receiveObserver = this;
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    label_->setObjectName("PortStatusText");
    stop_->setObjectName("StopListening");
    row->addWidget(label_);
    row->addWidget(stop_);
    connect(stop_, &QPushButton::clicked, this, [this] {
        if (comm_ && comm_->Enabled()) comm_->Close();
        refresh();
    });
    hide();
}

void TPortStatus::refresh() {
    const bool open = comm_ && comm_->Enabled();
    // Each time the port opens the counts start again.
    if (!open && wasOpen_) lines_ = bytes_ = 0;
    wasOpen_ = open;
    setVisible(open);
    if (!open) return;
    label_->setText(Localised(language_, "Listening on %1 (%2): %3 lines, %4 bytes received",
                              "正在 %1 (%2) 上接收：已收到 %3 行，%4 字节",
                              "正在 %1 (%2) 上接收：已收到 %3 行，%4 位元組")
                        .arg(QString::fromStdString(comm_->DeviceName()), Settings(para_))
                        .arg(lines_)
                        .arg(bytes_));
    stop_->setText(Localised(language_, "Stop", "停止", "停止"));
}

void TPortStatus::bytesReceived(std::string_view bytes) {
    bytes_ += bytes.size();
    if (next_) next_->bytesReceived(bytes);
}

void TPortStatus::lineReceived(std::string_view line, std::size_t lineNumber) {
    ++lines_;
    if (next_) next_->lineReceived(line, lineNumber);
}

}  // namespace tarvosen::ui
