#pragma once
// TSHDDY, "转换选项": the observation conditions of the geological
// institute's record book (observer, weather, wind, instrument number, date).
// Its start button "开始转换" starts the book.

#include <QDialog>

#include "app/command_context.h"

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

namespace tarvosen::ui {

class TSHDDY : public QDialog {
    Q_OBJECT
  public:
    explicit TSHDDY(QWidget* parent = nullptr);

    // Shows the dialog modally with the date set to today; the start button
    // puts the texts and the date into ctx.options.shddy and returns true.
    bool run(CommandContext& ctx);

    // For tests: the controls as the user sees them.
    QLineEdit* observerField() const { return GCZ; }
    QComboBox* instrumentBox() const { return SN; }
    QDateEdit* datePicker() const { return DTP; }
    QPushButton* startButton() const { return Button1; }

  private:
    void FormShow();
    void Button1Click();

    QLineEdit *GCZ, *TQ, *FX, *FL;
    QComboBox* SN;
    QDateEdit* DTP;
    QPushButton* Button1;
    CommandContext* ctx_ = nullptr;
};

}  // namespace tarvosen::ui
