#include "points/point_layout.h"

#include <algorithm>
#include <vector>

#include "app/trim.h"
#include "points/point_record.h"
#include "points/text_lines.h"
#include "points/point_list_options.h"

namespace tarvosen::points {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t SkipDigits(std::string_view s, std::size_t i) {
    while (i < s.size() && IsDigit(s[i])) ++i;
    return i;
}

constexpr std::size_t kShownLines = 3;

// Whether the rest of a blank-separated line, after name, X, Y and Z, holds
// more than a code: further fields among which a number ("Rb 2.384 HD 23.21"
// of a levelling record). A code of several words ("KERB STONE") does not.
bool HoldsMoreThanACode(std::string_view rest) {
    bool further = false, number = false;
    std::size_t i = 0;
    while (i < rest.size()) {
        while (i < rest.size() && IsBlank(rest[i], Blanks::SpacesAndTabs)) ++i;
        const std::size_t start = i;
        while (i < rest.size() && !IsBlank(rest[i], Blanks::SpacesAndTabs)) ++i;
        if (i == start) break;
        if (start > 0) further = true;
        number = number || IsNumberText(rest.substr(start, i - start));
    }
    return further && number;
}
constexpr std::size_t kShownWidth = 60;

// A line as the refusal shows it: cut after at most kShownWidth bytes, only
// behind a plain ASCII byte so that no GB or UTF-8 character is split.
std::string Shown(std::string_view line) {
    if (line.size() <= kShownWidth) return std::string(line);
    std::size_t end = kShownWidth;
    while (end > 0 && static_cast<unsigned char>(line[end - 1]) >= 0x80) --end;
    if (end == 0) return std::string(line);
    return std::string(line.substr(0, end)) + "...";
}

std::string LayoutWords(PointListLayout layout, const MessageTexts& texts) {
    return layout == PointListLayout::Cass
               ? texts(msg::kCassLayout, "the CASS layout (name, code, east Y, north X, height)")
               : texts(msg::kOwnLayout, "the program's own layout (name, X, Y, Z, code)");
}

}  // namespace

LineFields SplitPointLine(std::string_view line, FieldSeparator separator) {
    LineFields out;
    if (separator == FieldSeparator::Comma) {
        for (int i = 0; i < 4; ++i) {
            const auto comma = line.find(',');
            out.field[i] = line.substr(0, comma);
            ++out.count;
            if (comma == std::string_view::npos) return out;
            line.remove_prefix(comma + 1);
            ++out.commas;
        }
        out.field[4] = line;
        ++out.count;
        out.commas += static_cast<int>(std::count(line.begin(), line.end(), ','));
        return out;
    }
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < line.size() && IsBlank(line[i], Blanks::SpacesAndTabs)) ++i;
    };
    skipBlanks();
    for (int f = 0; f < 4 && i < line.size(); ++f) {
        const std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i], Blanks::SpacesAndTabs)) ++i;
        out.field[f] = line.substr(start, i - start);
        ++out.count;
        skipBlanks();
    }
    if (i < line.size()) {
        std::size_t end = line.size();
        while (end > i && IsBlank(line[end - 1], Blanks::SpacesAndTabs)) --end;
        out.field[4] = line.substr(i, end - i);
        ++out.count;
    }
    return out;
}

bool IsNumberText(std::string_view s) {
    s = Trim(s, Blanks::SpacesAndTabs);
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    const std::size_t intEnd = SkipDigits(s, i);
    std::size_t end = intEnd;
    bool digits = intEnd > i;
    if (end < s.size() && s[end] == '.') {
        const std::size_t fracEnd = SkipDigits(s, end + 1);
        digits = digits || fracEnd > end + 1;
        end = fracEnd;
    }
    if (!digits) return false;
    if (end < s.size() && (s[end] == 'e' || s[end] == 'E')) {
        std::size_t e = end + 1;
        if (e < s.size() && (s[e] == '+' || s[e] == '-')) ++e;
        const std::size_t expEnd = SkipDigits(s, e);
        if (expEnd == e) return false;
        end = expEnd;
    }
    return end == s.size();
}

