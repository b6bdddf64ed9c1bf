#include "zeiss/dxf_point_drawing.h"

#include "zeiss/fixed_columns.h"

namespace tarvosen::zeiss {

namespace {

void Entity(const DxfLineSink& out, std::string_view kind, std::string_view layer,
            const DxfPoint& p) {
    out(kind);
    out(" 8");
    out(layer);
    out(" 10");
    out(p.x);
    out(" 20");
    out(p.y);
    out(" 30");
    out(p.z);
}

void Text(const DxfLineSink& out, std::string_view layer, const DxfPoint& p,
          std::string_view text) {
    Entity(out, "TEXT", layer, p);
    out(" 40");
    out(" 1.0");
    out(" 1");
    out(text);
    out(" 0");
}

}  // namespace

void WriteDxfHead(const DxfLineSink& out) {
    for (std::string_view l : {" 0", "SECTION", " 2", "ENTITIES", " 0"}) out(l);
}

void WriteDxfPoint(const DxfLineSink& out, const DxfPoint& point) {
    Entity(out, "POINT", "PT", point);
    out(" 0");
    Text(out, "PN", point, point.name);
    if (DxfCodeIsShown(point.code)) Text(out, "CODE", point, point.code);
}

void WriteDxfTail(const DxfLineSink& out) {
    for (std::string_view l : {"ENDSEC", " 0", "EOF"}) out(l);
}

bool DxfCodeIsShown(std::string_view code) {
    return !Trim(code, Blanks::SpacesAndControls).empty();
}

}  // namespace tarvosen::zeiss
