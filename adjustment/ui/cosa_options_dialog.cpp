#include "adjustment/ui/cosa_options_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "adjustment/cosa_export.h"
#include "app/ui/catalogue_text.h"
#include "app/ui/file_filter.h"
#include "app/ui/field_check.h"
#include "app/ui/option_dialog_registry.h"
#include "adjustment/adjustment_options.h"

namespace tarvosen::adjustment::ui {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}
std::string S(const QString& text) {
    return text.toStdString();
}

}  // namespace

CosaOptionsDialog::CosaOptionsDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("转换选项");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    knownPointFileEdit = new QLineEdit(this);
    browseButton = new QPushButton("浏览", this);
    connect(browseButton, &QPushButton::clicked, this, [this] { browseForKnownPointFile(); });
    knownPointFileLabel_ = new QLabel("已知点文件：", this);
    auto* known = new QHBoxLayout;
    known->addWidget(knownPointFileLabel_);
    known->addWidget(knownPointFileEdit, 1);
    known->addWidget(browseButton);

    accuracyGroup = new QGroupBox("控制网预估精度", this);
    auto* accuracy = new QGridLayout(accuracyGroup);
    directionErrorEdit = new QLineEdit(accuracyGroup);
    distanceConstantEdit = new QLineEdit(accuracyGroup);
    distancePpmEdit = new QLineEdit(accuracyGroup);
    secondsUnit_ = new QLabel("秒", accuracyGroup);
    const struct {
        const char* label;
        QLineEdit* edit;
        QLabel* unit;
    } rows[] = {{"方向中误差", directionErrorEdit, secondsUnit_},
                {"测距固定误差", distanceConstantEdit, new QLabel("mm", accuracyGroup)},
                {"测距比例误差", distancePpmEdit, new QLabel("ppm", accuracyGroup)}};
    for (int i = 0; i < 3; ++i) {
        accuracyLabels_[i] = new QLabel(rows[i].label, accuracyGroup);
        accuracy->addWidget(accuracyLabels_[i], i, 0);
        accuracy->addWidget(rows[i].edit, i, 1);
        accuracy->addWidget(rows[i].unit, i, 2);
    }

    zeroBacksightCheck = new QCheckBox("角度归零", this);
    zeroBacksightCheck->setToolTip("将每一测站的后视方向都归零");
    reduceSlopeCheck = new QCheckBox("斜距改平", this);

    // Qt's own OK and Cancel, which its translations give in the chosen language.
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    okButton = buttons->button(QDialogButtonBox::Ok);
    okButton->setDefault(true);
    cancelButton = buttons->button(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { acceptChecked(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* checks = new QHBoxLayout;
    checks->addWidget(zeroBacksightCheck);
    checks->addWidget(reduceSlopeCheck);
    checks->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(known);
    layout->addWidget(accuracyGroup);
    layout->addLayout(checks);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CosaOptionsDialog::acceptChecked() {
    using tarvosen::ui::RefuseField;
    tarvosen::ui::ClearFieldMarks({knownPointFileEdit, directionErrorEdit, distanceConstantEdit, distancePpmEdit});
    const QString known = knownPointFileEdit->text();
    if (!known.isEmpty() && !QFileInfo(known).isFile())
        return RefuseField(this, knownPointFileEdit, missingFileText_.arg(known));
    for (QLineEdit* edit : {directionErrorEdit, distanceConstantEdit, distancePpmEdit})
        if (!tarvosen::ui::IsNumberAtLeast(edit->text(), 0))
            return RefuseField(this, edit, noNumberText_.arg(edit->text()));
    accept();
}

void CosaOptionsDialog::browseForKnownPointFile() {
    const QString file = QFileDialog::getOpenFileName(this, QString(), knownPointFileEdit->text(),
                                                      fileTypes_);
    if (!file.isEmpty()) knownPointFileEdit->setText(file);
}

void CosaOptionsDialog::localise(const CommandContext& ctx) {
    using tarvosen::ui::CatalogueText;
    setWindowTitle(CatalogueText(ctx, msg::kConversionOptions, windowTitle()));
    knownPointFileLabel_->setText(CatalogueText(ctx, msg::kKnownPointFileLabel, knownPointFileLabel_->text()));
    browseButton->setText(CatalogueText(ctx, msg::kBrowse, browseButton->text()));
    accuracyGroup->setTitle(CatalogueText(ctx, msg::kNetworkAccuracyGroup, accuracyGroup->title()));
    const int accuracyIds[] = {msg::kDirectionErrorLabel, msg::kDistanceConstantLabel, msg::kDistancePpmLabel};
    for (int i = 0; i < 3; ++i)
        accuracyLabels_[i]->setText(CatalogueText(ctx, accuracyIds[i], accuracyLabels_[i]->text()));
    secondsUnit_->setText(CatalogueText(ctx, msg::kSecondsUnit, secondsUnit_->text()));
    zeroBacksightCheck->setText(CatalogueText(ctx, msg::kZeroBacksight, zeroBacksightCheck->text()));
    zeroBacksightCheck->setToolTip(CatalogueText(ctx, msg::kZeroBacksightTip, zeroBacksightCheck->toolTip()));
    reduceSlopeCheck->setText(CatalogueText(ctx, msg::kReduceSlope, reduceSlopeCheck->text()));
    missingFileText_ = CatalogueText(ctx, msg::kKnownPointFileMissing, missingFileText_);
    noNumberText_ = CatalogueText(ctx, msg::kAccuracyNoNumber, noNumberText_);
    fileTypes_ = tarvosen::ui::QtNameFilters(kKnownPointFilter, TextsOf(ctx)).join(";;");
}

bool CosaOptionsDialog::run(CommandContext& ctx) {
    localise(ctx);
    CosaOptions& o = ctx.options.get<CosaOptions>();
    knownPointFileEdit->setText(Q(o.knownPointFile));
    directionErrorEdit->setText(Q(o.directionError));
    distanceConstantEdit->setText(Q(o.distanceConstant));
    distancePpmEdit->setText(Q(o.distancePpm));
    zeroBacksightCheck->setChecked(o.zeroBacksight);
    reduceSlopeCheck->setChecked(o.reduceSlope);
    const bool ok = exec() == QDialog::Accepted;
    o.knownPointFile = S(knownPointFileEdit->text());
    o.directionError = S(directionErrorEdit->text());
    o.distanceConstant = S(distanceConstantEdit->text());
    o.distancePpm = S(distancePpmEdit->text());
    o.zeroBacksight = zeroBacksightCheck->isChecked();
    o.reduceSlope = reduceSlopeCheck->isChecked();
    return ok;
}

namespace {

[[maybe_unused]] const bool registered =
    tarvosen::ui::RegisterDialogClass<CosaOptionsDialog>(kCosaExportDialog);

}  // namespace

}  // namespace tarvosen::adjustment::ui
