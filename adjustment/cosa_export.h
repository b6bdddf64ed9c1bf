#pragma once
// The plane-network observation file of the COSA adjustment software: an
// accuracy line, the known points, then every station with its directions
// and horizontal distances.

#include "app/workspace.h"
#include "adjustment/adjustment_options.h"

namespace tarvosen {

struct CommandContext;

// The English text of msg::kNoKnownPoints.
inline constexpr const char* kNoKnownPointsMessage =
    "No known-point file was given; add the known points to the converted file by hand.";
inline constexpr const char* kKnownPointFilter = "Text File (*.txt)|*.txt|All File(*.*)|*.*";

// Appends the observation file for the raw records of `raw` to the
// workspace, under the options of ctx.options.get<CosaOptions>(). Directions reduced to the
// backsight take a face II reading less 180°. A known-point file that
// cannot be read is warned about and left out. Observations before the first
// set-up are left out with a warning. Throws ConversionError naming the line
// when a slope distance to be reduced is not a number. Refuses data without
// a set-up (an error naming the file; false) before it appends anything.
bool AppendCosaObservations(CommandContext& ctx, const Workspace& raw);

}  // namespace tarvosen
