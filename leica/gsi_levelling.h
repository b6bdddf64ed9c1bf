#pragma once
// The levelling data of a Leica digital level (DNA, LS, Sprinter) in GSI8
// or GSI16, read into the neutral levelling model.
//
// A line starts with a 41 block whose data hold '?' and the method
// (1 BF, 2 BFFB, 3 aBF, 4 aBFFB; 10 is a check-and-adjust run, passed over).
// Then blocks of point id (11) and words: 83 alone is a point height (the
// start height entered, restarted or carried over; after an intermediate
// sight, that point's height); 32 with 331/335 a back reading, with 332/336
// a fore reading, with 333 an intermediate sight; 571-574 with 83 the
// station's summary and the height it reached. Quick-closure blocks (505-518,
// without an address) give the line's height difference (513) and station
// count (290). A line ends where the next begins; a line that stops within a
// station is left unended.

#include "levelling/levelling_model.h"

namespace tarvosen::leica {

// The GSI levelling reader of the levelling reader table.
const levelling::LevellingReader& GsiLevellingReader();

bool IsGsiLevelling(const Workspace& lines);
levelling::ReadOutcome ReadGsiLevelling(CommandContext& ctx, const Workspace& lines,
                                        levelling::LevellingSink& sink, LineAccount& account);


}  // namespace tarvosen::leica
