#pragma once
// The known points of a COSA observation file: a point list the user gives
// (a name, X, Y and optionally Z a line, separated by commas, as the
// program's own point lists write them, a code after Z allowed) or the
// points entered by hand on the instrument (the raw file's MP records).

#include <cstddef>
#include <string>
#include <vector>

#include "app/line_account.h"

namespace tarvosen {

struct KnownPoint {
    std::string name, x, y;  // texts as given, blanks around them dropped; X north
    std::size_t line = 0;    // in the list or raw data they came from, from 1
};

// The points of a known-point list; blank lines are skipped. Throws FileError
// when the file cannot be read, and ConversionError naming the file and line
// at the first line that is no point (its X or Y no number, a field missing
// or more than a code after Z). With an account, its lines are counted there
// as a file of their own: each point used, each blank line passed over.
std::vector<KnownPoint> ReadKnownPointFile(const std::string& path,
                                           LineAccount* account = nullptr);

// True when X and Y of the two points lie within half a millimetre.
bool SameCoordinates(const KnownPoint& a, const KnownPoint& b);

}  // namespace tarvosen
