#include "zeiss/fixed_columns.h"

#include <algorithm>
#include <cstdio>

#include "app/errors.h"

namespace tarvosen::zeiss {

std::string FixedColumns::columns(std::size_t first, std::size_t last) const {
    const std::size_t width = last - first + 1;
    if (last <= text_.size()) return std::string(text_.substr(first - 1, width));
    std::string out(width, ' ');
    if (first <= text_.size()) out.replace(0, text_.size() - first + 1, text_.substr(first - 1));
    return out;
}

std::string_view FixedColumns::present(std::size_t first, std::size_t last) const {
    if (first > text_.size()) return {};
    return text_.substr(first - 1, std::min(last, text_.size()) - first + 1);
}

bool FixedColumns::startsAt(std::size_t first, std::string_view expected) const {
    return present(first, first + expected.size() - 1) == expected;
}

bool FixedColumns::isBlank(std::size_t first, std::size_t last) const {
    return present(first, last).find_first_not_of(' ') == std::string_view::npos;
}

void FixedColumns::notANumber(std::size_t first, std::size_t last, int id,
                              const char* english) const {
    throw ConversionError({id, english,
                           {std::to_string(line_), std::to_string(first), std::to_string(last),
                            columns(first, last)}});
}

double FixedColumns::number(std::size_t first, std::size_t last) const {
    const std::optional<double> v = ParseWholeNumber(present(first, last));
    if (!v)
        notANumber(first, last, msg::kColumnsNotNumber,
                   "Line %1, columns %2-%3: \"%4\" is not a number");
    return *v;
}

double FixedColumns::numberOrZero(std::size_t first, std::size_t last) const {
    return isBlank(first, last) ? 0.0 : number(first, last);
}

long FixedColumns::integer(std::size_t first, std::size_t last) const {
    const std::optional<long> v = ParseWholeInteger(present(first, last));
    if (!v)
        notANumber(first, last, msg::kColumnsNotInteger,
                   "Line %1, columns %2-%3: \"%4\" is not an integer");
    return *v;
}

void AppendRight(std::string& out, std::string_view text, std::size_t width) {
    if (text.size() < width) out.append(width - text.size(), ' ');
    out.append(text);
}

void AppendLeft(std::string& out, std::string_view text, std::size_t width) {
    out.append(text);
    if (text.size() < width) out.append(width - text.size(), ' ');
}

void AppendZeroPadded(std::string& out, long value, int width) {
    char buf[32];
    const int n = std::snprintf(buf, sizeof buf, "%0*ld", width, value);
    out.append(buf, static_cast<std::size_t>(n));
}

void AppendRecordFields(std::string& out, const RecordFields& fields, std::size_t valueWidth,
                        bool unitsLeftAligned) {
    for (const auto& f : fields) {
        AppendRight(out, f.type, 2);
        out += ' ';
        AppendRight(out, f.value, valueWidth);
        out += ' ';
        if (unitsLeftAligned)
            AppendLeft(out, f.unit, 4);
        else
            AppendRight(out, f.unit, 4);
        out += '|';
    }
}

}  // namespace tarvosen::zeiss
