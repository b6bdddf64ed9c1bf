#pragma once
// How the point list exports read their input: the layout guessed from the
// whole file, or the one the user chose (shown in the R5 option dialog).

namespace tarvosen {

enum class PointListLayout {
    Automatic,
    Own,   // name, X, Y, Z, code
    Cass,  // name, code, east (Y), north (X), height
};

struct PointListOptions {
    PointListLayout layout = PointListLayout::Automatic;
};

}  // namespace tarvosen
