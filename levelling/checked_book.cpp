#include "levelling/checked_book.h"

#include <algorithm>
#include <cmath>

#include "i18n/message_catalogue.h"

namespace tarvosen::levelling {

namespace {

using ss::CellRange;

// The book's columns, by their letters.
constexpr int kA = 1, kB = 2, kC = 3, kD = 4, kE = 5, kF = 6, kG = 7, kH = 8;

// The remarks, one per check.
constexpr const char* kReadingsExceeded = "两次读数差超限";
constexpr const char* kHeightDifferencesExceeded = "读数差之差超限";
constexpr const char* kSightDifferenceExceeded = "视距差超限";
constexpr const char* kAccumulatedExceeded = "累积差超限";
constexpr const char* kSightLengthExceeded = "视线长超限";

}  // namespace

void HighOrderBook::startSheet(const std::string& name, int readingsPerStaff) {
    finishSheet();
    const ss::Sheet s = AddNamedSheet(session_, LevellingSheetName(name));
    s.SetDisplayGridlines(false);
    s.SetGridlineColour(ss::Colour::FromBgr(0xFF0000));
    sheet_ = s;
    group_ = -1;
    station_.startLine(readingsPerStaff);
    single_.clear();
    writeHeader();
}

void HighOrderBook::writeHeader() {
    const ss::Sheet& s = *sheet_;
    s.Range("A1:H1").Merge();
    // Named after the order whose limits the book checks.
    s.Range("A1").SetValue(LimitsOrderName(options_) + "电子水准测量记录手簿");
    s.Range("A1:H1").SetFontName("黑体");
    s.Range("A1:H1").SetFontSize(14);
    s.SetRowHeight(1, 40);
    s.SetColumnWidth(kA, 5);
    for (int c = kB; c <= kG; ++c) s.SetColumnWidth(c, 9);
    s.SetColumnWidth(kH, 11);

    struct Label {
        const char* cell;
        const char* text;
    };
    static constexpr Label kLabels[] = {
        {"A2", "测自:"},      {"C2", "至:"},         {"D2", "日期:"},    {"E2", "年"},
        {"F2", "月"},         {"G2", "日"},          {"H2", "成像："},   {"A3", "天气"},
        {"C3", "风向风速："}, {"D3", "      温度:"}, {"F3", "道路土质"}, {"H3", "观测者："},
        {"A4", "仪器"},       {"B4", "DINI12"},      {"C4", "号码"},     {"E4", "观测时刻"},
        {"F4", "始:"},        {"G4", "末:"},
    };
    for (const auto& label : kLabels) s.Range(label.cell).SetValue(label.text);

    DrawTableBorders(s.Range("A5:H8"));
    s.Range("A2:H8").SetFontName("楷体_GB2312");
    s.Range("A2:H8").SetFontSize(10);
    CentreBothWays(s.Range("A1:H8"));
    for (const char* merged : {"A5:A8", "G5:G8", "H5:H8"}) s.Range(merged).Merge();

    static constexpr Label kTableLabels[] = {
        {"A5", "测 站"},      {"B5", "后距1"},      {"C5", "前距1"},     {"D5", "后尺读数1"},
        {"E5", "后尺读数2"},  {"F5", "两次读数差"}, {"G5", "高差(m)"},   {"H5", "备注"},
        {"B6", "后距2"},      {"C6", "前距2"},      {"D6", "前尺读数1"}, {"E6", "前尺读数2"},
        {"F6", "两次读数差"}, {"B7", "后距中数"},   {"C7", "前距中数"},  {"D7", "高差1(m)"},
        {"E7", "高差2(m)"},   {"F7", "读数差之差"}, {"B8", "视距差(m)"}, {"C8", "累积差(m)"},
        {"F8", "高差之差"},
    };
    for (const auto& label : kTableLabels) s.Range(label.cell).SetValue(label.text);
}

void HighOrderBook::put(const LevelObservation& line) {
    switch (line.kind) {
        case ObservationKind::PointHeight:
            openGroup();
            break;
        case ObservationKind::Backsight:
            putSight(line, true);
            break;
        case ObservationKind::Foresight:
            putSight(line, false);
            break;
        case ObservationKind::Intermediate:
            intermediateSights_.add(line.line);
            break;
        default:
            break;
    }
}

void HighOrderBook::openGroup() {
    ++group_;
    station_.clear();
    single_.push_back(false);
    const ss::Sheet& s = *sheet_;
    const int r = GroupRow(group_);
    const CellRange rows = s.Span(r, kA, r + 3, kH);
    CentreBothWays(rows);
    DrawTableBorders(rows);
    s.Span(r, kA, r + 3, kA).Merge();
    s.Span(r, kH, r + 3, kH).Merge();
    s.Cells(r, kA).SetValue(group_ + 1);
    s.Span(r, kB, r + 3, kC).SetNumberFormat(kDistanceMetres);
    s.Span(r, kD, r + 2, kE).SetNumberFormat(kMetresTo001Mm);
    s.Span(r, kF, r + 3, kF).SetNumberFormat(kMillimetresTo001);
    s.Span(r, kG, r + 3, kG).SetNumberFormat(kMetresTo001Mm);
}

void HighOrderBook::putSight(const LevelObservation& line, bool back) {
    if (group_ < 0) {
        beforeFirstPoint_.add(line.line);
        return;
    }
    // A reading after a complete set-up begins the next one, also where the
    // line records no point-height line between them.
    if (station_.complete()) openGroup();
    const int count = back ? station_.backs() : station_.fores();
    // Two readings per staff fill the set-up; a third would land in the
    // formula cells of the station.
    if (count >= 2) {
        extraReadings_.add(line.line);
        return;
    }
    const ss::Sheet& s = *sheet_;
    const int r = GroupRow(group_);
    s.Cells(back ? r : r + 1, kD + count).SetValue(line.reading.text);
    s.Cells(r + count, back ? kB : kC).SetValue(line.distance.text);
    s.Cells(r + count, back ? kB : kC).SetNumberFormat(DistanceFormatAsRead(line.distance.text));
    station_.add(back);
    single_.back() = station_.single();
}

const ToleranceLimits& HighOrderBook::limits() {
    if (!limits_) limits_ = ReadToleranceLimits(options_);
    return *limits_;
}

// A set-up read once on each staff: its first readings and distances are
// its means, and the quantities comparing two readings are left out.
void HighOrderBook::writeGroupFormulas(const ss::Sheet& s, int r, bool single) {
    if (single) {
        s.Cells(r + 2, kB).SetFormula(Formula("=B%d", {r}));
        s.Cells(r + 2, kC).SetFormula(Formula("=C%d", {r}));
        s.Cells(r + 2, kD).SetFormula(Formula("=(D%d-D%d)", {r, r + 1}));
        s.Cells(r + 3, kB).SetFormula(Formula("=B%d-C%d", {r + 2, r + 2}));
        s.Cells(r + 2, kG).SetFormula(Formula("=D%d", {r + 2}));
        return;
    }
    s.Cells(r, kF).SetFormula(Formula("=(D%d-E%d)*1000", {r, r}));
    s.Cells(r + 1, kF).SetFormula(Formula("=(D%d-E%d)*1000", {r + 1, r + 1}));
    s.Cells(r + 2, kB).SetFormula(Formula("=(B%d+B%d)/2", {r, r + 1}));
    s.Cells(r + 2, kC).SetFormula(Formula("=(C%d+C%d)/2", {r, r + 1}));
    s.Cells(r + 2, kD).SetFormula(Formula("=(D%d-D%d)", {r, r + 1}));
    s.Cells(r + 2, kE).SetFormula(Formula("=(E%d-E%d)", {r, r + 1}));
    s.Cells(r + 2, kF).SetFormula(Formula("=(F%d-F%d)", {r, r + 1}));
    s.Cells(r + 3, kB).SetFormula(Formula("=B%d-C%d", {r + 2, r + 2}));
    s.Cells(r + 2, kG).SetFormula(Formula("=(D%d+E%d)/2", {r + 2, r + 2}));
    s.Cells(r + 3, kF).SetFormula(Formula("=(D%d-E%d)*1000", {r + 2, r + 2}));
}

// The steps of one station: its formulas, each check right after the cells
// it reads, the sums of the distances and readings. A later marking replaces
// the remark, so the remark names the last exceeded check. A set-up read
// once on each staff makes no check that compares two readings.
void HighOrderBook::checkGroup(const ss::Sheet& s, int g, Sums& sums) {
    const int r = GroupRow(g);
    const bool single = single_[g];
    const CellRange remark = s.Cells(r, kH);
    auto mark = [&](const CellRange& cell, const char* text) {
        cell.SetFontColour(ss::kRed);
        remark.SetValue(text);
        ++exceeded_;
    };
    // Strict comparisons: a value equal to its limit passes.
    auto checkAbove = [&](const CellRange& cell, double value, int field, const char* text) {
        if (value > limits()[field]) mark(cell, text);
    };

    remark.SetWrapText(true);
    if (single) {
        s.Cells(r + 2, kB).SetFormula(Formula("=B%d", {r}));
        s.Cells(r + 2, kC).SetFormula(Formula("=C%d", {r}));
        s.Cells(r + 2, kD).SetFormula(Formula("=(D%d-D%d)", {r, r + 1}));
        s.Cells(r + 2, kG).SetFormula(Formula("=D%d", {r + 2}));
    } else {
        const CellRange f1 = s.Cells(r, kF), f2 = s.Cells(r + 1, kF);
        f1.SetFormula(Formula("=(D%d-E%d)*1000", {r, r}));
        checkAbove(f1, std::abs(f1.Value2()), kReadingDifference, kReadingsExceeded);
        f2.SetFormula(Formula("=(D%d-E%d)*1000", {r + 1, r + 1}));
        checkAbove(f2, std::abs(f2.Value2()), kReadingDifference, kReadingsExceeded);

        s.Cells(r + 2, kB).SetFormula(Formula("=(B%d+B%d)/2", {r, r + 1}));
        s.Cells(r + 2, kC).SetFormula(Formula("=(C%d+C%d)/2", {r, r + 1}));
        s.Cells(r + 2, kD).SetFormula(Formula("=(D%d-D%d)", {r, r + 1}));
        s.Cells(r + 2, kE).SetFormula(Formula("=(E%d-E%d)", {r, r + 1}));
        const CellRange f3 = s.Cells(r + 2, kF);
        f3.SetFormula(Formula("=(F%d-F%d)", {r, r + 1}));
        checkAbove(f3, std::abs(f3.Value2()), kHeightDifference, kHeightDifferencesExceeded);

        s.Cells(r + 2, kG).SetFormula(Formula("=(D%d+E%d)/2", {r + 2, r + 2}));
    }
    const CellRange sightDifference = s.Cells(r + 3, kB);
    sightDifference.SetFormula(Formula("=B%d-C%d", {r + 2, r + 2}));
    checkAbove(sightDifference, std::abs(sightDifference.Value2()), kSightDifference,
               kSightDifferenceExceeded);

    if (!single) s.Cells(r + 3, kF).SetFormula(Formula("=(D%d-E%d)*1000", {r + 2, r + 2}));
    const CellRange accumulated = s.Cells(r + 3, kC);
    accumulated.SetFormula(g == 0 ? Formula("=B%d", {r + 3}) : Formula("=B%d+C%d", {r + 3, r - 1}));
    // The limit bounds the size of the accumulation, whichever way it leans.
    checkAbove(accumulated, std::abs(accumulated.Value2()), kAccumulatedDifference,
               kAccumulatedExceeded);

    const CellRange b1 = s.Cells(r, kB), c1 = s.Cells(r, kC);
    const CellRange c2 = s.Cells(r + 1, kC), b2 = s.Cells(r + 1, kB);
    const double vb1 = b1.Value2(), vc1 = c1.Value2(), vc2 = c2.Value2(), vb2 = b2.Value2();
    sums.b1 += vb1;
    checkAbove(b1, vb1, kSightLength, kSightLengthExceeded);
    sums.c1 += vc1;
    checkAbove(c1, vc1, kSightLength, kSightLengthExceeded);
    sums.c2 += vc2;
    checkAbove(c2, vc2, kSightLength, kSightLengthExceeded);
    sums.b2 += vb2;
    checkAbove(b2, vb2, kSightLength, kSightLengthExceeded);

    const double d1 = s.Cells(r, kD).Value2(), d2 = s.Cells(r + 1, kD).Value2();
    sums.d1 += d1;
    sums.e1 += single ? d1 : s.Cells(r, kE).Value2();
    sums.d2 += d2;
    sums.e2 += single ? d2 : s.Cells(r + 1, kE).Value2();
    // In a line that mixes both kinds of set-up, a single reading stands for
    // both readings in the sums, so the summary's means stay right.
    if (single) {
        sums.b2 += vb1;
        sums.c2 += vc1;
    }
}

void HighOrderBook::finishSheet() {
    if (!sheet_) return;
    const ss::Sheet s = *sheet_;
    LeftOutLines::ReportSetUpLeftOuts(user_, LeftOutLines::Where(fileName(), s.Name(), texts_),
                                      beforeFirstPoint_, extraReadings_, texts_);
    // A line without a point-height line after its last set-up gets its
    // summary on the group after that set-up.
    if (group_ >= 0 && station_.complete()) openGroup();
    sheet_.reset();

    const int n = group_;
    if (n < 1) return;
    Sums sums;
    for (int g = 0; g < n; ++g) checkGroup(s, g, sums);
    const bool single = std::all_of(single_.begin(), single_.begin() + n, [](bool b) { return b; });

    // The section summary on the group the end point's height line opened.
    const int r = GroupRow(n);
    s.Cells(r, kA).SetValue("测段小结");
    s.Cells(r, kA).SetWrapText(true);
    // Sums of texts with at most 5 decimals, rounded to them.
    auto put = [&](int row, int column, double sum) {
        s.Cells(row, column).SetValue(RoundTo(sum, 5));
    };
    put(r, kB, sums.b1);
    put(r, kC, sums.c1);
    if (!single) {
        put(r + 1, kB, sums.b2);
        put(r + 1, kC, sums.c2);
    }
    put(r, kD, sums.d1);
    if (!single) put(r, kE, sums.e1);
    put(r + 1, kD, sums.d2);
    if (!single) put(r + 1, kE, sums.e2);
    writeGroupFormulas(s, r, single);
}

std::string HighOrderBook::resultSentence(const CommandContext& ctx) const {
    return TextsOf(ctx)(msg::kLimitsExceeded, "Limits exceeded: %1. ",
                        {std::to_string(exceeded_)});
}

}  // namespace tarvosen::levelling
