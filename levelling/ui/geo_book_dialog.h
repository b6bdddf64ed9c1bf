#pragma once
// GeoBookDialog, "转换选项": the observation conditions of the geological
// institute's record book (observer, weather, wind, instrument number, date).
// Its start button "开始转换" starts the book.

#include <QDialog>

#include "app/command_context.h"
#include "levelling/levelling_options.h"

class QComboBox;
class QDateEdit;
class QFormLayout;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace tarvosen::ui {

class GeoBookDialog : public QDialog {
    Q_OBJECT
  public:
    explicit GeoBookDialog(QWidget* parent = nullptr);

    // Shows the dialog modally with the date set to today; the start button
    // puts the texts and the date into ctx.options.get<GeoBookOptions>() and returns true.
    bool run(CommandContext& ctx);

    // For tests: the controls as the user sees them.
    QLineEdit* observerField() const { return observer_; }
    QComboBox* instrumentBox() const { return instrument_; }
    QDateEdit* datePicker() const { return date_; }
    QPushButton* startButton() const { return start_; }
    QPushButton* cancelButton() const { return cancel_; }

  private:
    // Sets the texts in the command's language from the catalogue.
    void localise(const CommandContext& ctx);
    void showWithToday();
    void start();

    QLineEdit *observer_, *weather_, *windDirection_, *windForce_;
    QComboBox* instrument_;
    QDateEdit* date_;
    QPushButton* start_;
    QPushButton* cancel_;
    QGroupBox* group_;
    QFormLayout* form_;
    CommandContext* ctx_ = nullptr;
};

}  // namespace tarvosen::ui
