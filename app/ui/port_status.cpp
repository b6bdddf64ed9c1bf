#include "app/ui/port_status.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "app/app_state.h"
#include "app/ui/elided_label.h"
#include "serial/serial_link.h"
#include "i18n/message_catalogue.h"
#include "serial/serial_port.h"
#include "serial/comm_types.h"

namespace tarvosen::ui {

namespace {

// "9600 8N1", as port settings are usually written: the settings the port
// itself holds, so the text never reads options a command has replaced.
QString Settings(const SerialPort& port) {
    static const char kParity[] = {'N', 'O', 'E', 'M', 'S'};
    const LineSettings s = port.CurrentLineSettings();
    return QString("%1 %2%3%4")
        .arg(s.baudRate)
        .arg(s.dataBits)
        .arg(QChar(kParity[static_cast<int>(s.parity)]))
        .arg(s.stopBits == LineSettings::StopBits::One          ? "1"
             : s.stopBits == LineSettings::StopBits::OneAndHalf ? "1.5"
                                                                : "2");
}

}  // namespace

PortStatus::PortStatus(const AppState& state, SerialLink& link, const MessageCatalogue& catalogue,
                       QWidget* parent)
    : QWidget(parent), state_(state), link_(link), catalogue_(catalogue),
      next_(link.receiveObserver), label_(new ElidedLabel(this)), stop_(new QPushButton(this)) {
    setObjectName("PortStatus");
    link_.receiveObserver = this;
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

void PortStatus::refresh() {
    const bool open = comm_ && comm_->Enabled();
    // Each time the port opens the counts start again.
    if (!open && wasOpen_) lines_ = bytes_ = 0;
    const bool changed = open != wasOpen_;
    wasOpen_ = open;
    setVisible(open);
    if (changed) emit openChanged(open);
    if (!open) return;
    auto text = [this](int base, const char* english) {
        return QString::fromStdString(catalogue_.lookup(base, state_.languageIndex, english));
    };
    label_->setText(text(msg::kListening, "Listening on %1 (%2): %3 lines, %4 bytes received")
                        .arg(QString::fromStdString(comm_->DeviceName()), Settings(*comm_))
                        .arg(lines_)
                        .arg(bytes_));
    stop_->setText(text(msg::kStopListening, "Stop"));
}

void PortStatus::bytesReceived(std::string_view bytes) {
    bytes_ += bytes.size();
    if (next_) next_->bytesReceived(bytes);
}

void PortStatus::lineReceived(std::string_view line, std::size_t lineNumber) {
    ++lines_;
    if (next_) next_->lineReceived(line, lineNumber);
}

}  // namespace tarvosen::ui
