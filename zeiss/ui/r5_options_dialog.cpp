#include "zeiss/ui/r5_options_dialog.h"

#include <algorithm>

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/ui/catalogue_text.h"
#include "app/ui/option_dialog_registry.h"
#include "i18n/message_catalogue.h"
#include "points/point_list_options.h"
#include "zeiss/r5_options.h"

namespace tarvosen::zeiss::ui {

namespace {

constexpr int kClientWidth = 387;
constexpr int kClientHeight = 147;

}  // namespace

R5OptionsDialog::R5OptionsDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("R5 options");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    recordFormatGroup = new QGroupBox("R5 record format", this);
    auto* formats = new QVBoxLayout(recordFormatGroup);
    auto* group = new QButtonGroup(this);
    const char* const names[] = {"Mem/1", "Mem/2", "Mem/3"};
    for (int i = 0; i < 3; ++i) {
        Mem[i] = new QRadioButton(names[i], recordFormatGroup);
        group->addButton(Mem[i], i);
        formats->addWidget(Mem[i]);
    }
    connect(group, &QButtonGroup::idClicked, this, [this](int id) {
        if (options_) options_->recordFormat = id;
    });

    includeCodeCheck = new QCheckBox("Include codes", this);
    reassignNamesCheck = new QCheckBox("Re-assign point names", this);
    alphabeticToNumberCheck = new QCheckBox("Letters in point names become numbers (point list -> R5)", this);
    connect(includeCodeCheck, &QCheckBox::clicked, this, [this](bool on) {
        if (options_) options_->includeCode = on;
    });
    connect(reassignNamesCheck, &QCheckBox::clicked, this, [this](bool on) {
        if (options_) options_->reassignPointNames = on;
    });
    connect(alphabeticToNumberCheck, &QCheckBox::clicked, this, [this](bool on) {
        if (options_) options_->convertAlphabeticToNumber = on;
    });

    LayoutGroup = new QGroupBox("Point list layout", this);
    auto* layouts = new QVBoxLayout(LayoutGroup);
    auto* layoutButtons = new QButtonGroup(this);
    const char* const layoutNames[] = {"Automatic", "Own: Pn, X, Y, Z, [C]",
                                       "CASS: Pn, Code, Y, X, H"};
    for (int i = 0; i < 3; ++i) {
        Layout[i] = new QRadioButton(layoutNames[i], LayoutGroup);
        layoutButtons->addButton(Layout[i], i);
        layouts->addWidget(Layout[i]);
    }
    connect(layoutButtons, &QButtonGroup::idClicked, this, [this](int id) {
        if (pointList_) pointList_->layout = static_cast<PointListLayout>(id);
    });

    noteLabel = new QLabel("Note: Coordinates are calculated only when the record format is Mem/1", this);
    noteLabel->setStyleSheet("color: blue");
    noteLabel->setWordWrap(true);

    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* checks = new QVBoxLayout;
    checks->addWidget(includeCodeCheck);
    checks->addWidget(reassignNamesCheck);
    checks->addWidget(alphabeticToNumberCheck);
    checks->addStretch();

    auto* grid = new QGridLayout(this);
    grid->addWidget(recordFormatGroup, 0, 0);
    grid->addLayout(checks, 0, 1);
    grid->addWidget(LayoutGroup, 1, 0, 1, 2);
    grid->addWidget(noteLabel, 2, 0, 1, 2);
    grid->addWidget(buttons, 3, 0, 1, 2);
}

void R5OptionsDialog::localise(const CommandContext& ctx) {
    using tarvosen::ui::CatalogueText;
    setWindowTitle(CatalogueText(ctx, msg::kOptionCaption, windowTitle()));
    recordFormatGroup->setTitle(CatalogueText(ctx, msg::kR5RecordFormatGroup, recordFormatGroup->title()));
    includeCodeCheck->setText(CatalogueText(ctx, msg::kIncludeCode, includeCodeCheck->text()));
    reassignNamesCheck->setText(CatalogueText(ctx, msg::kReassignPointName, reassignNamesCheck->text()));
    noteLabel->setText(CatalogueText(ctx, msg::kCoordinateNote, noteLabel->text()));
    alphabeticToNumberCheck->setText(
        CatalogueText(ctx, msg::kLettersToNumbers, alphabeticToNumberCheck->text()));
    LayoutGroup->setTitle(CatalogueText(ctx, msg::kPointListLayoutGroup, LayoutGroup->title()));
    const int layoutIds[] = {msg::kLayoutAutomatic, msg::kLayoutOwn, msg::kLayoutCass};
    for (int i = 0; i < 3; ++i) Layout[i]->setText(CatalogueText(ctx, layoutIds[i], Layout[i]->text()));
}

bool R5OptionsDialog::run(CommandContext& ctx) {
    options_ = &ctx.options.get<R5Options>();
    const int format = options_->recordFormat;
    Mem[format >= 0 && format < 3 ? format : 0]->setChecked(true);
    includeCodeCheck->setChecked(options_->includeCode);
    reassignNamesCheck->setChecked(options_->reassignPointNames);
    alphabeticToNumberCheck->setChecked(options_->convertAlphabeticToNumber);
    pointList_ = &ctx.options.get<PointListOptions>();
    const int layout = static_cast<int>(pointList_->layout);
    Layout[layout >= 0 && layout < 3 ? layout : 0]->setChecked(true);
    localise(ctx);
    // The form's client area, grown only where a translation needs more room.
    const QSize hint = sizeHint();
    setFixedSize(std::max(kClientWidth, hint.width()), std::max(kClientHeight, hint.height()));
    const R5Options before = *options_;
    const PointListOptions pointListBefore = *pointList_;
    const bool accepted = exec() == QDialog::Accepted;
    if (!accepted) {
        *options_ = before;
        *pointList_ = pointListBefore;
    }
    options_ = nullptr;
    pointList_ = nullptr;
    return accepted;
}

namespace {

[[maybe_unused]] const bool registered =
    tarvosen::ui::RegisterDialogClass<R5OptionsDialog>(kR5OptionsDialog);

}  // namespace

}  // namespace tarvosen::zeiss::ui
