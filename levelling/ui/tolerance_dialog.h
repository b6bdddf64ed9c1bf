#pragma once
// ToleranceDialog, "DINI 转换选项": the levelling class (classBox_) and the five
// tolerance limits (the limit fields) of the high-order record book. Choosing a
// class loads its limits; the user may then edit any of them, and the book
// uses whatever the fields hold.

#include <QDialog>
#include <QString>
#include <array>
#include <optional>

#include "app/command_context.h"
#include "levelling/levelling_options.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace tarvosen::ui {

class ToleranceDialog : public QDialog {
    Q_OBJECT
  public:
    explicit ToleranceDialog(QWidget* parent = nullptr);

    // Shows the dialog modally; on OK the class and the field texts go into
    // ctx.options.get<ToleranceOptions>().
    bool run(CommandContext& ctx);

    // For tests: the controls as the user sees them.
    QComboBox* classBox() const { return classBox_; }
    QLineEdit* limitField(int field) const { return edits_[field]; }

  private:
    // Sets the texts in the command's language from the catalogue.
    void localise(const CommandContext& ctx);
    void loadClassLimits(int index);
    // OK: closes the dialog only when every limit is a number above 0.
    void acceptChecked();
    void showOptions(const ToleranceOptions& options);
    ToleranceOptions selection() const;

    QComboBox* classBox_;
    QLabel* classLabel_;
    QGroupBox* limitsGroup_;
    std::array<QLabel*, 5> limitLabels_{};
    std::array<QLineEdit*, 5> edits_{};
    // The refusal of a limit, %1 its label, %2 the text typed.
    QString noNumberText_ = "%1须为大于 0 的数：%2";
    // The options last shown or taken: the fields are reloaded only when the
    // options were changed elsewhere, so typed values stay between showings.
    std::optional<ToleranceOptions> synced_;
};

}  // namespace tarvosen::ui
