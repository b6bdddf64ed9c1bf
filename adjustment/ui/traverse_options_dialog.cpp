#include "adjustment/ui/traverse_options_dialog.h"

#include <QCheckBox>
#include <QDate>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "adjustment/adjustment_text.h"
#include "app/errors.h"
#include "app/ui/catalogue_text.h"
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

TraverseOptionsDialog::TraverseOptionsDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("转换选项");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    headerGroup = new QGroupBox("转换选项", this);
    modelEdit = new QLineEdit(headerGroup);
    lineNameEdit = new QLineEdit(headerGroup);
    observerEdit = new QLineEdit(headerGroup);
    heightIncrementEdit = new QLineEdit(headerGroup);
    dateEdit = new QDateEdit(headerGroup);
    dateEdit->setDisplayFormat("yyyy/MM/dd");
    dateEdit->setCalendarPopup(true);
    produceTextCheck = new QCheckBox("转平差格式", headerGroup);
    produceBookCheck = new QCheckBox("转电子表格格式", headerGroup);
    form_ = new QFormLayout(headerGroup);
    form_->addRow("仪器型号：", modelEdit);
    form_->addRow("图根线名：", lineNameEdit);
    form_->addRow("观测者：", observerEdit);
    form_->addRow("标,仪高增量", heightIncrementEdit);
    form_->addRow("观测时间：", dateEdit);
    auto* checks = new QHBoxLayout;
    checks->addWidget(produceTextCheck);
    checks->addWidget(produceBookCheck);
    form_->addRow(checks);

    startButton = new QPushButton("开始转换", this);
    startButton->setDefault(true);
    connect(startButton, &QPushButton::clicked, this, [this] { start(); });

    cancelButton = new QPushButton("取消", this);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(startButton);
    buttons->addWidget(cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(headerGroup);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TraverseOptionsDialog::start() {
    tarvosen::ui::ClearFieldMarks({heightIncrementEdit});
    try {
        ParseHeightIncrement(S(heightIncrementEdit->text()));
    } catch (const ConversionError&) {
        tarvosen::ui::RefuseField(this, heightIncrementEdit,
                                  noNumberText_.arg(heightIncrementEdit->text()));
        return;
    }
    accept();
}

void TraverseOptionsDialog::localise(const CommandContext& ctx) {
    using tarvosen::ui::CatalogueText;
    setWindowTitle(CatalogueText(ctx, msg::kConversionOptions, windowTitle()));
    headerGroup->setTitle(CatalogueText(ctx, msg::kConversionOptions, headerGroup->title()));
    const struct {
        QWidget* field;
        int base;
    } rows[] = {{modelEdit, msg::kInstrumentModelLabel},
                {lineNameEdit, msg::kTraverseLineLabel},
                {observerEdit, msg::kObserverLabel},
                {heightIncrementEdit, msg::kHeightIncrementLabel},
                {dateEdit, msg::kObservationDateLabel}};
    for (const auto& row : rows)
        if (auto* label = qobject_cast<QLabel*>(form_->labelForField(row.field)))
            label->setText(CatalogueText(ctx, row.base, label->text()));
    produceTextCheck->setText(CatalogueText(ctx, msg::kProduceAdjustmentText, produceTextCheck->text()));
    produceBookCheck->setText(CatalogueText(ctx, msg::kProduceSpreadsheet, produceBookCheck->text()));
    startButton->setText(CatalogueText(ctx, msg::kStartConversion, startButton->text()));
    cancelButton->setText(CatalogueText(ctx, msg::kCancelCommand, cancelButton->text()));
    noNumberText_ = CatalogueText(ctx, msg::kHeightIncrementNoNumber, noNumberText_);
}

bool TraverseOptionsDialog::run(CommandContext& ctx) {
    localise(ctx);
    TraverseOptions& o = ctx.options.get<TraverseOptions>();
    modelEdit->setText(Q(o.model));
    lineNameEdit->setText(Q(o.lineName));
    observerEdit->setText(Q(o.observer));
    heightIncrementEdit->setText(Q(o.heightIncrement));
    dateEdit->setDate(QDate::currentDate());  // today at every showing
    produceTextCheck->setChecked(o.produceText);
    produceBookCheck->setChecked(o.produceBook);
    const bool start = exec() == QDialog::Accepted;
    o.model = S(modelEdit->text());
    o.lineName = S(lineNameEdit->text());
    o.observer = S(observerEdit->text());
    o.heightIncrement = S(heightIncrementEdit->text());
    const QDate d = dateEdit->date();
    o.date = std::chrono::year_month_day{std::chrono::year{d.year()},
                                         std::chrono::month{static_cast<unsigned>(d.month())},
                                         std::chrono::day{static_cast<unsigned>(d.day())}};
    o.produceText = produceTextCheck->isChecked();
    o.produceBook = produceBookCheck->isChecked();
    o.bookFile.clear();  // the window asks for the book's file
    return start;
}

namespace {

[[maybe_unused]] const bool registered =
    tarvosen::ui::RegisterDialogClass<TraverseOptionsDialog>(kTraverseExportDialog);

}  // namespace

}  // namespace tarvosen::adjustment::ui
