#pragma once
// How values convert between numbers, texts and truth values, as a
// spreadsheet program converts them.

#include <optional>
#include <string>
#include <string_view>

#include "app/number_text.h"
#include "spreadsheet/spreadsheet_session.h"

namespace tarvosen::spreadsheet {

// A number as a spreadsheet program shows it in General format: at most 15
// significant digits, no trailing zeros, exponent only for very large or small
// magnitudes ("1E+20").
std::string FormatNumber(double number);

// The text form of any value ("" for empty, "TRUE", "#DIV/0!").
std::string ValueToText(const CellValue& value);

// A value as a number for arithmetic: empty 0, truth 1/0, a text that reads
// as a number; otherwise the error to give (#VALUE!, or the value's own error).
struct NumberOrError {
    double number = 0;
    std::optional<CellError> error;
};
NumberOrError ToNumber(const CellValue& value);

// Rounds half away from zero at `digits` decimals (negative: to tens,
// hundreds...) on the number's 15-digit decimal form, so ROUND(2.675, 2) is
// 2.68 as the user sees it.
double RoundDecimal(double number, int digits);

// The most characters a cell's text may have in spreadsheet programs.
inline constexpr std::size_t kMaxTextLength = 32767;
// The characters (code points) of a UTF-8 text.
std::size_t TextLength(std::string_view text);

// Text put into a cell may be 8-bit GB18030 (instrument data): anything that
// is not valid UTF-8 is converted from GB18030.
std::string ToUtf8(std::string_view text);

}  // namespace tarvosen::spreadsheet
