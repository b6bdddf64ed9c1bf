// The formula compiler and evaluator on arbitrary text: a formula either
// compiles or is refused with SpreadsheetError; a compiled one evaluates to a
// value, its text compiles again to the same text, and shifting it keeps it
// valid.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "spreadsheet/spreadsheet_session.h"

using namespace tarvosen::spreadsheet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) return 0;
    std::string text = "=" + std::string(reinterpret_cast<const char*>(data), size);
    SpreadsheetSession book;
    book.NewWorkbook();
    Sheet sheet = book.AddSheet();
    sheet.SetName("S");
    sheet.Range("A1").SetValue(1.5);
    sheet.Range("B2").SetValue("text");
    sheet.Range("C3").SetFormula("=A1*2");
    try {
        sheet.Range("D4").SetFormula(text);
    } catch (const SpreadsheetError&) {
        return 0;
    }
    (void)sheet.Range("D4").ValueText();
    std::string rendered = sheet.Range("D4").Formula();
    sheet.Range("E5").SetFormula(rendered);  // throws (and so fails) if not valid again
    if (sheet.Range("E5").Formula() != rendered) std::abort();
    sheet.Range("D4").CopyTo(sheet.Range("A1"));
    sheet.Range("D4").CopyTo(sheet.Range("H100"));
    (void)sheet.Range("A1").ValueText();
    (void)sheet.Range("H100").ValueText();
    (void)sheet.Range("C3").ValueText();
    return 0;
}
