#include "adjustment/ui/kesha_dialog.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

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

Tkesha::Tkesha(QWidget* parent) : QDialog(parent) {
    setWindowTitle("转换选项");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    Edit1 = new QLineEdit(this);
    BitBtn1 = new QPushButton("浏览", this);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    auto* known = new QHBoxLayout;
    known->addWidget(new QLabel("已知点文件：", this));
    known->addWidget(Edit1, 1);
    known->addWidget(BitBtn1);

    GroupBox1 = new QGroupBox("控制网预估精度", this);
    auto* accuracy = new QGridLayout(GroupBox1);
    Edit2 = new QLineEdit(GroupBox1);
    Edit3 = new QLineEdit(GroupBox1);
    Edit4 = new QLineEdit(GroupBox1);
    const struct {
        const char* label;
        QLineEdit* edit;
        const char* unit;
    } rows[] = {
        {"方向中误差", Edit2, "秒"}, {"测距固定误差", Edit3, "mm"}, {"测距比例误差", Edit4, "ppm"}};
    for (int i = 0; i < 3; ++i) {
        accuracy->addWidget(new QLabel(rows[i].label, GroupBox1), i, 0);
        accuracy->addWidget(rows[i].edit, i, 1);
        accuracy->addWidget(new QLabel(rows[i].unit, GroupBox1), i, 2);
    }

    HACheck = new QCheckBox("角度归零", this);
    HACheck->setToolTip("将每一测站的后视方向都归零");
    SDCheck = new QCheckBox("斜距改平", this);

    BitBtn2 = new QPushButton("OK", this);
    BitBtn2->setDefault(true);
    BitBtn3 = new QPushButton("Cancel", this);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn3, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn3);

    auto* checks = new QHBoxLayout;
    checks->addWidget(HACheck);
    checks->addWidget(SDCheck);
    checks->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(known);
    layout->addWidget(GroupBox1);
    layout->addLayout(checks);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void Tkesha::BitBtn1Click() {
    const QString file = QFileDialog::getOpenFileName(this, QString(), Edit1->text(),
                                                      "Text File (*.txt);;All File(*.*)");
    if (!file.isEmpty()) Edit1->setText(file);
}

bool Tkesha::run(CommandContext& ctx) {
    KeshaOptions& o = ctx.options.kesha;
    Edit1->setText(Q(o.knownPointFile));
    Edit2->setText(Q(o.directionError));
    Edit3->setText(Q(o.distanceConstant));
    Edit4->setText(Q(o.distancePpm));
    HACheck->setChecked(o.zeroBacksight);
    SDCheck->setChecked(o.reduceSlope);
    const bool ok = exec() == QDialog::Accepted;
    o.knownPointFile = S(Edit1->text());
    o.directionError = S(Edit2->text());
    o.distanceConstant = S(Edit3->text());
    o.distancePpm = S(Edit4->text());
    o.zeroBacksight = HACheck->isChecked();
    o.reduceSlope = SDCheck->isChecked();
    return ok;
}

namespace {

[[maybe_unused]] const bool registered =
    tarvosen::ui::RegisterDialogClass<Tkesha>(OptionDialog::Kesha);

}  // namespace

}  // namespace tarvosen::adjustment::ui
