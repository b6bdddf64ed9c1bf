#pragma once
// Tkesha, the options of the COSA observation file export: the known-point
// file, the a-priori accuracies of the network and whether directions are
// reduced to the backsight and slope distances to horizontal.

#include <QDialog>

#include "app/command_context.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace tarvosen::adjustment::ui {

class Tkesha : public QDialog {
  public:
    explicit Tkesha(QWidget* parent = nullptr);

    // Shows ctx.options.kesha, runs modally and writes what was typed back
    // (the fields keep their texts between uses, as on a form that lives
    // until exit). True for OK.
    bool run(CommandContext& ctx);

    // The controls, named as on the form.
    QLineEdit* Edit1;      // known-point file
    QPushButton* BitBtn1;  // 浏览
    QGroupBox* GroupBox1;
    QLineEdit* Edit2;  // direction standard error, seconds
    QLineEdit* Edit3;  // distance error, constant part, mm
    QLineEdit* Edit4;  // distance error, ppm
    QCheckBox* HACheck;
    QCheckBox* SDCheck;
    QPushButton* BitBtn2;  // OK
    QPushButton* BitBtn3;  // Cancel

  private:
    void BitBtn1Click();
};

}  // namespace tarvosen::adjustment::ui
