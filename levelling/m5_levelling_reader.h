#pragma once
// The levelling reader of Zeiss/Trimble DiNi data (M5 "REC E" lines, also
// those converted from REC500): the M5 columns become the levelling model.

#include "levelling/levelling_model.h"

namespace tarvosen::levelling {

// The English texts of msg::kNotDini and msg::kNoDiniData.
inline constexpr const char* kNotDiniMessage =
    "Sorry, the file you are processing is not Zeiss M5 data.";
inline constexpr const char* kNoDiniDataMessage =
    "There are no DINI M5 data to convert. Load the data first.";
// The record layout ends at column 119 (118 and a blank). A line with more
// than blanks past it is no record the level wrote: it is not understood.
inline constexpr std::size_t kDiniLineLimit = 120;

// True when the first line with text is an M5 record, or any line is an M5
// levelling record (a Start-Line, a KD1 or KD2 record).
bool RecognisesM5(const Workspace& lines);

// Hands every levelling line to `sink` and counts every line in `account`.
// A value in a unit other than metres is refused, naming the line and the unit.
ReadOutcome ReadM5Levelling(CommandContext& ctx, const Workspace& lines, LevellingSink& sink,
                            LineAccount& account);

}  // namespace tarvosen::levelling
