#pragma once
// The options of the R5 option dialog: how R5 records are converted. The
// dialog also shows how point lists are read (points/point_list_options.h).

#include "app/option_dialog.h"

namespace tarvosen {

// The R5 option dialog, which edits R5Options.
inline constexpr OptionDialog kR5OptionsDialog{"zeiss.r5-options", "The R5 option dialog"};

// R5 options (R5OptionsDialog).
struct R5Options {
    int recordFormat = 0;  // 0 Mem/1, 1 Mem/2, 2 Mem/3
    bool includeCode = true;
    bool reassignPointNames = false;
    bool convertAlphabeticToNumber = true;  // point list -> R5
    bool computeFromObservations() const { return recordFormat == 0; }
};

}  // namespace tarvosen
