#include "serial/ui/port_settings_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/ui/catalogue_text.h"
#include "app/ui/option_dialog_registry.h"
#include "i18n/message_catalogue.h"
#include "serial/port_list.h"
#include "serial/serial_options.h"

namespace tarvosen::ui {

namespace {

bool SameOptions(const PortSettings& a, const PortSettings& b) {
    return a.port == b.port && a.baudRate == b.baudRate && a.parity == b.parity &&
           a.flowControl == b.flowControl && a.dataBits == b.dataBits && a.stopBits == b.stopBits;
}

constexpr int kPortNameCharacters = 24;

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
    RegisterDialogClass<PortSettingsDialog>(kPortSettingsDialog);

}  // namespace

PortSettingsDialog::PortSettingsDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Parameter Setup");
    portList_ = new QComboBox;
    // Wide enough for a long device path such as /dev/serial/by-id/usb-...
    portList_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    portList_->setMinimumContentsLength(kPortNameCharacters);
    for (const auto& port : ListSerialPorts())
        portList_->addItem(Text(port.description), Text(port.deviceName));
    // The Com entries show their bare names, as the port's name is what is stored.
    for (int i = 0; i < 4; ++i) portList_->setItemText(i, portList_->itemData(i).toString());
    baudList_ = List({"300", "600", "1200", "2400", "4800", "9600", "14400", "19200", "38400", "56000",
               "57600", "115200", "128000", "256000"},
              5);
    parityList_ = List({"None", "Odd", "Even", "Mark", "Space"}, 0);
    flowList_ = List({"None", "CTS", "DTR", "XonXoff", "Default"}, 3);
    dataBitsList_ = List({"4", "5", "6", "7", "8"}, 4);
    stopBitsList_ = List({"1", "1.5", "2"}, 0);

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto row = [form](QLabel*& label, const char* text, QComboBox* box) {
        label = new QLabel(text);
        form->addRow(label, box);
    };
    row(portLabel_, "Port", portList_);
    row(baudLabel_, "Baud rate", baudList_);
    row(parityLabel_, "Parity", parityList_);
    row(flowLabel_, "Flow Control", flowList_);
    row(dataLabel_, "Data Bit", dataBitsList_);
    row(stopLabel_, "Stop Bit", stopBitsList_);
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

void PortSettingsDialog::localise(const CommandContext& ctx) {
    auto set = [&](int base, QLabel* label) { label->setText(CatalogueText(ctx, base, label->text())); };
    page_->setTabText(0, CatalogueText(ctx, msg::kPortSettingPage, page_->tabText(0)));
    set(msg::kPortLabel, portLabel_);
    set(msg::kBaudRateLabel, baudLabel_);
    set(msg::kParityLabel, parityLabel_);
    set(msg::kFlowControlLabel, flowLabel_);
    set(msg::kDataBitLabel, dataLabel_);
    set(msg::kStopBitLabel, stopLabel_);
    setWindowTitle(CatalogueText(ctx, msg::kParameterSetupCaption, windowTitle()));
    // The words among the choices; CTS, DTR and XonXoff are names in every language.
    for (int i = 0; i < parityList_->count(); ++i)
        parityList_->setItemText(i, CatalogueText(ctx, msg::kParityNames + 10 * i, parityList_->itemText(i)));
    flowList_->setItemText(0, CatalogueText(ctx, msg::kParityNames, flowList_->itemText(0)));
    flowList_->setItemText(4, CatalogueText(ctx, msg::kFlowDefault, flowList_->itemText(4)));
}

void PortSettingsDialog::showOptions(const PortSettings& portSettings) {
    int port = portList_->findData(Text(portSettings.port));
    if (port < 0) {  // a device that is not (or no longer) listed stays selectable
        portList_->addItem(Text(portSettings.port), Text(portSettings.port));
        port = portList_->count() - 1;
    }
    portList_->setCurrentIndex(port);
    baudList_->setCurrentIndex(portSettings.baudRate);
    parityList_->setCurrentIndex(portSettings.parity);
    flowList_->setCurrentIndex(portSettings.flowControl);
    dataBitsList_->setCurrentIndex(portSettings.dataBits);
    stopBitsList_->setCurrentIndex(portSettings.stopBits);
}

PortSettings PortSettingsDialog::selection() const {
    PortSettings p;
    p.port = portList_->currentData().toString().toStdString();
    p.baudRate = baudList_->currentIndex();
    p.parity = parityList_->currentIndex();
    p.flowControl = flowList_->currentIndex();
    p.dataBits = dataBitsList_->currentIndex();
    p.stopBits = stopBitsList_->currentIndex();
    return p;
}

bool PortSettingsDialog::run(CommandContext& ctx) {
    localise(ctx);
    if (!synced_ || !SameOptions(*synced_, ctx.options.get<PortSettings>())) {
        showOptions(ctx.options.get<PortSettings>());
        synced_ = ctx.options.get<PortSettings>();
    }
    if (exec() != QDialog::Accepted) return false;
    ctx.options.get<PortSettings>() = selection();
    synced_ = ctx.options.get<PortSettings>();
    return true;
}

}  // namespace tarvosen::ui
