#include "levelling/geo_book.h"

#include <algorithm>

#include "app/errors.h"
#include "zeiss/fixed_columns.h"

namespace tarvosen::levelling {

namespace {

using ss::CellRange;

// The book's columns, by their letters.
constexpr int kA = 1, kB = 2, kC = 3, kD = 4, kE = 5, kF = 6, kG = 7, kH = 8, kI = 9, kJ = 10;
const std::string kAsterisks(117, '*');
constexpr const char* kKai = "楷体_GB2312";
constexpr const char* kSong = "宋体";

// A text typed into the dialog: kept as typed, never taken for a formula.
void PutTyped(const CellRange& cell, const std::string& text) {
    if (!text.empty() && text.front() == '=')
        cell.SetText(text);
    else
        cell.SetValue(text);
}

}  // namespace

void GeoInstituteBook::startSheet(const std::string& name, int readingsPerStaff) {
    finishSheet();
    sightSeen_ = false;
    intermediates_.clear();
    sheet_ = AddNamedSheet(session_, LevellingSheetName(name));
    writeHeader();
    q_ = 0;
    readingsPerStaff_ = readingsPerStaff;
    station_.startLine(readingsPerStaff);
    single_.clear();
}

void GeoInstituteBook::writeHeader() {
    const ss::Sheet& s = *sheet_;
    s.Range("A1:J1").Merge();
    s.Range("A1").SetValue("电子水准测量记录手簿");
    s.Range("A1:J1").SetFontName(kKai);
    s.Range("A1:J1").SetFontSize(14);
    CentreBothWays(s.Range("A1:J1"));
    s.SetRowHeight(1, 28);
    s.SetRowHeight(2, 10);
    s.SetRowHeight(9, 9);
    s.SetColumnWidth(kA, 4);
    for (int c = 2; c <= 5; ++c) s.SetColumnWidth(c, 5.5);
    for (int c = 6; c <= 9; ++c) s.SetColumnWidth(c, 9);
    s.SetColumnWidth(kJ, 10);

    struct Label {
        const char* cells;
        const char* text;
    };
    static constexpr Label kMerged[] = {
        {"A3:B3", "等级"},
        {"A4:B4", "测线"},
        {"A5:B5", "观测日期"},
        {"A6:B6", "观测时间"},
        {"C3:D3", "一等"},
        {"A10:A11", "测站"},
        {"B10:E10", "视　　距"},
        {"F10:I10", "中　丝　读　数"},
        {"J10:J11", "高　差  （m）"},
        {"B11:C11", "后　视"},
        {"D11:E11", "前　视"},
        {"F11:G11", "后　视"},
        {"H11:I11", "前　视"},
    };
    for (const auto& m : kMerged) {
        const CellRange range = s.Range(m.cells);
        range.Merge();
        range.Cell(1, 1).SetValue(m.text);
    }
    static constexpr Label kLabels[] = {
        {"A7", "天气"},   {"A8", "观测"}, {"C4", "自"},      {"D6", "起"},
        {"D7", "风向"},   {"E5", "年"},   {"F3", "往/返："}, {"F4", "至"},
        {"G5", "月"},     {"G6", "止"},   {"G7", "风力"},    {"G8", "仪器"},
        {"H8", "DINI12"}, {"I5", "日"},   {"I7", "级"},      {"I8", "编号"},
    };
    for (const auto& label : kLabels) s.Range(label.cells).SetValue(label.text);
    s.Range("J10:J11").SetWrapText(true);
    s.Range("A9:J9").Merge();
    s.Range("A9").SetValue(kAsterisks);

    // The body font first, so the cells in 宋体 keep theirs.
    s.Range("A2:J11").SetFontName(kKai);
    s.Range("C3:D3").SetFontUnderline(ss::Underline::Single);
    for (const char* cell :
         {"H8", "J8", "E6", "H6", "F5", "H5", "G3", "H3", "B7", "B8", "E7", "H7"})
        s.Range(cell).SetFontUnderline(ss::Underline::Single);
    for (const char* cell : {"G3", "J8", "B7", "B8", "E7", "H7"}) s.Range(cell).SetFontName(kSong);
    CentreBothWays(s.Range("A9:J11"));

    PutTyped(s.Range("B8"), options_.observer);
    PutTyped(s.Range("E7"), options_.windDirection);
    PutTyped(s.Range("H7"), options_.windForce);
    PutTyped(s.Range("B7"), options_.weather);
    PutTyped(s.Range("J8"), options_.instrument);
    if (const auto& date = options_.date) {
        s.Range("D5").SetValue(static_cast<int>(date->year()));
        s.Range("F5").SetValue(static_cast<unsigned>(date->month()));
        s.Range("H5").SetValue(static_cast<unsigned>(date->day()));
    }
}

void GeoInstituteBook::put(const LevelObservation& line) {
    // A station's row is complete with the readings its line's method asks
    // for on each staff, or with one reading on each staff and the point
    // height the level computed from them; the next line begins the next row.
    const bool singleEnded = line.kind == ObservationKind::PointHeight &&
                             station_.backs() == 1 && station_.fores() == 1;
    if (station_.complete() || singleEnded) {
        ++q_;
        station_.clear();
    }
    switch (line.kind) {
        case ObservationKind::Backsight:
        case ObservationKind::Foresight:
            putSight(line);
            break;
        case ObservationKind::Intermediate:
            putIntermediateSight(line);
            break;
        default:
            break;
    }
}

void GeoInstituteBook::putIntermediateSight(const LevelObservation& line) {
    const std::optional<double> parsed = ParseWholeNumber(line.reading.text);
    if (!parsed)
        throw ConversionError({msg::kIntermediateSightNoNumber,
                               "%3: Line %1: the intermediate sight's reading \"%2\" is not a "
                               "number",
                               {std::to_string(line.line), line.reading.text, fileName()}});
    // Read once on each staff, the level takes intermediate sights between
    // the back and the fore reading: from the station in progress.
    const bool fromStationInProgress =
        readingsPerStaff_ == 1 && station_.backs() + station_.fores() > 0;
    intermediates_.push_back({fromStationInProgress ? q_ + 1 : q_, line.point, *parsed});
}

void GeoInstituteBook::putSight(const LevelObservation& line) {
    const ss::Sheet& s = *sheet_;
    const bool backsight = line.kind == ObservationKind::Backsight;
    const bool returnRun = line.returnRun;
    // A return run is written in the orientation of the forward run: its
    // foresights are the forward run's backsights.
    const bool backSet = backsight != returnRun;
    const int count = backSet ? station_.backs() : station_.fores();
    // A third reading of one set would land in the other set's columns.
    if (count >= 2) {
        extraReadings_.add(line.line);
        return;
    }
    if (!sightSeen_) {
        sightSeen_ = true;
        s.Range("D4").SetText(line.point);
        s.Range("E6").SetValue(line.clockTime.substr(0, 5));
    }
    clockTime_ = line.clockTime.substr(0, 5);
    const int row = StationRow(q_);
    s.Cells(row, kA).SetValue(q_ + 1);
    if (backsight) s.Range("G3").SetValue(returnRun ? "F" : "W");

    const CellRange reading = s.Cells(row, (backSet ? kF : kH) + count);
    const CellRange distance = s.Cells(row, (backSet ? kB : kD) + count);
    reading.SetValue(line.reading.text);
    reading.SetNumberFormat("0.00000");
    distance.SetValue(line.distance.text);
    distance.SetNumberFormat("0.0");
    station_.add(backSet);
    if (single_.size() <= static_cast<std::size_t>(q_)) single_.resize(q_ + 1, false);
    single_[q_] = station_.single();
}

void GeoInstituteBook::lineEnded(const LineEnd& end) {
    if (!sheet_) return;
    sheet_->Range("G4").SetText(end.point);
    sheet_->Range("H6").SetValue(clockTime_);
}

void GeoInstituteBook::finishSheet() {
    if (!sheet_) return;
    const ss::Sheet s = *sheet_;
    extraReadings_.report(
        user_, LeftOutLines::Where(fileName(), s.Name(), texts_),
        texts_(msg::kThirdReadingAtStation, "a third reading of one staff at a station"), texts_);
    sheet_.reset();
    // The row in progress holds the last station when no line followed its
    // readings; it is a station row, not the place of the summary.
    const int n = q_ + (station_.backs() + station_.fores() > 0 ? 1 : 0);
    // A last row read on one staff only (the line was left there) has no
    // height difference.
    const bool lastLacksStaff = !station_.empty() && (station_.backs() == 0 || station_.fores() == 0);
    station_.clear();
    if (n == 0) return;

    s.SetPrintTitleRows("A1:J11");
    s.Span(2, kA, n + 12, kJ).SetFontSize(10);
    s.Range("A9").SetFontSize(8);

    const CellRange stars = s.Span(n + 12, kA, n + 12, kJ);
    stars.Merge();
    stars.Cell(1, 1).SetValue(kAsterisks);
    stars.SetFontName(kKai);
    stars.SetFontSize(8);

    const int sum = n + 13;
    const CellRange title = s.Span(sum, kA, sum, kB);
    title.Merge();
    title.SetFontName(kKai);
    title.Cell(1, 1).SetValue("测段小结");
    s.SetRowHeight(sum, 30);
    s.Cells(sum, kE).SetValue("∑S");
    s.Cells(sum, kG).SetValue("m");
    s.Cells(sum, kH).SetValue("∑h");
    s.Cells(sum, kI).SetNumberFormat("0.000000");
    s.Cells(sum, kJ).SetValue("m");
    s.Range("D4").SetFontUnderline(ss::Underline::Single);
    s.Range("G4").SetFontUnderline(ss::Underline::Single);
    s.Span(sum, kA, sum, kJ).SetFontSize(10);

    // A station read once on each staff has its readings as its means.
    for (int k = 12; k <= n + 11 - (lastLacksStaff ? 1 : 0); ++k)
        s.Cells(k, kJ).SetFormula(singleRow(k - 12)
                                      ? Formula("=F%d-H%d", {k, k})
                                      : Formula("=(F%d+G%d)/2-(H%d+I%d)/2", {k, k, k, k}));
    // Every station's height difference, the first one included.
    s.Span(12, kJ, n + 11, kJ).SetNumberFormat("0.0000");
    s.Cells(sum, kF).SetFormula(TotalDistanceFormula(s, n));
    // A line without a complete station has no sum of height differences.
    if (n > (lastLacksStaff ? 1 : 0))
        s.Cells(sum, kI).SetFormula(Formula("=sum(J12:J%d)", {n + 11}));

    writeIntermediateSights(s, n);
    s.Span(n + 15, kA, n + 15 + static_cast<int>(intermediates_.size()), kJ).SetFontSize(10);
}

// ∑S: the mean distance of each set read twice, the one distance of a set
// read once. Half the sum of all four distance columns, plus half the first
// distance of each set without a second; a line read once throughout keeps
// the short sum of the first distances.
std::string GeoInstituteBook::TotalDistanceFormula(const ss::Sheet& s, int n) {
    std::string once;
    bool anySecond = false;
    for (int k = 12; k <= n + 11; ++k)
        for (const int first : {kB, kD}) {
            if (!s.Cells(k, first + 1).ValueText().empty())
                anySecond = true;
            else if (!s.Cells(k, first).ValueText().empty())
                once += "+" + ss::CellName(k, first);
        }
    if (!anySecond) return Formula("=sum(B12:B%d)+sum(D12:D%d)", {n + 11, n + 11});
    if (once.empty()) return Formula("=sum(B12:E%d)/2", {n + 11});
    return Formula("=(sum(B12:E%d)", {n + 11}) + once + ")/2";
}

void GeoInstituteBook::writeIntermediateSights(const ss::Sheet& s, int n) {
    if (intermediates_.empty()) return;
    const int head = n + 15;
    const CellRange from = s.Cells(head, kA);
    from.SetValue("从");
    from.SetFontName(kSong);
    from.SetHorizontalAlignment(ss::HorizontalAlignment::Right);
    s.Cells(head, kC).SetFormula("=D4");
    s.Cells(head, kC).SetHorizontalAlignment(ss::HorizontalAlignment::Right);
    s.Cells(head, kE).SetValue("到：");
    s.Cells(head, kE).SetFontName(kSong);
    s.Cells(head, kF).SetValue("中丝读数");
    s.Cells(head, kF).SetFontName(kSong);
    s.Cells(head, kH).SetValue("高　差");
    s.Cells(head, kH).SetFontName(kSong);

    for (std::size_t e = 0; e < intermediates_.size(); ++e) {
        const IntermediateSight& sight = intermediates_[e];
        const int row = n + 16 + static_cast<int>(e);
        s.Cells(row, kA).SetValue(sight.station);
        s.Cells(row, kC).SetText(sight.name);
        s.Cells(row, kC).SetHorizontalAlignment(ss::HorizontalAlignment::Right);
        s.Cells(row, kF).SetValue(sight.reading);
        // The instrument's horizon at the station the sight was taken from:
        // the mean backsight reading of its row plus the height differences
        // of the stations before it. A sight from the first station has no
        // stations before it (and one met before any station was complete is
        // taken from the first station's row).
        const int station = std::max(sight.station, 1);
        const std::string back = singleRow(station - 1)
                                     ? Formula("=F%d", {station + 11})
                                     : Formula("=(F%d+G%d)/2", {station + 11, station + 11});
        const std::string formula =
            station >= 2 ? back + Formula("+sum(J12:J%d)", {station + 10}) : back;
        const CellRange height = s.Cells(row, kH);
        height.SetFormula(formula);
        height.SetNumberFormat("0.00000");
        height.SetValue(RoundTo(height.Value2() - sight.reading, 6));
    }
}

}  // namespace tarvosen::levelling
