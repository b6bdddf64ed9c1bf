#pragma once
// The DXF point drawing written from R5 files and from point lists: a DXF file
// with only an ENTITIES section. Per survey point it holds a POINT on layer
// "PT", a TEXT with the point name on layer "PN" and, when the code is not
// blank, a TEXT with the code on layer "CODE"; text height 1.0. Every group
// code and every value stands on a line of its own, group codes with one
// leading blank.
//
// Use: WriteDxfHead, then WriteDxfPoint for each point, then WriteDxfTail,
// each handing the drawing's lines, in order, to `out`.

#include <functional>
#include <string_view>

namespace tarvosen::zeiss {

// Receives one line of the drawing (without a line end).
using DxfLineSink = std::function<void(std::string_view line)>;

// One point as the texts that go into the drawing unchanged: x goes to group
// 10, y to group 20, z to group 30 (callers format the numbers).
struct DxfPoint {
    std::string_view name, x, y, z, code;
};

// " 0", "SECTION", " 2", "ENTITIES", " 0"
void WriteDxfHead(const DxfLineSink& out);
// POINT on "PT", TEXT name on "PN", and TEXT code on "CODE" when the code with
// blanks and control characters removed at both ends is not empty (the code
// itself is written untrimmed). Each entity ends with " 0".
void WriteDxfPoint(const DxfLineSink& out, const DxfPoint& point);
// "ENDSEC", " 0", "EOF"
void WriteDxfTail(const DxfLineSink& out);

// True when a point with this code gets a CODE text.
bool DxfCodeIsShown(std::string_view code);

}  // namespace tarvosen::zeiss
