#pragma once
// R5OptionsDialog, the R5 option dialog: the record format (Mem/1 computes polar
// observations), Include Code, Re-Assigned Point Name, the point list -> R5
// letter conversion and the layout the point list exports read. Each choice
// takes effect the moment it is clicked; OK keeps them, Cancel puts back the
// options the dialog was opened with.

#include <QDialog>

#include "app/command_context.h"
#include "points/point_list_options.h"
#include "zeiss/r5_options.h"

class QCheckBox;
class QDialogButtonBox;
class QGroupBox;
class QLabel;
class QRadioButton;

namespace tarvosen::zeiss::ui {

class R5OptionsDialog : public QDialog {
  public:
    explicit R5OptionsDialog(QWidget* parent = nullptr);

    // Shows the values of ctx.options.get<R5Options>(), localises the texts from the
    // catalogue and runs modally; clicks write straight into ctx.options.get<R5Options>().
    // False (and the options as they were) after Cancel.
    bool run(CommandContext& ctx);

    // The controls, named as on the form (tests look at them).
    QGroupBox* recordFormatGroup;
    QRadioButton* Mem[3];
    QCheckBox* reassignNamesCheck;     // Re-Assigned Point Name
    QCheckBox* includeCodeCheck;     // Include Code
    QCheckBox* alphabeticToNumberCheck;  // letters in point names become numbers (points -> R5)
    QLabel* noteLabel;           // the note
    QGroupBox* LayoutGroup;   // how point lists are read
    QRadioButton* Layout[3];  // automatic, own, CASS (PointListLayout order)
    QDialogButtonBox* buttons;  // OK and Cancel, in Qt's words of the language

  private:
    void localise(const CommandContext& ctx);

    R5Options* options_ = nullptr;
    PointListOptions* pointList_ = nullptr;
};

}  // namespace tarvosen::zeiss::ui
