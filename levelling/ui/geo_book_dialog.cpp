#include "levelling/ui/geo_book_dialog.h"

#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/catalogue_text.h"
#include "app/ui/option_dialog_registry.h"
#include "levelling/levelling_options.h"

namespace tarvosen::ui {

namespace {

[[maybe_unused]] const bool registered =
    RegisterDialogClass<GeoBookDialog>(kGeoBookDialog);

}  // namespace

GeoBookDialog::GeoBookDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("转换选项");
    observer_ = new QLineEdit;
    weather_ = new QLineEdit;
    windDirection_ = new QLineEdit;
    windForce_ = new QLineEdit;
    instrument_ = new QComboBox;
    instrument_->addItems({"110113", "701197", "701202", "700737"});
    // Other levels' numbers can be typed in.
    instrument_->setEditable(true);
    instrument_->setCurrentIndex(0);
    date_ = new QDateEdit;
    date_->setDisplayFormat("yyyy/MM/dd");
    date_->setCalendarPopup(true);

    group_ = new QGroupBox("转换选项");
    form_ = new QFormLayout(group_);
    form_->addRow("观测者：", observer_);
    form_->addRow("天气：", weather_);
    form_->addRow("风向：", windDirection_);
    form_->addRow("风力：", windForce_);
    form_->addRow("仪器号：", instrument_);
    form_->addRow("日期：", date_);

    start_ = new QPushButton("开始转换");
    start_->setDefault(true);
    connect(start_, &QPushButton::clicked, this, &GeoBookDialog::start);

    cancel_ = new QPushButton("取消");
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(start_);
    buttons->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group_);
    layout->addLayout(buttons);
}

void GeoBookDialog::localise(const CommandContext& ctx) {
    setWindowTitle(CatalogueText(ctx, msg::kConversionOptions, windowTitle()));
    group_->setTitle(CatalogueText(ctx, msg::kConversionOptions, group_->title()));
    const struct {
        QWidget* field;
        int base;
    } rows[] = {{observer_, msg::kObserverLabel},          {weather_, msg::kWeatherLabel},
                {windDirection_, msg::kWindDirectionLabel}, {windForce_, msg::kWindForceLabel},
                {instrument_, msg::kInstrumentNumberLabel}, {date_, msg::kDateLabel}};
    for (const auto& row : rows)
        if (auto* label = qobject_cast<QLabel*>(form_->labelForField(row.field)))
            label->setText(CatalogueText(ctx, row.base, label->text()));
    start_->setText(CatalogueText(ctx, msg::kStartConversion, start_->text()));
    cancel_->setText(CatalogueText(ctx, msg::kCancelCommand, cancel_->text()));
}

void GeoBookDialog::showWithToday() {
    date_->setDate(QDate::currentDate());
}

void GeoBookDialog::start() {
    if (ctx_) {
        GeoBookOptions& o = ctx_->options.get<GeoBookOptions>();
        o.observer = observer_->text().toStdString();
        o.weather = weather_->text().toStdString();
        o.windDirection = windDirection_->text().toStdString();
        o.windForce = windForce_->text().toStdString();
        o.instrument = instrument_->currentText().toStdString();
        const QDate d = date_->date();
        o.date = std::chrono::year{d.year()} / std::chrono::month{unsigned(d.month())} /
                 std::chrono::day{unsigned(d.day())};
    }
    accept();
}

bool GeoBookDialog::run(CommandContext& ctx) {
    ctx_ = &ctx;
    localise(ctx);
    showWithToday();
    const bool started = exec() == QDialog::Accepted;
    ctx_ = nullptr;
    return started;
}

}  // namespace tarvosen::ui
