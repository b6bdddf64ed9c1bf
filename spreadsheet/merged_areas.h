#pragma once
// The merged areas of a sheet, in the order they were merged, found by their
// rows: a book of ten thousand stations merges tens of thousands of areas,
// and each new merge or copied range asks which of them it touches.

#include <cstddef>
#include <map>
#include <vector>

#include "spreadsheet/spreadsheet_session.h"

namespace tarvosen::spreadsheet {

class MergedAreas {
  public:
    using const_iterator = std::vector<CellRect>::const_iterator;
    const_iterator begin() const { return areas_.begin(); }
    const_iterator end() const { return areas_.end(); }
    std::size_t size() const { return areas_.size(); }
    bool empty() const { return areas_.empty(); }
    const CellRect& operator[](std::size_t i) const { return areas_[i]; }
    bool operator==(const std::vector<CellRect>& areas) const { return areas_ == areas; }

    void push_back(const CellRect& area);
    // The positions of the areas that share a cell with `area`, in order.
    std::vector<std::size_t> overlapping(const CellRect& area) const;
    // Removes the areas that share a cell with `area`.
    void eraseOverlapping(const CellRect& area);

  private:
    void reindex();

    std::vector<CellRect> areas_;
    std::multimap<int, std::size_t> byFirstRow_;
    int tallest_ = 0;  // the most rows an area spans, less one
};

}  // namespace tarvosen::spreadsheet
