#include "spreadsheet/merged_areas.h"

#include <algorithm>

namespace tarvosen::spreadsheet {

namespace {

bool Overlap(const CellRect& a, const CellRect& b) {
    return a.firstRow <= b.lastRow && a.lastRow >= b.firstRow && a.firstColumn <= b.lastColumn &&
           a.lastColumn >= b.firstColumn;
}

}  // namespace

void MergedAreas::push_back(const CellRect& area) {
    byFirstRow_.emplace(area.firstRow, areas_.size());
    tallest_ = std::max(tallest_, area.lastRow - area.firstRow);
    areas_.push_back(area);
}

std::vector<std::size_t> MergedAreas::overlapping(const CellRect& area) const {
    // An area reaching the rows of `area` starts at most `tallest_` rows above them.
    std::vector<std::size_t> found;
    const auto last = byFirstRow_.upper_bound(area.lastRow);
    for (auto it = byFirstRow_.lower_bound(area.firstRow - tallest_); it != last; ++it)
        if (Overlap(areas_[it->second], area)) found.push_back(it->second);
    std::sort(found.begin(), found.end());
    return found;
}

void MergedAreas::eraseOverlapping(const CellRect& area) {
    if (overlapping(area).empty()) return;
    std::erase_if(areas_, [&](const CellRect& a) { return Overlap(a, area); });
    reindex();
}

void MergedAreas::reindex() {
    byFirstRow_.clear();
    tallest_ = 0;
    for (std::size_t i = 0; i < areas_.size(); ++i) {
        byFirstRow_.emplace(areas_[i].firstRow, i);
        tallest_ = std::max(tallest_, areas_[i].lastRow - areas_[i].firstRow);
    }
}

}  // namespace tarvosen::spreadsheet