bool FitsLayout(const LineFields& l, PointListLayout layout, FieldSeparator separator) {
    const auto& f = l.field;
    if (layout != PointListLayout::Cass)
        return l.count >= 4 && IsNumberText(f[1]) && IsNumberText(f[2]) && IsNumberText(f[3]);
    if (l.count == 5) return IsNumberText(f[2]) && IsNumberText(f[3]) && IsNumberText(f[4]);
    // Blanks cannot keep an empty code in its place: four fields are a point without one.
    return separator == FieldSeparator::Blanks && l.count == 4 && IsNumberText(f[1]) &&
           IsNumberText(f[2]) && IsNumberText(f[3]);
}

void AssignFields(const LineFields& l, PointListLayout layout, FieldSeparator separator,
                  PointRecord& r) {
    const auto& f = l.field;
    r.name.assign(f[0]);
    if (layout != PointListLayout::Cass) {
        r.x.assign(f[1]);
        r.y.assign(f[2]);
        r.z.assign(f[3]);
        r.code.assign(f[4]);
    } else if (separator == FieldSeparator::Blanks && l.count < 5) {
        r.code.clear();
        r.y.assign(f[1]);
        r.x.assign(f[2]);
        r.z.assign(f[3]);
    } else {
        r.code.assign(f[1]);
        r.y.assign(f[2]);
        r.x.assign(f[3]);
        r.z.assign(f[4]);
    }
}

LayoutDecision DecidePointListLayout(const Workspace& text, PointListLayout wanted,
                                     const MessageTexts& texts) {
    using enum PointListLayout;
    using enum FieldSeparator;
    // fits[layout][separator]: lines that hold a point that way and nothing
    // more (a Nikon raw SS record has its point, height and distance where a
    // point list has name, X and Y, but further fields after them).
    std::size_t fits[2][2] = {};
    std::size_t ownCommaLoose = 0;  // three or four commas and a number among X, Y and Z
    std::size_t lineCount = 0;
    std::vector<std::string> first;
    // The first lines that hold no point, per layout and separator.
    std::vector<std::string> firstMisfits[2][2];
    std::vector<std::string> firstLooseMisfits;
    LineAccount uncounted;  // the reader that follows counts the lines
    TextLines lines(text, uncounted);
    std::string line;
    while (lines.nextNonBlank(line)) {
        ++lineCount;
        // Made only for the few lines a refusal names: most lines need none.
        auto shown = [&] {
            return std::to_string(lines.lineNumber()) + ": \"" + Shown(line) + "\"";
        };
        if (first.size() < kShownLines) first.push_back(shown());
        for (const auto separator : {Comma, Blanks}) {
            const LineFields l = SplitPointLine(line, separator);
            const bool surplus = separator == Comma ? l.commas > 4 : HoldsMoreThanACode(l.field[4]);
            for (const auto layout : {Own, Cass}) {
                if (!surplus && FitsLayout(l, layout, separator))
                    ++fits[layout == Cass][separator == Blanks];
                else if (auto& misfits = firstMisfits[layout == Cass][separator == Blanks];
                         misfits.size() < kShownLines)
                    misfits.push_back(shown());
            }
            if (separator != Comma) continue;
            if (!surplus && l.commas >= 3 &&
                (IsNumberText(l.field[1]) || IsNumberText(l.field[2]) || IsNumberText(l.field[3])))
                ++ownCommaLoose;
            else if (firstLooseMisfits.size() < kShownLines)
                firstLooseMisfits.push_back(shown());
        }
    }

    LayoutDecision d;
    auto best = [&](PointListLayout layout) {
        const auto* f = fits[layout == Cass];
        return f[1] > f[0] ? Blanks : Comma;
    };
    auto count = [&](PointListLayout layout, FieldSeparator separator) {
        return fits[layout == Cass][separator == Blanks];
    };
    d.shape.chosen = wanted != Automatic;
    if (d.shape.chosen) {
        d.shape.layout = wanted;
    } else {
        // The program's own layout unless CASS fits more lines.
        const auto own = count(Own, best(Own)), cass = count(Cass, best(Cass));
        d.shape.layout = cass > own ? Cass : Own;
        d.shape.fitsCassAsWell = own > 0 && cass == own;
    }
    d.shape.separator = best(d.shape.layout);
    const bool ownComma = d.shape.layout == Own && d.shape.separator == Comma;
    const std::size_t pointLines =
        ownComma ? ownCommaLoose : count(d.shape.layout, d.shape.separator);
    auto listed = [](const std::vector<std::string>& shownLines) {
        std::string text;
        for (std::size_t i = 0; i < shownLines.size(); ++i)
            text += (i > 0 ? ", " : "") + shownLines[i];
        return text;
    };
    if (lineCount > 0 && pointLines == 0) {
        const std::string layouts =
            d.shape.chosen ? LayoutWords(wanted, texts)
                           : texts(msg::kEitherLayout, "%1 or in %2",
                                   {LayoutWords(Own, texts), LayoutWords(Cass, texts)});
        d.refusal = texts(msg::kNotPointList,
                          "The workspace is not a point list: no line holds a point in %1, with "
                          "commas, blanks or tabs between fields. Its first lines are %2.",
                          {layouts, listed(first)});
    } else if (pointLines * 3 < lineCount) {
        // Other records with a few lines that look like points (a COSA file's
        // known points, a raw file's header) are no point list either.
        const auto& misfits = ownComma ? firstLooseMisfits
                                       : firstMisfits[d.shape.layout == Cass]
                                                     [d.shape.separator == Blanks];
        d.refusal = texts(msg::kMostLinesNoPoints,
                          "The workspace is not a point list: only %1 of its %2 lines hold a "
                          "point in %3, with %4 between fields. The first lines that do not are "
                          "%5.",
                          {std::to_string(pointLines), std::to_string(lineCount),
                           LayoutWords(d.shape.layout, texts),
                           d.shape.separator == Comma ? texts(msg::kCommas, "commas")
                                                      : texts(msg::kBlanksOrTabs, "blanks or tabs"),
                           listed(misfits)});
    }
    return d;
}

