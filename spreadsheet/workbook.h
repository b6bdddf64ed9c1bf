#pragma once
// The workbook engine behind SpreadsheetSession (placeholder until the
// formula engine lands: it keeps values, not formulas or styles).

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "spreadsheet/spreadsheet_session.h"

namespace tarvosen::spreadsheet {

struct SheetData {
    Workbook* book = nullptr;
    std::string name;
    std::map<std::pair<int, int>, CellValue> cells;
};

class Workbook {
public:
    std::vector<std::shared_ptr<SheetData>> sheets;
    int active = 0;
};

}  // namespace tarvosen::spreadsheet
