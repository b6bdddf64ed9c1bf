#pragma once
// The traverse adjustment text: four header lines (instrument model, line
// name, date, observer), the number of stations and the starting known point,
// 14 lines per station (name, instrument height, horizontal and zenith
// readings of backsight and foresight in both faces, foresight slope
// distances, target heights) and the closing known point.

#include <chrono>
#include <string>
#include <string_view>

#include "app/line_account.h"
#include "app/workspace.h"
#include "adjustment/adjustment_options.h"

namespace tarvosen {

struct CommandContext;
struct TraverseOptions;

// The height increment typed into the dialog, strictly: throws
// ConversionError when it is not a number.
double ParseHeightIncrement(std::string_view text);

// "%s%02d" of the line name and the station's index: DGDX01, DGDX02, ...
std::string GeneratedStationName(std::string_view lineName, std::size_t index);

// yyyy-MM-dd.
std::string IsoDate(const std::chrono::year_month_day& date);

// What a traverse export read: the account of every raw line, and the
// stations it wrote.
struct TraverseReading {
    LineAccount account;
    std::size_t stations = 0;
};

// Reads the raw records of `raw` and replaces the workspace with the
// adjustment text (`raw` may be the workspace itself). Observations before
// the first set-up, and those after a station's fourth, are left out with a
// warning. Throws ConversionError (before the workspace changes) when the
// height increment is not a number. Returns false (workspace unchanged, with
// a message) when the data hold no set-up at all, or when reading strictly
// and a line was not understood. `reading` gets what was read.
bool WriteAdjustmentText(CommandContext& ctx, const Workspace& raw, TraverseReading& reading);

}  // namespace tarvosen
