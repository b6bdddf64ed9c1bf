// Formula lexing, compiling to postfix code, rendering and shifting.

#include "spreadsheet/formula.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <iterator>

#include "spreadsheet/functions.h"
#include "spreadsheet/values.h"

namespace tarvosen::spreadsheet {

namespace {

// Parentheses and function calls may nest this deep; the parser recurses
// only through them.
constexpr int kMaxNesting = 64;

[[noreturn]] void Fail(std::string_view formula, const std::string& what) {
    throw SpreadsheetError("Formula \"" + std::string(formula) + "\": " + what);
}

bool IsNameChar(char c) {
    auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') ||
           c == '_' || c == '.' || c == '$' || u >= 0x80;
}

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

std::string ToUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = Upper(c);
    return out;
}

// "$AB$12" -> RefEnd, or false.
bool ParseRefEnd(std::string_view text, RefEnd& end) {
    std::size_t i = 0;
    end.absoluteColumn = i < text.size() && text[i] == '$';
    if (end.absoluteColumn) ++i;
    long column = 0;
    std::size_t letters = 0;
    while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i]))) {
        column = column * 26 + (Upper(text[i]) - 'A' + 1);
        if (++letters > 3) return false;
        ++i;
    }
    if (letters == 0) return false;
    end.absoluteRow = i < text.size() && text[i] == '$';
    if (end.absoluteRow) ++i;
    long row = 0;
    std::size_t digits = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        row = row * 10 + (text[i] - '0');
        if (++digits > 7) return false;
        ++i;
    }
    if (digits == 0 || i != text.size() || row < 1 || row > kMaxRows || column > kMaxColumns)
        return false;
    end.row = static_cast<int>(row);
    end.column = static_cast<int>(column);
    return true;
}

const std::array<std::pair<std::string_view, CellError>, 7> kErrorLiterals{{
    {"#DIV/0!", CellError::Div0},
    {"#VALUE!", CellError::Value},
    {"#REF!", CellError::Ref},
    {"#NAME?", CellError::Name},
    {"#NUM!", CellError::Num},
    {"#N/A", CellError::NA},
    {"#NULL!", CellError::Value},
}};

class Lexer {
public:
    Lexer(std::string_view formula, const SheetResolver& resolve)
        : text_(formula), resolve_(resolve) {}

    std::vector<Token> Run() {
        // Lexed into a reused buffer, then kept in a vector of the exact size:
        // one allocation per formula, however many tokens it has.
        thread_local std::vector<Token> scratch;
        scratch.clear();
        while (true) {
            while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\n' ||
                                           text_[pos_] == '\r' || text_[pos_] == '\t'))
                ++pos_;
            if (pos_ >= text_.size()) break;
            scratch.push_back(Next(scratch));
        }
        return std::vector<Token>(std::make_move_iterator(scratch.begin()),
                                  std::make_move_iterator(scratch.end()));
    }

