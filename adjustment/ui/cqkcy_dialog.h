#pragma once
// TCQKCY, the options of the traverse export: instrument model, line name,
// observer, the height increment of the targets, the observation date and
// which products to write. Its start button runs the export.

#include <QDialog>

#include "app/command_context.h"

class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace tarvosen::adjustment::ui {

class TCQKCY : public QDialog {
  public:
    explicit TCQKCY(QWidget* parent = nullptr);

    // Shows ctx.options.cqkcy with today's date, runs modally and writes
    // what was typed back. True when the start button closed it; the start
    // button refuses a height increment that is not a number and stays open.
    bool run(CommandContext& ctx);

    // The controls, named as on the form.
    QGroupBox* GroupBox1;
    QLineEdit* Edit1;      // instrument model
    QLineEdit* DGDX;       // line name
    QLineEdit* OBSName;    // observer
    QLineEdit* LE;         // height increment
    QDateEdit* DTP;        // observation date
    QCheckBox* CheckBox1;  // 转平差格式
    QCheckBox* CheckBox2;  // 转电子表格格式
    QPushButton* Button1;  // 开始转换

  private:
    void Button1Click();
};

}  // namespace tarvosen::adjustment::ui
