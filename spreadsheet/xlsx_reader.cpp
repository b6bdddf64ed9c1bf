#include "spreadsheet/workbook.h"
#include "spreadsheet/xlsx.h"
namespace tarvosen::spreadsheet {
std::unique_ptr<Workbook> ReadXlsx(const std::filesystem::path& path) {
    throw SpreadsheetError("Cannot open " + path.string());
}
}  // namespace tarvosen::spreadsheet
