#include "levelling/ui/tolerance_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/catalogue_text.h"
#include "app/ui/field_check.h"
#include "app/ui/option_dialog_registry.h"
#include "levelling/tolerance_classes.h"
#include "levelling/levelling_options.h"

namespace tarvosen::ui {

namespace {

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

[[maybe_unused]] const bool registered =
    RegisterDialogClass<ToleranceDialog>(kTolerancesDialog);

}  // namespace

ToleranceDialog::ToleranceDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("DINI 转换选项");
    classBox_ = new QComboBox;
    for (int c = 0; c < levelling::kLevellingClassCount; ++c)
        classBox_->addItem(levelling::LevellingClassName(c));
    classBox_->setEditable(false);
    // Only a choice of the user loads the class's limits, not the dialog
    // showing stored options.
    connect(classBox_, &QComboBox::activated, this, &ToleranceDialog::loadClassLimits);

    classLabel_ = new QLabel("水准控制网等级");
    auto* classRow = new QHBoxLayout;
    classRow->addWidget(classLabel_);
    classRow->addWidget(classBox_, 1);

    static const char* const kUnits[] = {"m", "m", "m", "mm", "mm"};
    limitsGroup_ = new QGroupBox("限差指标");
    auto* grid = new QGridLayout(limitsGroup_);
    for (int f = 0; f < levelling::kLimitCount; ++f) {
        edits_[f] = new QLineEdit;
        edits_[f]->setObjectName(QString("Limit%1").arg(f + 1));
        limitLabels_[f] = new QLabel(levelling::LimitLabel(f));
        grid->addWidget(limitLabels_[f], f, 0, Qt::AlignRight);
        grid->addWidget(edits_[f], f, 1);
        grid->addWidget(new QLabel(kUnits[f]), f, 2);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &ToleranceDialog::acceptChecked);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(classRow);
    layout->addWidget(limitsGroup_);
    layout->addWidget(buttons);
    showOptions(ToleranceOptions{});
}

void ToleranceDialog::acceptChecked() {
    for (QLineEdit* edit : edits_) ClearFieldMarks({edit});
    for (int f = 0; f < levelling::kLimitCount; ++f)
        if (!IsNumberAtLeast(edits_[f]->text(), 0) || edits_[f]->text().trimmed().toDouble() == 0)
            return RefuseField(this, edits_[f],
                               noNumberText_.arg(limitLabels_[f]->text(), edits_[f]->text()));
    accept();
}

void ToleranceDialog::localise(const CommandContext& ctx) {
    setWindowTitle(CatalogueText(ctx, msg::kDiniOptionsCaption, windowTitle()));
    classLabel_->setText(CatalogueText(ctx, msg::kLevellingClassLabel, classLabel_->text()));
    for (int c = 0; c < levelling::kLevellingClassCount; ++c)
        classBox_->setItemText(
            c, CatalogueText(ctx, msg::kLevellingClassNames + 100 * c, classBox_->itemText(c)));
    limitsGroup_->setTitle(CatalogueText(ctx, msg::kToleranceLimitsGroup, limitsGroup_->title()));
    for (int f = 0; f < levelling::kLimitCount; ++f)
        limitLabels_[f]->setText(
            CatalogueText(ctx, msg::kLimitLabels + 100 * f, limitLabels_[f]->text()));
    noNumberText_ = CatalogueText(ctx, msg::kLimitNoNumber, noNumberText_);
}

void ToleranceDialog::loadClassLimits(int index) {
    const auto texts = levelling::ClassLimitTexts(index);
    for (int f = 0; f < levelling::kLimitCount; ++f) edits_[f]->setText(Text(texts[f]));
}

void ToleranceDialog::showOptions(const ToleranceOptions& options) {
    classBox_->setCurrentIndex(options.levellingClass);
    for (int f = 0; f < levelling::kLimitCount; ++f) edits_[f]->setText(Text(options.limits[f]));
}

ToleranceOptions ToleranceDialog::selection() const {
    ToleranceOptions options;
    options.levellingClass = classBox_->currentIndex();
    for (int f = 0; f < levelling::kLimitCount; ++f)
        options.limits[f] = edits_[f]->text().toStdString();
    return options;
}

bool ToleranceDialog::run(CommandContext& ctx) {
    localise(ctx);
    const ToleranceOptions& stored = ctx.options.get<ToleranceOptions>();
    if (!synced_ || synced_->levellingClass != stored.levellingClass ||
        synced_->limits != stored.limits) {
        showOptions(stored);
        synced_ = stored;
    }
    if (exec() != QDialog::Accepted) return false;
    ctx.options.get<ToleranceOptions>() = selection();
    synced_ = ctx.options.get<ToleranceOptions>();
    return true;
}

}  // namespace tarvosen::ui
