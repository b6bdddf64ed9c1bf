// The workbook engine behind SpreadsheetSession.
