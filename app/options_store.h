#pragma once
// The values of the option dialogs, kept for as long as the program runs: a
// dialog (or a command-line option) edits its subsystem's struct, the command
// reads it (ctx.options.get<CosaOptions>()), and the values persist between
// uses (nothing is stored between runs).

#include "app/type_store.h"

namespace tarvosen {

using OptionsStore = TypeStore<struct OptionValues>;

}  // namespace tarvosen
