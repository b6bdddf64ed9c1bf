#include "serial/ui/para_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/ui/option_dialog_registry.h"
#include "i18n/message_catalogue.h"
#include "serial/port_list.h"

namespace tarvosen::ui {

namespace {

bool SameOptions(const ParaOptions& a, const ParaOptions& b) {
    return a.port == b.port && a.baudRate == b.baudRate && a.parity == b.parity &&
           a.flowControl == b.flowControl && a.dataBits == b.dataBits && a.stopBits == b.stopBits;
}

QComboBox* List(const QStringList& items, int initial) {
    auto* box = new QComboBox;
    box->addItems(items);
    box->setCurrentIndex(initial);
    box->setEditable(false);
    return box;
}

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

[[maybe_unused]] const bool registered =
    RegisterDialogClass<TPara>(OptionDialog::Para);

}  // namespace

TPara::TPara(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Parameter Setup");
    ComN = new QComboBox;
    for (const auto& port : ListSerialPorts())
        ComN->addItem(Text(port.description), Text(port.deviceName));
    // The Com entries show their bare names, as the port's name is what is stored.
    for (int i = 0; i < 4; ++i) ComN->setItemText(i, ComN->itemData(i).toString());
    BR = List({"300", "600", "1200", "2400", "4800", "9600", "14400", "19200", "38400", "56000",
               "57600", "115200", "128000", "256000"},
              5);
    Parity = List({"None", "Odd", "Even", "Mark", "Space"}, 0);
    FlowC = List({"None", "CTS", "DTR", "XonXoff", "Default"}, 3);
    DataB = List({"4", "5", "6", "7", "8"}, 4);
    StopB = List({"1", "1.5", "2"}, 0);

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto row = [form](QLabel*& label, const char* text, QComboBox* box) {
        label = new QLabel(text);
        form->addRow(label, box);
    };
    row(portLabel_, "Port", ComN);
    row(baudLabel_, "Baud rate", BR);
    row(parityLabel_, "Parity", Parity);
    row(flowLabel_, "Flow Control", FlowC);
    row(dataLabel_, "Data Bit", DataB);
    row(stopLabel_, "Stop Bit", StopB);
    auto* settings = new QWidget;
    settings->setLayout(form);
    page_ = new QTabWidget;
    page_->addTab(settings, "Port Setting");

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(page_);
    layout->addWidget(buttons);
}

void TPara::localise(const CommandContext& ctx) {
    if (!ctx.catalogue.loaded()) return;  // the dialog keeps its own texts
    auto set = [&](int base, auto* widget, const char* english) {
        widget->setText(Text(ctx.message(base, english)));
    };
    page_->setTabText(0, Text(ctx.message(msg::kPortSettingPage, "Port Setting")));
    set(msg::kPortLabel, portLabel_, "Port");
    set(msg::kBaudRateLabel, baudLabel_, "Baud rate");
    set(msg::kParityLabel, parityLabel_, "Parity");
    set(msg::kFlowControlLabel, flowLabel_, "Flow Control");
    set(msg::kDataBitLabel, dataLabel_, "Data Bit");
    set(msg::kStopBitLabel, stopLabel_, "Stop Bit");
    setWindowTitle(Text(ctx.message(msg::kParameterSetupCaption, "Parameter Setup")));
}

void TPara::showOptions(const ParaOptions& para) {
    int port = ComN->findData(Text(para.port));
    if (port < 0) {  // a device that is not (or no longer) listed stays selectable
        ComN->addItem(Text(para.port), Text(para.port));
        port = ComN->count() - 1;
    }
    ComN->setCurrentIndex(port);
    BR->setCurrentIndex(para.baudRate);
    Parity->setCurrentIndex(para.parity);
    FlowC->setCurrentIndex(para.flowControl);
    DataB->setCurrentIndex(para.dataBits);
    StopB->setCurrentIndex(para.stopBits);
}

ParaOptions TPara::selection() const {
    ParaOptions p;
    p.port = ComN->currentData().toString().toStdString();
    p.baudRate = BR->currentIndex();
    p.parity = Parity->currentIndex();
    p.flowControl = FlowC->currentIndex();
    p.dataBits = DataB->currentIndex();
    p.stopBits = StopB->currentIndex();
    return p;
}

bool TPara::run(CommandContext& ctx) {
    localise(ctx);
    if (!synced_ || !SameOptions(*synced_, ctx.options.para)) {
        showOptions(ctx.options.para);
        synced_ = ctx.options.para;
    }
    if (exec() != QDialog::Accepted) return false;
    ctx.options.para = selection();
    synced_ = ctx.options.para;
    return true;
}

}  // namespace tarvosen::ui
