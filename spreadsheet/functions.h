#pragma once
// The worksheet functions the formula engine knows, and the operands they
// work on.

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

#include "spreadsheet/spreadsheet_session.h"

namespace tarvosen::spreadsheet {

struct SheetData;

// A value on the evaluation stack: a single value, or an area of cells
// (function arguments such as SUM(B12:B40)).
struct Operand {
    CellValue value;
    bool isArea = false;
    SheetData* sheet = nullptr;
    CellRect rect;
};

// Calls `visit` with the value of every existing cell of an area.
using AreaVisitor = std::function<void(const Operand& area,
                                       const std::function<void(const CellValue&)>& visit)>;

inline constexpr std::uint32_t kUnknownFunction = 0xFFFFFFFFu;

// Index of the function named `upperName`, or kUnknownFunction.
std::uint32_t FindFunction(std::string_view upperName);
std::string_view FunctionName(std::uint32_t index);

// Runs function `index` on `args`. Errors are values (#VALUE!, #DIV/0!, ...),
// an unknown function gives #NAME?.
CellValue CallFunction(std::uint32_t index, std::span<const Operand> args,
                       const AreaVisitor& areaValues);

// The value of a single operand: an area of one cell gives that cell's value,
// a larger area #VALUE!.
CellValue ScalarOf(const Operand& operand, const AreaVisitor& areaValues);

}  // namespace tarvosen::spreadsheet
