#pragma once
// The values of the option dialogs, kept for as long as the program runs: a
// dialog (or a command-line option) edits its subsystem's struct, the command
// reads it, and the values persist between uses (nothing is stored between
// runs). The store knows no subsystem: each declares its own struct and
// reaches it by type; a struct is default-constructed on first use.

#include <any>
#include <typeindex>
#include <unordered_map>

namespace tarvosen {

class OptionsStore {
  public:
    template <typename Options>
    Options& get() {
        std::any& slot = values_[std::type_index(typeid(Options))];
        if (!slot.has_value()) slot.emplace<Options>();
        return *std::any_cast<Options>(&slot);
    }

  private:
    // Node-based: a reference handed out stays valid as other types are added.
    std::unordered_map<std::type_index, std::any> values_;
};

}  // namespace tarvosen
