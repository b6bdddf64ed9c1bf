#pragma once
// Reading and writing .xlsx files.

#include <filesystem>
#include <functional>
#include <memory>

namespace tarvosen::spreadsheet {

class Workbook;

// Writes the workbook (every formula computed first and written with its
// result) to a temporary file beside `path`, then renames it over `path`.
// Throws SpreadsheetError naming the path on failure. `beforeReplace`, when
// given, runs once the temporary is complete and before it replaces `path`;
// an exception from it leaves `path` as it was and is passed on.
void WriteXlsx(Workbook& workbook, const std::filesystem::path& path,
               const std::function<void()>& beforeReplace = {});

// Reads the file `file` written for `shownAs` back and throws
// SpreadsheetError naming shownAs when a part is damaged or cut off.
void CheckXlsxComplete(const std::filesystem::path& file, const std::filesystem::path& shownAs);

// Reads values, formulas, styles, merges, widths, heights, sheet names and
// view settings of an .xlsx file. Throws SpreadsheetError naming the file
// (and the part of it) when it cannot be read.
std::unique_ptr<Workbook> ReadXlsx(const std::filesystem::path& path);

}  // namespace tarvosen::spreadsheet
