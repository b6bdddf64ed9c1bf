#pragma once
// The point number and code of an M5 point record (PI1), read from the whole
// information block, columns 22-48, by the layouts that exist:
//   this program's writer: number right-aligned in 22-35, code in 36-48;
//   Elta R55: number right-aligned to column 40, code from 41 ("1100CONTR");
//   Trimble M3: code first, number right-aligned to 48 ("A               0").

#include <string>

#include "zeiss/m5_line.h"

namespace tarvosen::zeiss {

struct M5PointIdentification {
    std::string number;  // without blanks
    // The code as it stands: blanks inside it (and the Elta's leading ones)
    // are kept. For this program's own lines the three columns 46-48, which
    // hold the R5 code it was written from, are kept blanks and all.
    std::string code;
};

// The words of the block are read thus:
// 1. a word that ends at column 35 or 40 is the number, the text after it
//    (or, when none, the words before it) the code;
// 2. otherwise a first word that runs across columns 40 and 41 is split
//    there, the number up to 40 and the code from 41;
// 3. otherwise the last word is the number and the words before it the code.
M5PointIdentification ReadM5PointIdentification(const M5Line& line);

// The code as an R5 point record keeps it: its last three characters, padded
// with blanks on the right (the Elta R55 writes `1100CONTR` as `NTR1100`).
std::string R5PointCode(std::string_view code);

}  // namespace tarvosen::zeiss
