#pragma once
// How the option dialogs of the subsystems reach the main window. Each
// subsystem's ui/ folder registers a factory for its dialog with a static
// RegisterOptionDialog call; the main window creates every registered dialog
// once at start-up (they live until exit, so typed values persist) and shows
// the one a command asks for through UserInterface::showOptionDialog.

#include <functional>
#include <memory>

#include <QPointer>

#include "app/command_context.h"
#include "app/user_interface.h"

class QWidget;

namespace tarvosen::ui {

class OptionDialogHost {
public:
    virtual ~OptionDialogHost() = default;
    // Shows the dialog modally. It reads its initial values from, and writes
    // the user's values back into, ctx.options (and may use ctx.catalogue and
    // ctx.state.languageIndex for its texts). True for OK / the start button.
    virtual bool run(CommandContext& ctx) = 0;
};

using OptionDialogFactory = std::function<std::unique_ptr<OptionDialogHost>(QWidget* parent)>;

// Registers the factory of one dialog; returns true so it can initialise a
// static variable: static const bool registered = RegisterOptionDialog(...);
bool RegisterOptionDialog(OptionDialog id, OptionDialogFactory factory);

// Hosts a dialog class with a `bool run(CommandContext&)`. The dialog belongs
// to its parent window; the host deletes it only if the window has not done
// so already.
template <typename Dialog>
class DialogHost : public OptionDialogHost {
public:
    explicit DialogHost(QWidget* parent) : dialog_(new Dialog(parent)) {}
    ~DialogHost() override { delete dialog_.data(); }
    bool run(CommandContext& ctx) override { return dialog_ && dialog_->run(ctx); }

private:
    QPointer<Dialog> dialog_;
};

// Registers the dialog class as the one for id.
template <typename Dialog>
bool RegisterDialogClass(OptionDialog id) {
    return RegisterOptionDialog(
        id, [](QWidget* parent) { return std::make_unique<DialogHost<Dialog>>(parent); });
}

// The factory registered for id, or an empty function.
OptionDialogFactory FindOptionDialogFactory(OptionDialog id);

}  // namespace tarvosen::ui