std::string DescribeShape(const PointListShape& s, const MessageTexts& texts) {
    const std::string separator = s.separator == FieldSeparator::Comma
                                      ? texts(msg::kCommas, "commas")
                                      : texts(msg::kBlanksOrTabs, "blanks or tabs");
    const std::string ending = s.chosen ? texts(msg::kAsChosen, ", as chosen.") : texts(msg::kFullStop, ".");
    std::string text = texts(msg::kPointListReadIn, "Point list read in %1, fields separated by %2%3",
                             {LayoutWords(s.layout, texts), separator, ending});
    if (s.fitsCassAsWell)
        text += texts(msg::kFitsCassAsWell,
                      " Its lines fit the CASS layout equally well; choose CASS (--layout cass, or "
                      "the point list layout in the R5 option dialog) to read them so.");
    return text;
}

bool LooksLikePointList(const Workspace& lines) {
    constexpr std::size_t kLooked = 50;
    std::size_t looked = 0, points = 0;
    for (std::string_view line : lines.view()) {
        if (Trim(line, Blanks::WhiteSpace).empty()) continue;
        if (++looked > kLooked) break;
        const auto separator =
            line.find(',') != std::string_view::npos ? FieldSeparator::Comma : FieldSeparator::Blanks;
        const LineFields fields = SplitPointLine(line, separator);
        const bool surplus = separator == FieldSeparator::Comma ? fields.commas > 4
                                                                : HoldsMoreThanACode(fields.field[4]);
        if (!surplus && (FitsLayout(fields, PointListLayout::Own, separator) ||
                         FitsLayout(fields, PointListLayout::Cass, separator)))
            ++points;
    }
    return points > 0 && 2 * points > std::min(looked, kLooked);
}

}  // namespace tarvosen::points