private:
    Token Next(const std::vector<Token>& before) {
        char c = text_[pos_];
        Token t;
        if (std::isdigit(static_cast<unsigned char>(c)) ||
            (c == '.' && pos_ + 1 < text_.size() &&
             std::isdigit(static_cast<unsigned char>(text_[pos_ + 1])))) {
            // A number, unless digits are a row range like 1:3, which we do not support.
            std::size_t start = pos_;
            while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_])))
                ++pos_;
            if (pos_ < text_.size() && text_[pos_] == '.') {
                ++pos_;
                while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_])))
                    ++pos_;
            }
            if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
                std::size_t save = pos_++;
                if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) ++pos_;
                if (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
                    while (pos_ < text_.size() &&
                           std::isdigit(static_cast<unsigned char>(text_[pos_])))
                        ++pos_;
                } else {
                    pos_ = save;
                }
            }
            t.kind = TokenKind::Number;
            t.text = std::string(text_.substr(start, pos_ - start));
            auto value = ParseWholeNumber(t.text);
            if (!value) Fail(text_, "bad number \"" + t.text + "\"");
            t.number = *value;
            return t;
        }
        if (c == '"') {
            ++pos_;
            t.kind = TokenKind::Text;
            while (true) {
                if (pos_ >= text_.size()) Fail(text_, "a text is not closed with \"");
                if (text_[pos_] == '"') {
                    if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
                        t.text += '"';
                        pos_ += 2;
                        continue;
                    }
                    ++pos_;
                    break;
                }
                t.text += text_[pos_++];
            }
            return t;
        }
        if (c == '#') {
            for (auto& [spelling, error] : kErrorLiterals) {
                if (ToUpper(text_.substr(pos_, spelling.size())) == spelling) {
                    pos_ += spelling.size();
                    t.kind = TokenKind::Error;
                    t.error = error;
                    t.text = std::string(spelling);
                    return t;
                }
            }
            Fail(text_, "unknown error value at \"" + std::string(text_.substr(pos_)) + "\"");
        }
        if (c == '\'') {
            // 'Sheet name'!A1
            std::string name;
            ++pos_;
            while (true) {
                if (pos_ >= text_.size()) Fail(text_, "a sheet name is not closed with '");
                if (text_[pos_] == '\'') {
                    if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
                        name += '\'';
                        pos_ += 2;
                        continue;
                    }
                    ++pos_;
                    break;
                }
                name += text_[pos_++];
            }
            if (pos_ >= text_.size() || text_[pos_] != '!')
                Fail(text_, "a quoted sheet name must be followed by !");
            ++pos_;
            return SheetReference(name);
        }
        if (IsNameChar(c)) {
            std::size_t start = pos_;
            while (pos_ < text_.size() && IsNameChar(text_[pos_])) ++pos_;
            std::string_view word = text_.substr(start, pos_ - start);
            if (pos_ < text_.size() && text_[pos_] == '!') {
                ++pos_;
                return SheetReference(word);
            }
            RefEnd end;
            if (ParseRefEnd(word, end)) return Reference(nullptr, end);
            std::size_t after = pos_;
            while (after < text_.size() && text_[after] == ' ') ++after;
            if (after < text_.size() && text_[after] == '(') {
                pos_ = after;
                t.kind = TokenKind::Function;
                t.text = ToUpper(word);
                return t;
            }
            std::string upper = ToUpper(word);
            if (upper == "TRUE" || upper == "FALSE") {
                t.kind = TokenKind::Bool;
                t.number = upper == "TRUE" ? 1 : 0;
                t.text = upper;
                return t;
            }
            t.kind = TokenKind::Name;
            t.text = std::string(word);
            return t;
        }
        ++pos_;
        switch (c) {
            case '(': t.kind = TokenKind::LParen; t.text = "("; return t;
            case ')': t.kind = TokenKind::RParen; t.text = ")"; return t;
            case ',': t.kind = TokenKind::Comma; t.text = ","; return t;
            case '+': case '-': case '*': case '/': case '^': case '&': case '=': case '%':
                t.kind = TokenKind::Operator;
                t.text = std::string(1, c);
                return t;
            case '<':
                t.kind = TokenKind::Operator;
                t.text = "<";
                if (pos_ < text_.size() && (text_[pos_] == '=' || text_[pos_] == '>'))
                    t.text += text_[pos_++];
                return t;
            case '>':
                t.kind = TokenKind::Operator;
                t.text = ">";
                if (pos_ < text_.size() && text_[pos_] == '=') t.text += text_[pos_++];
                return t;
            default:
                break;
        }
        (void)before;
        Fail(text_, std::string("unexpected character '") + c + "'");
    }

    Token SheetReference(std::string_view name) {
        SheetData* sheet = resolve_ ? resolve_(name) : nullptr;
        if (!sheet) Fail(text_, "no sheet named \"" + std::string(name) + "\"");
        std::size_t start = pos_;
        while (pos_ < text_.size() && IsNameChar(text_[pos_])) ++pos_;
        RefEnd end;
        if (!ParseRefEnd(text_.substr(start, pos_ - start), end))
            Fail(text_, "a sheet name must be followed by a cell address");
        return Reference(sheet, end);
    }

    // A cell reference, widened to an area when ":" and a second cell follow.
    Token Reference(SheetData* sheet, const RefEnd& first) {
        Token t;
        t.kind = TokenKind::Reference;
        t.sheet = sheet;
        t.first = first;
        t.last = first;
        std::size_t save = pos_;
        if (pos_ < text_.size() && text_[pos_] == ':') {
            ++pos_;
            std::size_t start = pos_;
            while (pos_ < text_.size() && IsNameChar(text_[pos_])) ++pos_;
            RefEnd last;
            if (ParseRefEnd(text_.substr(start, pos_ - start), last)) {
                t.isArea = true;
                t.last = last;
                return t;
            }
            pos_ = save;
        }
        return t;
    }

    std::string_view text_;
    const SheetResolver& resolve_;
    std::size_t pos_ = 0;
};

