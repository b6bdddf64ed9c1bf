// Worksheet functions.

#include "spreadsheet/functions.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "spreadsheet/values.h"

namespace tarvosen::spreadsheet {

namespace {

using Args = std::span<const Operand>;

// Numbers of the arguments as SUM, MIN, MAX and AVERAGE take them: in areas
// only numbers count (texts, truth values and empty cells are skipped); typed
// directly, texts that read as numbers and truth values count too. The first
// error met is the result.
struct Numbers {
    std::vector<double> values;
    std::optional<CellError> error;
};

Numbers CollectNumbers(Args args, const AreaVisitor& areaValues) {
    Numbers out;
    for (const Operand& arg : args) {
        if (arg.isArea) {
            areaValues(arg, [&](const CellValue& v) {
                if (out.error) return;
                if (auto* d = std::get_if<double>(&v)) out.values.push_back(*d);
                if (auto* e = std::get_if<CellError>(&v)) out.error = *e;
            });
        } else if (!std::holds_alternative<Empty>(arg.value)) {
            NumberOrError n = ToNumber(arg.value);
            if (n.error) out.error = *n.error;
            else out.values.push_back(n.number);
        }
        if (out.error) break;
    }
    return out;
}

CellValue NumberResult(double value) {
    if (!std::isfinite(value)) return CellError::Num;
    return value;
}

// The scalar arguments as numbers, or the first error.
std::optional<CellError> Scalars(Args args, const AreaVisitor& areaValues, double* out,
                                 std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        NumberOrError n = ToNumber(ScalarOf(args[i], areaValues));
        if (n.error) return n.error;
        out[i] = n.number;
    }
    return std::nullopt;
}

template <std::size_t N, typename F>
CellValue Numeric(Args args, const AreaVisitor& areaValues, F f) {
    if (args.size() != N) return CellError::Value;
    std::array<double, N> x{};
    if (auto error = Scalars(args, areaValues, x.data(), N)) return *error;
    return f(x);
}

CellValue Sum(Args args, const AreaVisitor& av) {
    Numbers n = CollectNumbers(args, av);
    if (n.error) return *n.error;
    double sum = 0;
    for (double v : n.values) sum += v;
    return NumberResult(sum);
}

CellValue Average(Args args, const AreaVisitor& av) {
    Numbers n = CollectNumbers(args, av);
    if (n.error) return *n.error;
    if (n.values.empty()) return CellError::Div0;
    double sum = 0;
    for (double v : n.values) sum += v;
    return NumberResult(sum / static_cast<double>(n.values.size()));
}

CellValue Min(Args args, const AreaVisitor& av) {
    Numbers n = CollectNumbers(args, av);
    if (n.error) return *n.error;
    if (n.values.empty()) return 0.0;
    return *std::min_element(n.values.begin(), n.values.end());
}

CellValue Max(Args args, const AreaVisitor& av) {
    Numbers n = CollectNumbers(args, av);
    if (n.error) return *n.error;
    if (n.values.empty()) return 0.0;
    return *std::max_element(n.values.begin(), n.values.end());
}

CellValue Count(Args args, const AreaVisitor& av) {
    double count = 0;
    for (const Operand& arg : args) {
        if (arg.isArea) {
            av(arg, [&](const CellValue& v) { count += std::holds_alternative<double>(v); });
        } else if (std::holds_alternative<double>(arg.value) ||
                   std::holds_alternative<bool>(arg.value) ||
                   (std::holds_alternative<std::string>(arg.value) &&
                    ParseWholeNumber(std::get<std::string>(arg.value)))) {
            count += 1;
        }
    }
    return count;
}

std::optional<bool> Truth(const CellValue& v, CellError& error) {
    if (auto* b = std::get_if<bool>(&v)) return *b;
    if (auto* e = std::get_if<CellError>(&v)) {
        error = *e;
        return std::nullopt;
    }
    if (auto* s = std::get_if<std::string>(&v)) {
        std::string upper;
        for (char c : *s) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (upper == "TRUE") return true;
        if (upper == "FALSE") return false;
        error = CellError::Value;
        return std::nullopt;
    }
    NumberOrError n = ToNumber(v);
    return n.number != 0;
}

CellValue If(Args args, const AreaVisitor& av) {
    if (args.size() < 2 || args.size() > 3) return CellError::Value;
    CellError error = CellError::Value;
    auto condition = Truth(ScalarOf(args[0], av), error);
    if (!condition) return error;
    if (*condition) {
        CellValue v = ScalarOf(args[1], av);
        return std::holds_alternative<Empty>(v) ? CellValue(0.0) : v;
    }
    if (args.size() < 3) return false;
    CellValue v = ScalarOf(args[2], av);
    return std::holds_alternative<Empty>(v) ? CellValue(0.0) : v;
}

CellValue AndOr(Args args, const AreaVisitor& av, bool isAnd) {
    bool result = isAnd;
    bool any = false;
    for (const Operand& arg : args) {
        std::vector<CellValue> values;
        if (arg.isArea) av(arg, [&](const CellValue& v) {
            if (!std::holds_alternative<std::string>(v) && !std::holds_alternative<Empty>(v))
                values.push_back(v);
        });
        else values.push_back(arg.value);
        for (const CellValue& v : values) {
            CellError error = CellError::Value;
            auto t = Truth(v, error);
            if (!t) return error;
            any = true;
            result = isAnd ? (result && *t) : (result || *t);
        }
    }
    if (!any) return CellError::Value;
    return result;
}

double TruncDigits(double x, double digits) {
    double p = std::pow(10.0, std::trunc(digits));
    return std::trunc(x * p) / p;
}

struct Function {
    std::string_view name;
    CellValue (*call)(Args, const AreaVisitor&);
};

const std::array kFunctions{
    Function{"SUM", Sum},
    Function{"AVERAGE", Average},
    Function{"MIN", Min},
    Function{"MAX", Max},
    Function{"COUNT", Count},
    Function{"IF", If},
    Function{"AND", [](Args a, const AreaVisitor& av) { return AndOr(a, av, true); }},
    Function{"OR", [](Args a, const AreaVisitor& av) { return AndOr(a, av, false); }},
    Function{"NOT",
             [](Args a, const AreaVisitor& av) -> CellValue {
                 if (a.size() != 1) return CellError::Value;
                 CellError error = CellError::Value;
                 auto t = Truth(ScalarOf(a[0], av), error);
                 if (!t) return error;
                 return !*t;
             }},
    Function{"ABS",
             [](Args a, const AreaVisitor& av) {
                 return Numeric<1>(a, av, [](auto x) -> CellValue { return std::fabs(x[0]); });
             }},
    Function{"INT",
             [](Args a, const AreaVisitor& av) {
                 return Numeric<1>(a, av, [](auto x) -> CellValue { return std::floor(x[0]); });
             }},
    Function{"ROUND",
             [](Args a, const AreaVisitor& av) {
                 return Numeric<2>(a, av, [](auto x) -> CellValue {
                     return RoundDecimal(x[0], static_cast<int>(std::trunc(x[1])));
                 });
             }},
    Function{"ROUNDDOWN",
             [](Args a, const AreaVisitor& av) {
                 return Numeric<2>(a, av, [](auto x) -> CellValue {
                     // Through the 15-digit form first, so 0.3*3 rounds down to 0.9.
                     double v = std::strtod(FormatNumber(x[0]).c_str(), nullptr);
                     return NumberResult(TruncDigits(v, x[1]));
                 });
             }},
    Function{"TRUNC",
             [](Args a, const AreaVisitor& av) -> CellValue {
                 if (a.size() == 1)
                     return Numeric<1>(a, av, [](auto x) -> CellValue { return std::trunc(x[0]); });
                 return Numeric<2>(a, av, [](auto x) -> CellValue {
                     return NumberResult(TruncDigits(x[0], x[1]));
                 });
             }},
    Function{"MOD",
             [](Args a, const AreaVisitor& av) {
                 return Numeric<2>(a, av, [](auto x) -> CellValue {
                     if (x[1] == 0) return CellError::Div0;
                     return NumberResult(x[0] - x[1] * std::floor(x[0] / x[1]));
                 });
             }},
    Function{"SQRT",
             [](Args a, const AreaVisitor& av) {
                 return Numeric<1>(a, av, [](auto x) -> CellValue {
                     if (x[0] < 0) return CellError::Num;
                     return std::sqrt(x[0]);
                 });
             }},
    Function{"POWER",
             [](Args a, const AreaVisitor& av) {
                 return Numeric<2>(a, av, [](auto x) -> CellValue {
                     return NumberResult(std::pow(x[0], x[1]));
                 });
             }},
    Function{"SIGN",
             [](Args a, const AreaVisitor& av) {
                 return Numeric<1>(a, av, [](auto x) -> CellValue {
                     return static_cast<double>((x[0] > 0) - (x[0] < 0));
                 });
             }},
    Function{"PI",
             [](Args a, const AreaVisitor&) -> CellValue {
                 if (!a.empty()) return CellError::Value;
                 return std::numbers::pi;
             }},
    Function{"SIN",
             [](Args a, const AreaVisitor& av) {
                 return Numeric<1>(a, av, [](auto x) -> CellValue { return std::sin(x[0]); });
             }},
    Function{"COS",
             [](Args a, const AreaVisitor& av) {
                 return Numeric<1>(a, av, [](auto x) -> CellValue { return std::cos(x[0]); });
             }},
    Function{"TAN",
             [](Args a, const AreaVisitor& av) {
                 return Numeric<1>(a, av, [](auto x) -> CellValue { return std::tan(x[0]); });
             }},
    Function{"ATAN",
             [](Args a, const AreaVisitor& av) {
                 return Numeric<1>(a, av, [](auto x) -> CellValue { return std::atan(x[0]); });
             }},
    Function{"RADIANS",
             [](Args a, const AreaVisitor& av) {
                 return Numeric<1>(a, av, [](auto x) -> CellValue {
                     return x[0] * std::numbers::pi / 180.0;
                 });
             }},
    Function{"DEGREES",
             [](Args a, const AreaVisitor& av) {
                 return Numeric<1>(a, av, [](auto x) -> CellValue {
                     return x[0] * 180.0 / std::numbers::pi;
                 });
             }},
};

}  // namespace

std::uint32_t FindFunction(std::string_view upperName) {
    for (std::size_t i = 0; i < kFunctions.size(); ++i)
        if (kFunctions[i].name == upperName) return static_cast<std::uint32_t>(i);
    return kUnknownFunction;
}

std::string_view FunctionName(std::uint32_t index) {
    return index < kFunctions.size() ? kFunctions[index].name : std::string_view();
}

CellValue CallFunction(std::uint32_t index, std::span<const Operand> args,
                       const AreaVisitor& areaValues) {
    if (index >= kFunctions.size()) return CellError::Name;
    return kFunctions[index].call(args, areaValues);
}

CellValue ScalarOf(const Operand& operand, const AreaVisitor& areaValues) {
    if (!operand.isArea) return operand.value;
    const CellRect& r = operand.rect;
    if (r.firstRow != r.lastRow || r.firstColumn != r.lastColumn) return CellError::Value;
    CellValue value;
    areaValues(operand, [&](const CellValue& v) { value = v; });
    return value;
}

}  // namespace tarvosen::spreadsheet
