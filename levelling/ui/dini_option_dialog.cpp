#include "levelling/ui/dini_option_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/option_dialog_registry.h"
#include "levelling/tolerance_classes.h"

namespace tarvosen::ui {

namespace {

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

[[maybe_unused]] const bool registered =
    RegisterDialogClass<TDINIOption>(OptionDialog::DiniOption);

}  // namespace

TDINIOption::TDINIOption(QWidget* parent) : QDialog(parent) {
    setWindowTitle("DINI 转换选项");
    ComboBox1 = new QComboBox;
    for (int c = 0; c < levelling::kLevellingClassCount; ++c)
        ComboBox1->addItem(levelling::LevellingClassName(c));
    ComboBox1->setEditable(false);
    // Only a choice of the user loads the class's limits, not the dialog
    // showing stored options.
    connect(ComboBox1, &QComboBox::activated, this, &TDINIOption::ComboBox1Change);

    auto* classRow = new QHBoxLayout;
    classRow->addWidget(new QLabel("水准控制网等级"));
    classRow->addWidget(ComboBox1, 1);

    static const char* const kUnits[] = {"m", "m", "m", "mm", "mm"};
    auto* limits = new QGroupBox("限差指标");
    auto* grid = new QGridLayout(limits);
    for (int f = 0; f < levelling::kLimitCount; ++f) {
        edits_[f] = new QLineEdit;
        edits_[f]->setObjectName(QString("Edit%1").arg(f + 1));
        grid->addWidget(new QLabel(levelling::LimitLabel(f)), f, 0, Qt::AlignRight);
        grid->addWidget(edits_[f], f, 1);
        grid->addWidget(new QLabel(kUnits[f]), f, 2);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(classRow);
    layout->addWidget(limits);
    layout->addWidget(buttons);
    showOptions(DiniOptions{});
}

void TDINIOption::ComboBox1Change(int index) {
    const auto texts = levelling::ClassLimitTexts(index);
    for (int f = 0; f < levelling::kLimitCount; ++f) edits_[f]->setText(Text(texts[f]));
}

void TDINIOption::showOptions(const DiniOptions& options) {
    ComboBox1->setCurrentIndex(options.levellingClass);
    for (int f = 0; f < levelling::kLimitCount; ++f) edits_[f]->setText(Text(options.limits[f]));
}

DiniOptions TDINIOption::selection() const {
    DiniOptions options;
    options.levellingClass = ComboBox1->currentIndex();
    for (int f = 0; f < levelling::kLimitCount; ++f)
        options.limits[f] = edits_[f]->text().toStdString();
    return options;
}

bool TDINIOption::run(CommandContext& ctx) {
    const DiniOptions& stored = ctx.options.dini;
    if (!synced_ || synced_->levellingClass != stored.levellingClass ||
        synced_->limits != stored.limits) {
        showOptions(stored);
        synced_ = stored;
    }
    if (exec() != QDialog::Accepted) return false;
    ctx.options.dini = selection();
    synced_ = ctx.options.dini;
    return true;
}

}  // namespace tarvosen::ui
