#pragma once
// The flow the three record-book commands share: stage the workspace, ask
// for the workbook's name, read the DINI data into the book, save it and
// offer to open it.

#include <functional>
#include <memory>

#include "app/command.h"
#include "levelling/record_book.h"
#include "spreadsheet/spreadsheet_session.h"

namespace tarvosen::levelling {

inline constexpr const char* kWorkbookFilter = "Excel Workbook (*.xlsx)|*.xlsx";
inline constexpr const char* kWorkbookExtension = "xlsx";

using BookFactory = std::function<std::unique_ptr<RecordBook>(spreadsheet::SpreadsheetSession&)>;

// Builds a record book from the workspace. The caller has shown its option
// dialog and checked that the workspace holds lines.
CommandStatus BuildRecordBook(CommandContext& ctx, const BookFactory& makeBook);

}  // namespace tarvosen::levelling
