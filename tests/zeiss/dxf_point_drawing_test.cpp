#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "zeiss/dxf_point_drawing.h"

namespace tarvosen::zeiss {
namespace {

std::vector<std::string> Drawing(const std::vector<DxfPoint>& points) {
    std::vector<std::string> lines;
    const DxfLineSink sink = [&](std::string_view l) { lines.emplace_back(l); };
    WriteDxfHead(sink);
    for (const auto& p : points) WriteDxfPoint(sink, p);
    WriteDxfTail(sink);
    return lines;
}

TEST(DxfPointDrawing, EntitiesOfOnePointInOrder) {
    const std::vector<std::string> expected{
        " 0",  "SECTION", " 2",  "ENTITIES", " 0",  "POINT",  " 8",  "PT",    " 10", "  23.926",
        " 20", "46.475",  " 30", "0.000",    " 0",  "TEXT",   " 8",  "PN",    " 10", "  23.926",
        " 20", "46.475",  " 30", "0.000",    " 40", " 1.0",   " 1",  "   0",  " 0",  "TEXT",
        " 8",  "CODE",    " 10", "  23.926", " 20", "46.475", " 30", "0.000", " 40", " 1.0",
        " 1",  "S  ",     " 0",  "ENDSEC",   " 0",  "EOF"};
    EXPECT_EQ(Drawing({{"   0", "  23.926", "46.475", "0.000", "S  "}}), expected);
}

TEST(DxfPointDrawing, BlankCodesGetNoCodeText) {
    for (std::string_view code : {"", "   ", " \t\r", "\x1f"}) {
        const auto lines = Drawing({{"P1", "1", "2", "3", code}});
        EXPECT_EQ(lines.size(), 5u + 10u + 14u + 3u);
        EXPECT_FALSE(DxfCodeIsShown(code));
    }
    EXPECT_TRUE(DxfCodeIsShown(" A "));
}

}  // namespace
}  // namespace tarvosen::zeiss
