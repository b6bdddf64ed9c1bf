#pragma once
// TraverseOptionsDialog, the options of the traverse export: instrument model, line name,
// observer, the height increment of the targets, the observation date and
// which products to write. Its start button runs the export.

#include <QDialog>
#include <QString>

#include "app/command_context.h"
#include "adjustment/adjustment_options.h"

class QCheckBox;
class QDateEdit;
class QFormLayout;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace tarvosen::adjustment::ui {

class TraverseOptionsDialog : public QDialog {
  public:
    explicit TraverseOptionsDialog(QWidget* parent = nullptr);

    // Shows ctx.options.get<TraverseOptions>() with today's date, runs modally and writes
    // what was typed back. True when the start button closed it; the start
    // button refuses a height increment that is not a number and stays open.
    bool run(CommandContext& ctx);

    // The controls, named as on the form.
    QGroupBox* headerGroup;
    QLineEdit* modelEdit;      // instrument model
    QLineEdit* lineNameEdit;       // line name
    QLineEdit* observerEdit;    // observer
    QLineEdit* heightIncrementEdit;         // height increment
    QDateEdit* dateEdit;        // observation date
    QCheckBox* produceTextCheck;  // 转平差格式
    QCheckBox* produceBookCheck;  // 转电子表格格式
    QPushButton* startButton;  // 开始转换
    QPushButton* cancelButton;  // 取消

  private:
    void start();
    // Sets the texts in the command's language from the catalogue.
    void localise(const CommandContext& ctx);

    QFormLayout* form_;
    // The refusal of the increment, %1 the text typed (as the export words it).
    QString noNumberText_ = "The height increment \"%1\" is not a valid number";
};

}  // namespace tarvosen::adjustment::ui
