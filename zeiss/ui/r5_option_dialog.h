#pragma once
// TOption, the R5 option dialog: the record format (Mem/1 computes polar
// observations), Include Code, Re-Assigned Point Name, the point list -> R5
// letter conversion and the layout the point list exports read. Each choice
// takes effect the moment it is clicked; the OK button only closes the dialog.

#include <QDialog>

#include "app/command_context.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QRadioButton;

namespace tarvosen::zeiss::ui {

class TOption : public QDialog {
  public:
    explicit TOption(QWidget* parent = nullptr);

    // Shows the values of ctx.options.r5, localises the texts from the
    // catalogue and runs modally; clicks write straight into ctx.options.r5.
    bool run(CommandContext& ctx);

    // The controls, named as on the form (tests look at them).
    QGroupBox* RadioGroup1;
    QRadioButton* Mem[3];
    QCheckBox* CheckBox1;     // Re-Assigned Point Name
    QCheckBox* CheckBox2;     // Include Code
    QCheckBox* CheckBox3;     // Convert alphabetic to Number in XYZ->R5
    QLabel* Label1;           // the note
    QGroupBox* LayoutGroup;   // how point lists are read
    QRadioButton* Layout[3];  // automatic, own, CASS (PointListLayout order)

  private:
    void localise(const CommandContext& ctx);

    R5Options* options_ = nullptr;
    PointListOptions* pointList_ = nullptr;
};

}  // namespace tarvosen::zeiss::ui
