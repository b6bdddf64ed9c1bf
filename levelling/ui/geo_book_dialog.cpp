#include "levelling/ui/geo_book_dialog.h"

#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

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

    auto* group = new QGroupBox("转换选项");
    auto* form = new QFormLayout(group);
    form->addRow("观测者：", observer_);
    form->addRow("天气：", weather_);
    form->addRow("风向：", windDirection_);
    form->addRow("风力：", windForce_);
    form->addRow("仪器号：", instrument_);
    form->addRow("日期：", date_);

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
    layout->addWidget(group);
    layout->addLayout(buttons);
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
    showWithToday();
    const bool started = exec() == QDialog::Accepted;
    ctx_ = nullptr;
    return started;
}

}  // namespace tarvosen::ui
