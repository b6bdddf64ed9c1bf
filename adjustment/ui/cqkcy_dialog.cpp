#include "adjustment/ui/cqkcy_dialog.h"

#include <QCheckBox>
#include <QDate>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "adjustment/adjustment_text.h"
#include "app/errors.h"
#include "app/ui/option_dialog_registry.h"

namespace tarvosen::adjustment::ui {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}
std::string S(const QString& text) {
    return text.toStdString();
}

}  // namespace

TCQKCY::TCQKCY(QWidget* parent) : QDialog(parent) {
    setWindowTitle("转换选项");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    GroupBox1 = new QGroupBox("转换选项", this);
    Edit1 = new QLineEdit(GroupBox1);
    DGDX = new QLineEdit(GroupBox1);
    OBSName = new QLineEdit(GroupBox1);
    LE = new QLineEdit(GroupBox1);
    DTP = new QDateEdit(GroupBox1);
    DTP->setDisplayFormat("yyyy/MM/dd");
    DTP->setCalendarPopup(true);
    CheckBox1 = new QCheckBox("转平差格式", GroupBox1);
    CheckBox2 = new QCheckBox("转电子表格格式", GroupBox1);
    auto* form = new QFormLayout(GroupBox1);
    form->addRow("仪器型号：", Edit1);
    form->addRow("图根线名：", DGDX);
    form->addRow("观测者：", OBSName);
    form->addRow("标,仪高增量", LE);
    form->addRow("观测时间：", DTP);
    auto* checks = new QHBoxLayout;
    checks->addWidget(CheckBox1);
    checks->addWidget(CheckBox2);
    form->addRow(checks);

    Button1 = new QPushButton("开始转换", this);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addWidget(Button1, 0, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TCQKCY::Button1Click() {
    try {
        ParseHeightIncrement(S(LE->text()));
    } catch (const ConversionError& e) {
        QMessageBox::critical(this, windowTitle(), QString::fromStdString(e.what()));
        LE->setFocus();
        return;
    }
    accept();
}

bool TCQKCY::run(CommandContext& ctx) {
    CqkcyOptions& o = ctx.options.cqkcy;
    Edit1->setText(Q(o.model));
    DGDX->setText(Q(o.lineName));
    OBSName->setText(Q(o.observer));
    LE->setText(Q(o.heightIncrement));
    DTP->setDate(QDate::currentDate());  // today at every showing
    CheckBox1->setChecked(o.produceText);
    CheckBox2->setChecked(o.produceBook);
    const bool start = exec() == QDialog::Accepted;
    o.model = S(Edit1->text());
    o.lineName = S(DGDX->text());
    o.observer = S(OBSName->text());
    o.heightIncrement = S(LE->text());
    const QDate d = DTP->date();
    o.date = std::chrono::year_month_day{std::chrono::year{d.year()},
                                         std::chrono::month{static_cast<unsigned>(d.month())},
                                         std::chrono::day{static_cast<unsigned>(d.day())}};
    o.produceText = CheckBox1->isChecked();
    o.produceBook = CheckBox2->isChecked();
    o.bookFile.clear();  // the window asks for the book's file
    return start;
}

namespace {

[[maybe_unused]] const bool registered =
    tarvosen::ui::RegisterDialogClass<TCQKCY>(OptionDialog::Cqkcy);

}  // namespace

}  // namespace tarvosen::adjustment::ui
