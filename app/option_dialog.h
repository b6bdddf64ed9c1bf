#pragma once
// An option dialog, declared by the subsystem it belongs to beside its options
// struct: an id of the form "subsystem.dialog" and the name messages give it.
// Two dialogs are the same when their ids are.

#include <compare>
#include <string_view>

namespace tarvosen {

struct OptionDialog {
    std::string_view id;
    std::string_view name;

    friend constexpr bool operator==(const OptionDialog& a, const OptionDialog& b) {
        return a.id == b.id;
    }
    friend constexpr auto operator<=>(const OptionDialog& a, const OptionDialog& b) {
        return a.id <=> b.id;
    }
};

}  // namespace tarvosen