// Recursive descent over the tokens, emitting postfix code. Precedence from
// loosest: comparison, &, + -, * /, ^, unary sign, %.
class Compiler {
public:
    Compiler(std::string_view text, Formula& formula) : text_(text), f_(formula) {}

    void Run() {
        if (f_.tokens.empty()) Fail(text_, "the formula is empty");
        Comparison(0);
        if (pos_ != f_.tokens.size())
            Fail(text_, "unexpected \"" + f_.tokens[pos_].text + "\"");
    }

private:
    bool IsOp(std::string_view op) const {
        return pos_ < f_.tokens.size() && f_.tokens[pos_].kind == TokenKind::Operator &&
               f_.tokens[pos_].text == op;
    }
    void Emit(OpCode code, std::uint32_t index = 0, std::uint16_t argc = 0) {
        f_.code.push_back(Op{code, argc, index});
    }

    void Comparison(int depth) {
        Concat(depth);
        while (true) {
            static const std::array<std::pair<std::string_view, OpCode>, 6> ops{{
                {"=", OpCode::Equal},
                {"<>", OpCode::NotEqual},
                {"<", OpCode::Less},
                {"<=", OpCode::LessEqual},
                {">", OpCode::Greater},
                {">=", OpCode::GreaterEqual},
            }};
            const std::pair<std::string_view, OpCode>* found = nullptr;
            for (auto& op : ops)
                if (IsOp(op.first)) found = &op;
            if (!found) return;
            ++pos_;
            Concat(depth);
            Emit(found->second);
        }
    }
    void Concat(int depth) {
        Additive(depth);
        while (IsOp("&")) {
            ++pos_;
            Additive(depth);
            Emit(OpCode::Concat);
        }
    }
    void Additive(int depth) {
        Term(depth);
        while (IsOp("+") || IsOp("-")) {
            bool add = IsOp("+");
            ++pos_;
            Term(depth);
            Emit(add ? OpCode::Add : OpCode::Subtract);
        }
    }
    void Term(int depth) {
        Power(depth);
        while (IsOp("*") || IsOp("/")) {
            bool multiply = IsOp("*");
            ++pos_;
            Power(depth);
            Emit(multiply ? OpCode::Multiply : OpCode::Divide);
        }
    }
    void Power(int depth) {
        Unary(depth);
        while (IsOp("^")) {
            ++pos_;
            Unary(depth);
            Emit(OpCode::Power);
        }
    }
    void Unary(int depth) {
        int negations = 0;
        while (IsOp("-") || IsOp("+")) {
            if (IsOp("-")) ++negations;
            ++pos_;
        }
        Postfix(depth);
        if (negations % 2 == 1) Emit(OpCode::Negate);
    }
    void Postfix(int depth) {
        Primary(depth);
        while (IsOp("%")) {
            ++pos_;
            Emit(OpCode::Percent);
        }
    }
    void Primary(int depth) {
        if (pos_ >= f_.tokens.size()) Fail(text_, "the formula ends too early");
        const Token& t = f_.tokens[pos_];
        switch (t.kind) {
            case TokenKind::Number:
            case TokenKind::Text:
            case TokenKind::Bool:
            case TokenKind::Error:
            case TokenKind::Reference:
            case TokenKind::Name:
                Emit(OpCode::Push, static_cast<std::uint32_t>(pos_++));
                return;
            case TokenKind::LParen: {
                if (depth >= kMaxNesting) Fail(text_, "parentheses nest too deeply");
                ++pos_;
                Comparison(depth + 1);
                Expect(TokenKind::RParen, ")");
                return;
            }
            case TokenKind::Function: {
                if (depth >= kMaxNesting) Fail(text_, "function calls nest too deeply");
                std::uint32_t function = FindFunction(t.text);
                ++pos_;
                Expect(TokenKind::LParen, "(");
                std::uint16_t argc = 0;
                if (pos_ < f_.tokens.size() && f_.tokens[pos_].kind == TokenKind::RParen) {
                    ++pos_;
                } else {
                    while (true) {
                        if (pos_ < f_.tokens.size() && (f_.tokens[pos_].kind == TokenKind::Comma ||
                                                        f_.tokens[pos_].kind == TokenKind::RParen))
                            Emit(OpCode::Missing);
                        else
                            Comparison(depth + 1);
                        if (++argc > 255) Fail(text_, "too many arguments");
                        if (pos_ < f_.tokens.size() && f_.tokens[pos_].kind == TokenKind::Comma) {
                            ++pos_;
                            continue;
                        }
                        Expect(TokenKind::RParen, ")");
                        break;
                    }
                }
                Emit(OpCode::Call, function, argc);
                return;
            }
            default:
                Fail(text_, "unexpected \"" + t.text + "\"");
        }
    }
    void Expect(TokenKind kind, std::string_view what) {
        if (pos_ >= f_.tokens.size() || f_.tokens[pos_].kind != kind)
            Fail(text_, "\"" + std::string(what) + "\" expected");
        ++pos_;
    }

