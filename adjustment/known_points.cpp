#include "adjustment/known_points.h"

#include <cmath>
#include <string_view>

#include "app/errors.h"
#include "app/number_text.h"
#include "app/workspace.h"

namespace tarvosen {

namespace {

// Half a millimetre: coordinates written to the millimetre that agree there.
constexpr double kSameCoordinates = 0.0005;

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const auto comma = line.find(',');
        fields.push_back(Trim(line.substr(0, comma), Blanks::WhiteSpace));
        if (comma == std::string_view::npos) return fields;
        line.remove_prefix(comma + 1);
    }
}

bool IsNumber(std::string_view text) { return ParseWholeNumber(text, Blanks::WhiteSpace).has_value(); }

}  // namespace

std::vector<KnownPoint> ReadKnownPointFile(const std::string& path, LineAccount* account) {
    std::vector<std::string> lines = SplitLines(ReadFileBytes(path));
    if (!lines.empty() && lines.front().starts_with("\xEF\xBB\xBF")) lines.front().erase(0, 3);
    LineAccount unused;
    LineAccount& counted = account ? *account : unused;
    counted.beginFile(path);
    std::vector<KnownPoint> points;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = Trim(lines[i], Blanks::WhiteSpace);
        if (line.empty()) {
            counted.passedOver(i + 1, kBlankLines);
            continue;
        }
        const auto f = Fields(line);
        const bool point = f.size() >= 3 && f.size() <= 5 && !f[0].empty() && IsNumber(f[1]) &&
                           IsNumber(f[2]) && (f.size() < 4 || f[3].empty() || IsNumber(f[3]));
        if (!point)
            throw ConversionError({msg::kNotKnownPoint,
                                   "%1, line %2: \"%3\" is no known point (a name, X, Y and "
                                   "optionally Z, separated by commas). Nothing was written.",
                                   {path, std::to_string(i + 1), std::string(line)}});
        points.push_back({std::string(f[0]), std::string(f[1]), std::string(f[2]), i + 1});
        counted.used(i + 1);
    }
    return points;
}

bool SameCoordinates(const KnownPoint& a, const KnownPoint& b) {
    const auto near = [](const std::string& p, const std::string& q) {
        return std::fabs(LeadingDecimal(p) - LeadingDecimal(q)) <= kSameCoordinates;
    };
    return near(a.x, b.x) && near(a.y, b.y);
}

}  // namespace tarvosen
