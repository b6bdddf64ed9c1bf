#include "levelling/survey_book.h"

namespace tarvosen::levelling {

namespace {

using ss::CellRange;

// The book's columns, by their letters.
constexpr int kA = 1, kB = 2, kC = 3, kD = 4, kE = 5, kF = 6, kG = 7, kH = 8, kI = 9;

}  // namespace

void SurveyInstituteBook::startSheet(const std::string& name, int readingsPerStaff) {
    finishSheet();
    sheet_ = AddNamedSheet(session_, LevellingSheetName(name));
    group_ = -1;
    station_.startLine(readingsPerStaff);
    single_.clear();
    writeHeader();
}

void SurveyInstituteBook::writeHeader() {
    const ss::Sheet& s = *sheet_;
    s.Range("D1:G1").Merge();
    s.Range("D1").SetValue("等电子水准测量记录手簿");
    s.Range("D1:G1").SetFontName("黑体");
    s.Range("D1:G1").SetFontSize(14);

    const char* const row2[] = {"测", "环", "线", "自", "至"};
    for (int c = 0; c < 5; ++c) s.Cells(2, kB + c).SetValue(row2[c]);
    s.Range("A3").SetValue("天气");
    s.Range("C3").SetValue("风向");
    s.Range("E3").SetValue("风力");
    s.Range("G3").SetValue("土质");
    s.Range("H3").SetValue("(地面)");
    s.Range("J3").SetValue("呈像");
    s.Range("A4").SetValue("仪器");
    s.Range("B4").SetValue("DINI12");
    s.Range("C4").SetValue("观测时刻");
    s.Range("D4").SetValue("始");
    s.Range("F4").SetValue("末");

    const CellRange table = s.Range("A5:J8");
    DrawTableBorders(table);
    CentreBothWays(table);
    s.Range("A2:J8").SetFontName("楷体_GB2312");
    s.Range("A2:J8").SetFontSize(10);
    for (const char* merged : {"A5:A8", "G5:G8", "H5:H8", "I5:I8", "J5:J8", "C5:D5", "E5:F5"})
        s.Range(merged).Merge();

    const char* const row5[] = {"测  站", "视准点",     "视距读数", nullptr,   "标尺读数",
                                nullptr,  "读数差(mm)", "高差(m)",  "高程(m)", "备注"};
    const char* const row6[] = {"后视", "后距1", "后距2", "后尺读数1", "后尺读数2"};
    const char* const row7[] = {"前视", "前视1", "前视2", "前尺读数1", "前尺读数2"};
    const char* const row8[] = {"中视", "视距差(m)", "累计差(m)", "高差(m)", "高差(m)"};
    for (int c = 0; c < 10; ++c)
        if (row5[c]) s.Cells(5, kA + c).SetValue(row5[c]);
    for (int c = 0; c < 5; ++c) {
        s.Cells(6, kB + c).SetValue(row6[c]);
        s.Cells(7, kB + c).SetValue(row7[c]);
        s.Cells(8, kB + c).SetValue(row8[c]);
    }
}

void SurveyInstituteBook::put(const LevelObservation& line) {
    switch (line.kind) {
        case ObservationKind::PointHeight:
            openGroup(&line);
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

// A point-height line opens a set-up with its point and height; a reading
// after a complete set-up opens one without them.
void SurveyInstituteBook::openGroup(const LevelObservation* pointHeight) {
    ++group_;
    station_.clear();
    single_.push_back(false);
    const ss::Sheet& s = *sheet_;
    const int r = GroupRow(group_);
    const CellRange rows = s.Span(r, 1, r + 2, 10);
    CentreBothWays(rows);
    DrawTableBorders(rows);
    s.Span(r, 1, r + 2, 1).Merge();
    s.Span(r, 10, r + 2, 10).Merge();
    s.Cells(r, kA).SetValue(group_ + 1);
    s.Span(r, 3, r + 2, 4).SetNumberFormat(kDistanceMetres);
    s.Span(r, 5, r + 2, 6).SetNumberFormat(kMetresTo001Mm);
    s.Span(r, 7, r + 2, 7).SetNumberFormat(kMillimetresTo001);
    s.Span(r, 8, r + 2, 9).SetNumberFormat(kMetresTo001Mm);
    if (!pointHeight) return;
    // Point names stay text: "0012" must not become the number 12.
    s.Cells(r, kB).SetText(pointHeight->point);
    s.Cells(r, kI).SetValue(pointHeight->height.text);
}

void SurveyInstituteBook::putSight(const LevelObservation& line, bool back) {
    // Sights before the line's first point have no set-up: the rows above
    // the first one are the header.
    if (group_ < 0) {
        beforeFirstPoint_.add(line.line);
        return;
    }
    if (station_.complete()) openGroup(nullptr);
    // Two readings per staff fill the set-up; a further one would overwrite
    // the first reading with a distance.
    const int count = back ? station_.backs() : station_.fores();
    if (count >= 2) {
        extraReadings_.add(line.line);
        return;
    }
    const ss::Sheet& s = *sheet_;
    const int row = GroupRow(group_) + (back ? 0 : 1);
    s.Cells(row, kB).SetText(line.point);
    s.Cells(row, kE + count).SetValue(line.reading.text);
    s.Cells(row, kC + count).SetValue(line.distance.text);
    s.Cells(row, kC + count).SetNumberFormat(DistanceFormatAsRead(line.distance.text));
    station_.add(back);
    single_.back() = station_.single();
    if (!back) lastForePoint_ = line.point;
}

void SurveyInstituteBook::finishSheet() {
    if (!sheet_) return;
    const ss::Sheet s = *sheet_;
    LeftOutLines::ReportSetUpLeftOuts(user_, LeftOutLines::Where(fileName(), s.Name(), texts_),
                                      beforeFirstPoint_, extraReadings_, texts_);
    // A line without a point-height line after its last set-up ends at that
    // set-up's fore point, on the group after it.
    if (group_ >= 0 && station_.complete()) {
        openGroup(nullptr);
        s.Cells(GroupRow(group_), kB).SetText(lastForePoint_);
    }
    sheet_.reset();

    const int n = group_;
    if (n < 1) return;
    // The line's length from the mean distance of each sight read twice and
    // the one distance of a sight read once.
    std::string length = "=SUM(0";
    bool secondDistances = false;
    double meanDistances = 0;  // the same sum, for a line too long for a formula
    for (int g = 0; g < n; ++g) {
        const int r = GroupRow(g);
        auto put = [&](int row, int column, const std::string& formula) {
            s.Cells(row, column).SetFormula(formula);
        };
        // A set-up read once on each staff has no second readings to compare
        // or average: its height difference is that of the first readings.
        const bool single = single_[g];
        if (!single) {
            put(r, kG, Formula("=(E%d-F%d)*1000", {r, r}));
            put(r + 1, kG, Formula("=(E%d-F%d)*1000", {r + 1, r + 1}));
            put(r + 2, kG, Formula("=(E%d-F%d)*1000", {r + 2, r + 2}));
        }
        put(r + 2, kC, Formula("=(C%d-C%d)", {r + 1, r}));
        put(r + 2, kD, g == 0 ? Formula("=C%d", {r + 2}) : Formula("=SUM(C%d+D%d)", {r + 2, r - 1}));
        put(r + 2, kE, Formula("=(E%d-E%d)", {r, r + 1}));
        if (single) {
            put(r + 1, kH, Formula("=E%d", {r + 2}));
        } else {
            put(r + 2, kF, Formula("=(F%d-F%d)", {r, r + 1}));
            put(r + 1, kH, Formula("=(E%d+F%d)/2", {r + 2, r + 2}));
        }
        for (const int row : {r, r + 1}) {
            const double first = s.Cells(row, kC).Value2();
            const bool second = !s.Cells(row, kD).ValueText().empty();
            secondDistances = secondDistances || second;
            length += second ? Formula("+(C%d+D%d)/2", {row, row}) : Formula("+C%d", {row});
            meanDistances += second ? (first + s.Cells(row, kD).Value2()) / 2 : first;
        }
    }
    const int last = GroupRow(n);
    s.Cells(last + 1, kF).SetValue("高差总和");
    s.Cells(last + 1, kH).SetFormula(Formula("=SUM(H10:H%d)", {3 * n + 7}));
    s.Cells(last + 1, kH).SetNumberFormat(kMetresTo001Mm);

    const std::string start = s.Range("B9").ValueText();
    const std::string end = s.Cells(last, kB).ValueText();
    const int row = 3 * n + 13;
    s.Cells(row, kA).SetValue("自");
    s.Cells(row, kB).SetText(start);
    s.Cells(row, kC).SetValue("点至");
    s.Cells(row, kD).SetText(end);
    s.Cells(row, kE).SetValue("距离");
    length += ")/1000";
    // A long line's sum of single cells outgrows the formula length that
    // spreadsheet programs accept. Read once on each staff, the same sum over
    // the column, less the sight-distance differences the column also holds
    // (their total is the last accumulated difference), gives the same
    // length; read twice, the length is written as its value.
    if (length.size() <= kMaxFormulaLength)
        s.Cells(row, kF).SetValue(length);
    else if (!secondDistances)
        s.Cells(row, kF).SetValue(Formula("=(SUM(C9:C%d)-D%d)/1000", {3 * n + 8, 3 * n + 8}));
    else
        s.Cells(row, kF).SetValue(RoundTo(meanDistances / 1000, 8));
    s.Cells(row, kG).SetValue("km");
}

}  // namespace tarvosen::levelling
