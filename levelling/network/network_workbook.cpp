// The result workbook of a levelling network. Values a surveyor checks by
// hand (discrepancies, limits, mean height differences, misclosures, the
// accuracy per kilometre) are formulas; every number is stored unrounded and
// shown through number formats. Exceeded values are red.

#include <charconv>

#include "levelling/book_support.h"
#include "levelling/network/network_results.h"

namespace tarvosen::levelling {

namespace {

constexpr const char* kSectionsSheet = "测段";
constexpr const char* kMisclosuresSheet = "闭合差";
constexpr const char* kHeightsSheet = "平差成果";
constexpr const char* kCheckSheet = "检查";
constexpr int kFirstRow = 3;  // title, headers, then the rows
// A chain of more sections is summed as a value: its formula would pass the
// length spreadsheet programs allow.
constexpr std::size_t kLongestFormulaChain = 200;

std::string Number(double v) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
    return std::string(buffer, end);
}

std::string Cell(int row, int column) {
    return ss::CellName(row, column);
}

void Title(const ss::Sheet& s, const std::string& title, const std::vector<const char*>& headers,
           const std::vector<double>& widths) {
    const int columns = static_cast<int>(headers.size());
    s.Span(1, 1, 1, columns).Merge();
    s.Cells(1, 1).SetValue(title);
    s.Cells(1, 1).SetFontName("黑体");
    s.Cells(1, 1).SetFontSize(14);
    s.SetRowHeight(1, 30);
    for (int c = 0; c < columns; ++c) {
        s.Cells(2, c + 1).SetValue(headers[c]);
        s.SetColumnWidth(c + 1, widths[c]);
    }
    s.Span(2, 1, 2, columns).SetFontBold(true);
    s.SetPrintTitleRows(2, 2);
}

void Frame(const ss::Sheet& s, int lastRow, int columns) {
    CentreBothWays(s.Span(1, 1, lastRow, columns));
    DrawTableBorders(s.Span(2, 1, lastRow, columns));
}

std::string Place(const LevelSection& s) {
    return s.file + " 行 " + std::to_string(s.firstLine) + "-" + std::to_string(s.lastLine);
}

void Red(const ss::CellRange& cell, bool exceeded) {
    if (exceeded) cell.SetFontColour(ss::kRed);
}

// Columns of the sections sheet.
enum { kNo = 1, kFrom, kTo, kK, kN, kHf, kHr, kDelta, kLimit, kMean, kExceeded, kStationChecks,
       kResidual, kStandardised, kForwardRun, kReturnRun, kDeltaWeighted,
       kSectionColumns = kDeltaWeighted };

void WriteSections(const ss::Sheet& s, const LevelNetwork& network,
                   const ToleranceProfile& profile) {
    Title(s, "水准测段往返测成果", {"序号", "起点", "终点", "距离K(km)", "测站数n", "往测高差(m)",
                                  "返测高差(m)", "不符值Δ(mm)", "限差(mm)", "高差中数(m)", "超限",
                                  "测站超限", "改正数v(mm)", "标准化改正数w", "往测", "返测", "ΔΔ/K"},
          {5, 9, 9, 10, 8, 12, 12, 11, 9, 12, 6, 8, 11, 11, 28, 28, 9});
    int r = kFirstRow;
    for (std::size_t i = 0; i < network.observations.size(); ++i, ++r) {
        const NetworkObservation& o = network.observations[i];
        const LevelSection& f = network.sections[o.forward];
        s.Cells(r, kNo).SetValue(static_cast<int>(i + 1));
        s.Cells(r, kFrom).SetText(o.from);
        s.Cells(r, kTo).SetText(o.to);
        s.Cells(r, kK).SetValue(o.lengthKm);
        s.Cells(r, kN).SetValue(o.stations);
        s.Cells(r, kHf).SetValue(f.heightDifference);
        s.Cells(r, kForwardRun).SetText(Place(f));
        std::size_t stationChecks = f.stationViolations;
        if (o.back) {
            const LevelSection& b = network.sections[*o.back];
            stationChecks += b.stationViolations;
            s.Cells(r, kHr).SetValue(b.heightDifference);
            s.Cells(r, kReturnRun).SetText(Place(b));
            s.Cells(r, kDelta).SetFormula("=(" + Cell(r, kHf) + "+" + Cell(r, kHr) + ")*1000");
            s.Cells(r, kLimit).SetFormula("=" + Number(profile.kFb) + "*SQRT(" + Cell(r, kK) + ")");
            s.Cells(r, kMean).SetFormula("=(" + Cell(r, kHf) + "-" + Cell(r, kHr) + ")/2");
            s.Cells(r, kDeltaWeighted)
                .SetFormula("=" + Cell(r, kDelta) + "^2/" + Cell(r, kK));
            Red(s.Cells(r, kDelta), !o.ok);
        } else {
            s.Cells(r, kReturnRun).SetText("单程");
            s.Cells(r, kMean).SetFormula("=" + Cell(r, kHf));
        }
        if (!o.ok) s.Cells(r, kExceeded).SetValue("超限");
        Red(s.Cells(r, kExceeded), !o.ok);
        s.Cells(r, kStationChecks).SetValue(static_cast<double>(stationChecks));
        Red(s.Cells(r, kStationChecks), stationChecks > 0);
        s.Cells(r, kResidual).SetValue(o.residualMm);
        if (o.standardisedResidual) s.Cells(r, kStandardised).SetValue(*o.standardisedResidual);
        Red(s.Cells(r, kStandardised), !o.residualOk);
    }
    const int last = r - 1;
    if (last >= kFirstRow) {
        s.Span(kFirstRow, kK, last, kK).SetNumberFormat("0.000");
        s.Span(kFirstRow, kN, last, kN).SetNumberFormat("0.#");
        s.Span(kFirstRow, kHf, last, kHr).SetNumberFormat("0.00000");
        s.Span(kFirstRow, kDelta, last, kLimit).SetNumberFormat("0.00");
        s.Span(kFirstRow, kMean, last, kMean).SetNumberFormat("0.00000");
        s.Span(kFirstRow, kResidual, last, kStandardised).SetNumberFormat("0.00");
        s.Span(kFirstRow, kDeltaWeighted, last, kDeltaWeighted).SetNumberFormat("0.000");
    }
    Frame(s, std::max(last, 2), kSectionColumns);
}

// Columns of the misclosures sheet.
enum { kChainNo = 1, kKind, kPoints, kLength, kW, kChainLimit, kChainExceeded, kWWeighted,
       kChainColumns = kWWeighted };

void WriteMisclosures(const ss::Sheet& s, const LevelNetwork& network,
                      const ToleranceProfile& profile) {
    Title(s, "路线与环闭合差", {"序号", "类型", "路线", "L或F(km)", "闭合差W(mm)", "限差(mm)", "超限",
                                "WW/F"},
          {5, 10, 40, 10, 12, 9, 6, 9});
    std::map<std::string, double> known;
    for (const auto& p : network.points)
        if (p.known) known[p.name] = p.height;
    int r = kFirstRow;
    for (std::size_t i = 0; i < network.misclosures.size(); ++i, ++r) {
        const Misclosure& m = network.misclosures[i];
        s.Cells(r, kChainNo).SetValue(static_cast<int>(i + 1));
        s.Cells(r, kKind).SetValue(m.loop ? "闭合环" : "附合路线");
        std::string points;
        for (const auto& p : m.points) points += (points.empty() ? "" : "-") + p;
        s.Cells(r, kPoints).SetText(points);
        s.Cells(r, kLength).SetValue(m.lengthKm);
        if (m.observations.size() <= kLongestFormulaChain) {
            // The mean height differences of the sections sheet, with the
            // sign of the direction walked.
            std::string sum;
            for (std::size_t k = 0; k < m.observations.size(); ++k) {
                const NetworkObservation& o = network.observations[m.observations[k]];
                const bool along = o.from == m.points[k];
                sum += (along ? "+'" : "-'") + std::string(kSectionsSheet) + "'!" +
                       Cell(kFirstRow + static_cast<int>(m.observations[k]), kMean);
            }
            std::string expected;
            if (!m.loop)
                expected = "-(" + Number(known.at(m.points.back())) + "-" +
                           Number(known.at(m.points.front())) + ")";
            s.Cells(r, kW).SetFormula("=(" + sum + expected + ")*1000");
        } else {
            s.Cells(r, kW).SetValue(m.wMm);
        }
        s.Cells(r, kChainLimit)
            .SetFormula("=" + Number(m.loop ? profile.kLoop : profile.kRoute) + "*SQRT(" +
                        Cell(r, kLength) + ")");
        s.Cells(r, kWWeighted).SetFormula("=" + Cell(r, kW) + "^2/" + Cell(r, kLength));
        Red(s.Cells(r, kW), !m.ok);
        if (!m.ok) s.Cells(r, kChainExceeded).SetValue("超限");
        Red(s.Cells(r, kChainExceeded), !m.ok);
    }
    const int last = r - 1;
    if (last >= kFirstRow) {
        s.Span(kFirstRow, kLength, last, kLength).SetNumberFormat("0.000");
        s.Span(kFirstRow, kW, last, kChainLimit).SetNumberFormat("0.00");
        s.Span(kFirstRow, kWWeighted, last, kWWeighted).SetNumberFormat("0.000");
    }
    s.Span(kFirstRow, kPoints, std::max(last, kFirstRow), kPoints).SetWrapText(true);
    Frame(s, std::max(last, 2), kChainColumns);
}

void WriteHeights(const ss::Sheet& s, const LevelNetwork& network) {
    Title(s, "高程平差成果", {"序号", "点名", "高程(m)", "中误差(mm)", "类别"}, {5, 12, 14, 11, 10});
    int r = kFirstRow;
    for (std::size_t i = 0; i < network.points.size(); ++i, ++r) {
        const AdjustedPoint& p = network.points[i];
        s.Cells(r, 1).SetValue(static_cast<int>(i + 1));
        s.Cells(r, 2).SetText(p.name);
        s.Cells(r, 3).SetValue(p.height);
        if (p.sigmaMm) s.Cells(r, 4).SetValue(*p.sigmaMm);
        const bool held = network.isHeld(p.name);
        s.Cells(r, 5).SetValue(held ? "假定高程" : p.known ? "已知点" : "待定点");
    }
    const int last = r - 1;
    if (last >= kFirstRow) {
        s.Span(kFirstRow, 3, last, 3).SetNumberFormat("0.00000");
        s.Span(kFirstRow, 4, last, 4).SetNumberFormat("0.00");
    }
    Frame(s, std::max(last, 2), 5);
}

void WriteCheck(const ss::Sheet& s, const LevelNetwork& network, const ToleranceProfile& profile,
                const std::vector<LimitViolation>& violations) {
    Title(s, "精度与限差检查", {"项目", "数值", "限差", "超限"}, {40, 14, 12, 8});
    const int sections = static_cast<int>(network.observations.size());
    const int chains = static_cast<int>(network.misclosures.size());
    int r = kFirstRow;
    s.Cells(r, 1).SetValue("限差方案");
    s.Cells(r, 2).SetText(profile.name);
    ++r;
    auto accuracy = [&](const char* label, const std::string& formula, double value, double limit) {
        s.Cells(r, 1).SetValue(label);
        s.Cells(r, 2).SetFormula(formula);
        s.Cells(r, 2).SetNumberFormat("0.000");
        s.Cells(r, 3).SetValue(limit);
        const bool exceeded = value > limit;
        if (exceeded) s.Cells(r, 4).SetValue("超限");
        Red(s.Cells(r, 2), exceeded);
        Red(s.Cells(r, 4), exceeded);
        ++r;
    };
    const std::string sectionsColumn = "'" + std::string(kSectionsSheet) + "'!" +
                                       Cell(kFirstRow, kDeltaWeighted) + ":" +
                                       Cell(kFirstRow + std::max(sections, 1) - 1, kDeltaWeighted);
    if (network.mDeltaMm)
        accuracy("每千米偶然中误差 M_Δ(mm)",
                 "=SQRT(SUM(" + sectionsColumn + ")/(4*COUNT(" + sectionsColumn + ")))",
                 *network.mDeltaMm, profile.mDeltaLimitMm);
    const std::string loopsColumn = "'" + std::string(kMisclosuresSheet) + "'!" +
                                    Cell(kFirstRow, kWWeighted) + ":" +
                                    Cell(kFirstRow + std::max(chains, 1) - 1, kWWeighted);
    if (network.mWMm)
        accuracy("每千米全中误差 M_W(mm)",
                 "=SQRT(SUM(" + loopsColumn + ")/COUNT(" + loopsColumn + "))", *network.mWMm,
                 profile.mWLimitMm);
    // sigma0 against its limit from the chi-square test.
    const AdjustmentTest& test = network.test;
    s.Cells(r, 1).SetValue("单位权中误差 σ0(mm), χ² 检验");
    if (network.sigma0Mm) {
        s.Cells(r, 2).SetValue(*network.sigma0Mm);
        s.Cells(r, 2).SetNumberFormat("0.000");
        s.Cells(r, 3).SetValue(*test.sigma0LimitMm);
        s.Cells(r, 3).SetNumberFormat("0.000");
        if (!test.sigma0Ok) s.Cells(r, 4).SetValue("超限");
        Red(s.Cells(r, 2), !test.sigma0Ok);
        Red(s.Cells(r, 4), !test.sigma0Ok);
    }
    ++r;
    s.Cells(r, 1).SetValue("自由度");
    s.Cells(r, 2).SetValue(network.degreesOfFreedom);
    ++r;
    s.Cells(r, 1).SetValue("先验单位权中误差(mm)");
    s.Cells(r, 2).SetValue(test.aprioriMm);
    s.Cells(r, 2).SetNumberFormat("0.000");
    ++r;
    s.Cells(r, 1).SetValue("检验置信度");
    s.Cells(r, 2).SetValue(test.confidence);
    ++r;
    s.Cells(r, 1).SetValue("标准化改正数 |w| 限值");
    s.Cells(r, 3).SetValue(test.residualLimit);
    s.Cells(r, 3).SetNumberFormat("0.00");
    ++r;
    if (!network.heldPoints.empty()) {
        std::string held;
        for (const auto& name : network.heldPoints) held += (held.empty() ? "" : ", ") + name;
        s.Cells(r, 1).SetValue("无已知高程: 起点高程假定为 0.000");
        s.Cells(r, 2).SetText(held);
        ++r;
    }
    s.Cells(r, 1).SetValue("超限项目");
    s.Cells(r, 2).SetValue("文件");
    s.Cells(r, 3).SetValue("行");
    s.Span(r, 1, r, 3).SetFontBold(true);
    ++r;
    for (const auto& v : violations) {
        s.Cells(r, 1).SetText(v.what);
        s.Cells(r, 1).SetFontColour(ss::kRed);
        s.Cells(r, 2).SetText(v.file);
        if (v.line > 0) s.Cells(r, 3).SetValue(static_cast<double>(v.line));
        ++r;
    }
    Frame(s, r - 1, 4);
}

}  // namespace

void WriteNetworkWorkbook(ss::SpreadsheetSession& session, const LevelNetwork& network,
                          const ToleranceProfile& profile,
                          const std::vector<LimitViolation>& violations) {
    session.NewWorkbook();
    WriteSections(AddNamedSheet(session, kSectionsSheet), network, profile);
    WriteMisclosures(AddNamedSheet(session, kMisclosuresSheet), network, profile);
    WriteHeights(AddNamedSheet(session, kHeightsSheet), network);
    WriteCheck(AddNamedSheet(session, kCheckSheet), network, profile, violations);
    session.Activate(*session.FindSheet(kSectionsSheet));
}

}  // namespace tarvosen::levelling