    std::string_view text_;
    Formula& f_;
    std::size_t pos_ = 0;
};

std::string RenderEnd(const RefEnd& end) {
    std::string out;
    if (end.absoluteColumn) out += '$';
    out += ColumnName(end.column);
    if (end.absoluteRow) out += '$';
    out += std::to_string(end.row);
    return out;
}

bool NeedsQuotes(std::string_view name) {
    if (name.empty()) return true;
    if (std::isdigit(static_cast<unsigned char>(name[0]))) return true;
    // Quoting is always allowed; plain ASCII names of letters, digits and _ do without.
    for (char c : name)
        if (!IsNameChar(c) || c == '$' || c == '.' || static_cast<unsigned char>(c) >= 0x80)
            return true;
    RefEnd end;
    return ParseRefEnd(name, end);
}

}  // namespace

Formula CompileFormula(std::string_view text, const SheetResolver& resolve) {
    std::string_view body = text;
    if (!body.empty() && body.front() == '=') body.remove_prefix(1);
    Formula formula;
    formula.tokens = Lexer(body, resolve).Run();
    formula.code.reserve(formula.tokens.size());  // never more ops than tokens
    Compiler(body, formula).Run();
    return formula;
}

std::string RenderFormula(const Formula& formula, const SheetNamer& name) {
    if (formula.opaque) return "=" + formula.opaqueText;
    std::string out = "=";
    for (const Token& t : formula.tokens) {
        switch (t.kind) {
            case TokenKind::Text: {
                out += '"';
                for (char c : t.text) {
                    if (c == '"') out += '"';
                    out += c;
                }
                out += '"';
                break;
            }
            case TokenKind::Reference:
                if (t.sheet) {
                    std::string sheet = name(t.sheet);
                    if (NeedsQuotes(sheet)) {
                        out += '\'';
                        for (char c : sheet) {
                            if (c == '\'') out += '\'';
                            out += c;
                        }
                        out += '\'';
                    } else {
                        out += sheet;
                    }
                    out += '!';
                }
                out += RenderEnd(t.first);
                if (t.isArea) out += ":" + RenderEnd(t.last);
                break;
            default:
                out += t.text;
        }
    }
    return out;
}

Formula ShiftFormula(const Formula& formula, int rows, int columns) {
    Formula shifted = formula;
    if (formula.opaque) return shifted;
    auto shiftEnd = [&](RefEnd& end) {
        if (!end.absoluteRow) end.row += rows;
        if (!end.absoluteColumn) end.column += columns;
        return end.row >= 1 && end.row <= kMaxRows && end.column >= 1 &&
               end.column <= kMaxColumns;
    };
    for (Token& t : shifted.tokens) {
        if (t.kind != TokenKind::Reference) continue;
        bool ok = shiftEnd(t.first);
        if (t.isArea) ok = shiftEnd(t.last) && ok;
        else t.last = t.first;
        if (!ok) {
            Token error;
            error.kind = TokenKind::Error;
            error.error = CellError::Ref;
            error.text = "#REF!";
            error.sheet = t.sheet;  // rendered as #REF! either way
            t = error;
        }
    }
    return shifted;
}

}  // namespace tarvosen::spreadsheet
