#pragma once
// The plane-network observation file of the COSA adjustment software: an
// accuracy line, the known points, then every station with its directions
// and horizontal distances.

#include "app/workspace.h"
#include "adjustment/adjustment_options.h"

namespace tarvosen {

struct CommandContext;

// The English text of msg::kNoKnownPoints, said when the known-point list
// given cannot be read.
inline constexpr const char* kNoKnownPointsMessage =
    "No known-point file was given; add the known points to the converted file by hand.";
inline constexpr const char* kKnownPointFilter = "Text File (*.txt)|*.txt|All File(*.*)|*.*";

// Appends the observation file for the raw records of `raw` to the
// workspace, under the options of ctx.options.get<CosaOptions>(). The known
// points are those of the known-point list when one is given, else the raw
// data's MP records. Directions reduced to the backsight take a face II
// reading less 180°; a backsight observed with a distance (F1) adds that
// distance. Observations with no name to write (an unnamed point, a set-up
// without station or backsight name) and observations before the first
// set-up are left out with a warning naming their lines. A known-point list
// that cannot be read is warned about and left out. Throws ConversionError
// naming the line, before anything is appended, for a list line that is no
// point and when a slope distance to be reduced is not a number. Refuses data
// without a set-up (an error naming the file; false). Every line of the raw
// data and of the known-point list is accounted for (LineAccount): lines not
// understood are warned about, or stop a strict run before anything is
// appended, and the run ends with its summary note.
bool AppendCosaObservations(CommandContext& ctx, const Workspace& raw);

}  // namespace tarvosen
