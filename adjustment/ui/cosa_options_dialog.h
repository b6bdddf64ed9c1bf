#pragma once
// CosaOptionsDialog, the options of the COSA observation file export: the known-point
// file, the a-priori accuracies of the network and whether directions are
// reduced to the backsight and slope distances to horizontal.

#include <QDialog>
#include <QString>

#include "app/command_context.h"
#include "adjustment/adjustment_options.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvosen::adjustment::ui {

class CosaOptionsDialog : public QDialog {
  public:
    explicit CosaOptionsDialog(QWidget* parent = nullptr);

    // Shows ctx.options.get<CosaOptions>(), runs modally and writes what was typed back
    // (the fields keep their texts between uses, as on a form that lives
    // until exit). True for OK.
    bool run(CommandContext& ctx);

    // The controls, named as on the form.
    QLineEdit* knownPointFileEdit;      // known-point file
    QPushButton* browseButton;  // 浏览
    QGroupBox* accuracyGroup;
    QLineEdit* directionErrorEdit;  // direction standard error, seconds
    QLineEdit* distanceConstantEdit;  // distance error, constant part, mm
    QLineEdit* distancePpmEdit;  // distance error, ppm
    QCheckBox* zeroBacksightCheck;
    QCheckBox* reduceSlopeCheck;
    QPushButton* okButton;  // OK
    QPushButton* cancelButton;  // Cancel

  private:
    void browseForKnownPointFile();
    // OK: closes the dialog only when every field holds what it must.
    void acceptChecked();
    // Sets the texts in the command's language from the catalogue.
    void localise(const CommandContext& ctx);

    QLabel* knownPointFileLabel_;
    QLabel* accuracyLabels_[3];  // direction, distance constant, distance ppm
    QLabel* secondsUnit_;
    // The refusals, %1 the file or the text typed.
    QString missingFileText_ = "已知点文件不存在：%1";
    QString noNumberText_ = "精度须为不小于 0 的数：%1";
    QString fileTypes_ = "Text files (*.txt);;All files (*)";  // of the known-point file
};

}  // namespace tarvosen::adjustment::ui
