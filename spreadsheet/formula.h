#pragma once
// Formulas: lexed into tokens (kept for rendering and for shifting relative
// references when a formula is copied) and compiled once into postfix code
// that the evaluator runs with an explicit value stack.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/spreadsheet_session.h"

namespace tarvosen::spreadsheet {

struct SheetData;

// One end of a reference. `sheet` is null for the formula's own sheet.
struct RefEnd {
    int row = 1;
    int column = 1;
    bool absoluteRow = false;
    bool absoluteColumn = false;
};

enum class TokenKind : std::uint8_t {
    Number,    // number (text keeps the spelling)
    Text,      // "..." literal, text holds the unquoted value
    Bool,      // TRUE / FALSE
    Error,     // #REF! ...
    Reference, // A1 or A1:B2 (area when isArea)
    Function,  // name, followed by an LParen token
    Name,      // any other identifier (evaluates to #NAME?)
    Operator,  // + - * / ^ & = <> < > <= >= %
    LParen,
    RParen,
    Comma,
};

struct Token {
    TokenKind kind = TokenKind::Number;
    std::string text;  // spelling, literal value, function name (upper case) or operator
    double number = 0;
    CellError error = CellError::Value;
    SheetData* sheet = nullptr;  // Reference on another sheet
    bool isArea = false;
    RefEnd first;
    RefEnd last;
};

enum class OpCode : std::uint8_t {
    Push,     // push the operand token `index`
    Negate,
    Percent,
    Add,
    Subtract,
    Multiply,
    Divide,
    Power,
    Concat,
    Equal,
    NotEqual,
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    Call,     // call function `index` (see functions.h) with `argc` arguments
    Missing,  // an omitted argument: IF(A1,,1)
};

struct Op {
    OpCode code = OpCode::Push;
    std::uint16_t argc = 0;
    std::uint32_t index = 0;
};

struct Formula {
    std::vector<Token> tokens;
    std::vector<Op> code;
    // True when the formula could not be compiled (a template's formula we do
    // not understand): it is kept verbatim with the result stored in the file.
    bool opaque = false;
    std::string opaqueText;
};

// Finds a sheet by the name written in a formula; null when there is none.
using SheetResolver = std::function<SheetData*(std::string_view name)>;
// The name a reference to `sheet` is written with.
using SheetNamer = std::function<std::string(const SheetData* sheet)>;

// Compiles `text` (with or without its leading "="). Throws SpreadsheetError
// describing the fault when it is not a formula we can evaluate.
Formula CompileFormula(std::string_view text, const SheetResolver& resolve);

// The formula as text with its leading "=".
std::string RenderFormula(const Formula& formula, const SheetNamer& name);

// The formula moved by (rows, columns): relative references shift, absolute
// ones stay; a reference shifted off the sheet becomes #REF!.
Formula ShiftFormula(const Formula& formula, int rows, int columns);

}  // namespace tarvosen::spreadsheet
