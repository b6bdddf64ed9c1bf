#pragma once
// The layouts point lists come in, and how a whole file is recognised as one
// of them. The program's own layout is name, X, Y, Z and an optional code; the
// CASS layout, in which most lists of surveyors here are kept, is name, code,
// east, north and height, the code often empty. Either comes with commas or
// with blanks or tabs between its fields.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "app/options_store.h"
#include "app/workspace.h"
#include "i18n/message_catalogue.h"
#include "points/point_list_options.h"

namespace tarvosen::points {

struct PointRecord;

enum class FieldSeparator { Comma, Blanks };

// The fields of one line as they stand, before they are given a meaning.
// With commas, the first four commas separate fields and the fifth field is
// the rest of the line, further commas included; nothing is trimmed. With
// blanks, runs of blanks and tabs separate fields, and the fifth is the rest
// of the line without its trailing blanks.
struct LineFields {
    std::array<std::string_view, 5> field;
    int count = 0;   // fields present, 0 to 5
    int commas = 0;  // every comma of the line (with commas as separator)
};
LineFields SplitPointLine(std::string_view line, FieldSeparator separator);

// Whether the text has the form of a decimal number, blanks around it
// allowed: 12, -1985.745, .5, 3e2. Only the form is checked, without
// converting, since every field of every point line is tested.
bool IsNumberText(std::string_view text);

// True when the line holds a point in that layout: the program's own wants
// at least name, X, Y and Z with X, Y and Z numbers; CASS wants name, code,
// east, north and height with the last three numbers (with blanks, a line of
// four fields is a point without a code).
bool FitsLayout(const LineFields& line, PointListLayout layout, FieldSeparator separator);

// Gives the fields their meaning: a CASS record gets X = north, Y = east.
void AssignFields(const LineFields& line, PointListLayout layout, FieldSeparator separator,
                  PointRecord& record);

// How a file is read.
struct PointListShape {
    PointListLayout layout = PointListLayout::Own;
    FieldSeparator separator = FieldSeparator::Comma;
    bool chosen = false;          // the user chose the layout
    bool fitsCassAsWell = false;  // read as the own layout, but CASS fits as well
};

// The file read once, start to end: the layout that the most lines fit (the
// program's own when CASS fits no more lines), or the chosen one with the
// separator that suits it. `refusal` is not empty when the file is no point
// list in that layout; it then names the file's first lines, in the language
// of `texts`.
struct LayoutDecision {
    PointListShape shape;
    std::string refusal;
};
LayoutDecision DecidePointListLayout(const Workspace& lines, PointListLayout wanted,
                                     const MessageTexts& texts = {});

// A cheap look at a text: true when most of its first lines that hold text
// hold a point in the program's own or the CASS layout and nothing more.
bool LooksLikePointList(const Workspace& lines);

// "Point list read in the CASS layout (...), fields separated by commas.", in
// the language of texts.
std::string DescribeShape(const PointListShape& shape, const MessageTexts& texts = {});

}  // namespace tarvosen::points
