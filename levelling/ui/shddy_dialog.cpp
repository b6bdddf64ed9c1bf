#include "levelling/ui/shddy_dialog.h"

#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/option_dialog_registry.h"

namespace tarvosen::ui {

namespace {

[[maybe_unused]] const bool registered =
    RegisterDialogClass<TSHDDY>(OptionDialog::Shddy);

}  // namespace

TSHDDY::TSHDDY(QWidget* parent) : QDialog(parent) {
    setWindowTitle("转换选项");
    GCZ = new QLineEdit;
    TQ = new QLineEdit;
    FX = new QLineEdit;
    FL = new QLineEdit;
    SN = new QComboBox;
    SN->addItems({"110113", "701197", "701202", "700737"});
    // Other levels' numbers can be typed in.
    SN->setEditable(true);
    SN->setCurrentIndex(0);
    DTP = new QDateEdit;
    DTP->setDisplayFormat("yyyy/MM/dd");
    DTP->setCalendarPopup(true);

    auto* group = new QGroupBox("转换选项");
    auto* form = new QFormLayout(group);
    form->addRow("观测者：", GCZ);
    form->addRow("天气：", TQ);
    form->addRow("风向：", FX);
    form->addRow("风力：", FL);
    form->addRow("仪器号：", SN);
    form->addRow("日期：", DTP);

    Button1 = new QPushButton("开始转换");
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TSHDDY::Button1Click);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(Button1, 0, Qt::AlignRight);
}

void TSHDDY::FormShow() {
    DTP->setDate(QDate::currentDate());
}

void TSHDDY::Button1Click() {
    if (ctx_) {
        ShddyOptions& o = ctx_->options.shddy;
        o.observer = GCZ->text().toStdString();
        o.weather = TQ->text().toStdString();
        o.windDirection = FX->text().toStdString();
        o.windForce = FL->text().toStdString();
        o.instrument = SN->currentText().toStdString();
        const QDate d = DTP->date();
        o.date = std::chrono::year{d.year()} / std::chrono::month{unsigned(d.month())} /
                 std::chrono::day{unsigned(d.day())};
    }
    accept();
}

bool TSHDDY::run(CommandContext& ctx) {
    ctx_ = &ctx;
    FormShow();
    const bool started = exec() == QDialog::Accepted;
    ctx_ = nullptr;
    return started;
}

}  // namespace tarvosen::ui
