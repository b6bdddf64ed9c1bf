#pragma once
// TDINIOption, "DINI 转换选项": the levelling class (ComboBox1) and the five
// tolerance limits (Edit1..Edit5) of the high-order record book. Choosing a
// class loads its limits; the user may then edit any of them, and the book
// uses whatever the fields hold.

#include <QDialog>
#include <array>
#include <optional>

#include "app/command_context.h"

class QComboBox;
class QLineEdit;

namespace tarvosen::ui {

class TDINIOption : public QDialog {
    Q_OBJECT
  public:
    explicit TDINIOption(QWidget* parent = nullptr);

    // Shows the dialog modally; on OK the class and the field texts go into
    // ctx.options.dini.
    bool run(CommandContext& ctx);

    // For tests: the controls as the user sees them.
    QComboBox* classBox() const { return ComboBox1; }
    QLineEdit* limitField(int field) const { return edits_[field]; }

  private:
    void ComboBox1Change(int index);
    void showOptions(const DiniOptions& options);
    DiniOptions selection() const;

    QComboBox* ComboBox1;
    std::array<QLineEdit*, 5> edits_{};
    // The options last shown or taken: the fields are reloaded only when the
    // options were changed elsewhere, so typed values stay between showings.
    std::optional<DiniOptions> synced_;
};

}  // namespace tarvosen::ui
