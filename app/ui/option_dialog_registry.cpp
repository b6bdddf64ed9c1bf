#include "app/ui/option_dialog_registry.h"

#include <map>

namespace tarvosen::ui {

namespace {

// Built on first use, so registrations from other files' static
// initialisers find it whatever the order of initialisation.
std::map<OptionDialog, OptionDialogFactory>& Registry() {
    static std::map<OptionDialog, OptionDialogFactory> registry;
    return registry;
}

}  // namespace

bool RegisterOptionDialog(OptionDialog id, OptionDialogFactory factory) {
    Registry()[id] = std::move(factory);
    return true;
}

OptionDialogFactory FindOptionDialogFactory(OptionDialog id) {
    auto it = Registry().find(id);
    return it == Registry().end() ? OptionDialogFactory() : it->second;
}

}  // namespace tarvosen::ui
