#pragma once
// The record of what a workbook was built from, kept in its document
// properties: the program's version and the name and SHA-256 of each file.

#include <vector>

#include "app/file_digest.h"
#include "spreadsheet/workbook.h"

namespace tarvosen::spreadsheet {

// Sets the comments and the custom properties "Program", "Source N" and
// "Source N SHA-256".
void RecordSources(Workbook& book, const std::vector<SourceFile>& sources);

}  // namespace tarvosen::spreadsheet
