#include "adjustment/record_book.h"


#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "adjustment/adjustment_options.h"
#include "adjustment/adjustment_text.h"
#include "adjustment/angle.h"
#include "adjustment/nikon_raw.h"
#include "adjustment/record_notes.h"
#include "adjustment/traverse_angles.h"
#include "app/command_context.h"
#include "app/conversion.h"
#include "app/data_paths.h"
#include "app/errors.h"
#include "app/progress_scope.h"
#include "app/number_text.h"
#include "spreadsheet/provenance.h"
#include "spreadsheet/spreadsheet_session.h"

namespace tarvosen {

namespace {

namespace fs = std::filesystem;
namespace col = book_column;
using spreadsheet::Sheet;

struct BookTarget {
    std::string name;
    std::string heightText;
    double horizontal[2] = {0, 0};  // radians, face I and face II
    double zenith[2] = {0, 0};
    std::string distance[2];
    bool observed[2] = {false, false};
    bool complete() const { return observed[0] && observed[1]; }
};

struct BookStation {
    std::string name;
    std::string instrumentHeightText;
    std::size_t line = 0;
    int observations = 0;
    std::vector<BookTarget> targets;
    // Two consecutive observations form a target; it counts once both are in.
    std::size_t targetCount() const { return static_cast<std::size_t>(observations / 2); }
};

// Characters of a UTF-8 text (bytes of other 8-bit text).
std::size_t ShownLength(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

double HeightSum(double height, double increment) {
    return std::round((height + increment) * 1e6) / 1e6;
}

std::string SlashDate(const std::chrono::year_month_day& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02u/%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

class BookWriter {
  public:
    BookWriter(CommandContext& ctx, Sheet sheet, double increment)
        : ctx_(ctx), sheet_(sheet), increment_(increment) {}

    // Writes one station into the next block. Unless it is the last, an
    // empty copy of the template block is made below it first.
    void flush(const BookStation& s, bool last) {
        const std::size_t count = s.targetCount();
        const int base = 2 * p_ + kFirstBlockRow;
        const int pairs = static_cast<int>(std::max<std::size_t>(count, 2)) + 1;
        if (count > 2) notes_.moreThanTwoTargets.add(s.name, s.line);
        if (s.observations % 2 == 1) notes_.oddObservation.add(s.name, s.line);
        if (count == 0) notes_.missingFace.add(s.name, s.line);
        if (ShownLength(s.name) > kBookNameColumnChars) notes_.longNames.add(s.name, s.line);
        // Extra row pairs of a station with more than two targets get the
        // block's styles too, then the next station's block is laid down.
        for (int row = base + kBlockRows; row < base + 2 * pairs; row += kBlockRows)
            copyTemplateBlock(row);
        if (!last) copyTemplateBlock(base + 2 * pairs);

        sheet_.Cells(base, col::kStation).SetText(s.name);
        sheet_.Cells(base + 1, col::kStation).SetValue(s.instrumentHeightText);
        for (std::size_t t = 0; t < count; ++t) {
            const BookTarget& target = s.targets[t];
            if (!target.complete()) notes_.missingFace.add(s.name, s.line);
            if (ShownLength(target.name) > kBookNameColumnChars)
                notes_.longNames.add(s.name + "\" target \"" + target.name, s.line);
            writeTarget(base + 2 * static_cast<int>(t), target, t == 1 ? &s.targets[0] : nullptr,
                        last);
        }
        stationRows_.push_back(base);
        p_ += pairs;
    }

    // Names the stations along the traverse and sets the target heights from
    // the neighbouring stations' instrument heights.
    void nameStations(const std::vector<std::string>& names, const std::vector<double>& heights,
                      const std::string& lineName) {
        const std::size_t n = stationRows_.size();
        if (n < 2) return;  // a single station keeps its names and heights as observed
        auto name = [&](std::size_t k) { return GeneratedStationName(lineName, k); };
        auto height = [&](std::size_t k) { return HeightSum(heights[k], increment_); };
        const int first = stationRows_[0];
        sheet_.Cells(first + 2, col::kTarget).SetText(name(1));
        sheet_.Cells(first + 3, col::kTarget).SetValue(height(1));
        for (std::size_t k = 1; k + 1 < n; ++k) {
            const int b = stationRows_[k];
            sheet_.Cells(b + 1, col::kTarget).SetValue(height(k - 1));
            sheet_.Cells(b + 3, col::kTarget).SetValue(height(k + 1));
            clearBacksightDistances(b);
            sheet_.Cells(b, col::kStation).SetText(name(k));
            sheet_.Cells(b, col::kTarget).SetText(name(k - 1));
            sheet_.Cells(b + 2, col::kTarget).SetText(name(k + 1));
        }
        const std::size_t k = n - 1;
        const int b = stationRows_[k];
        sheet_.Cells(b + 1, col::kTarget).SetValue(height(k - 1));
        clearBacksightDistances(b);
        // The last station keeps its own name; the previous foresight shows it.
        sheet_.Cells(stationRows_[k - 1] + 2, col::kTarget).SetText(names[k]);
        sheet_.Cells(b, col::kTarget).SetText(name(k - 1));
        // Station 1 looks back at the first station, which keeps its name.
        sheet_.Cells(stationRows_[1], col::kTarget).SetText(names[0]);
    }

    RecordNotes& notes() { return notes_; }

  private:
    void copyTemplateBlock(int row) {
        sheet_.Range("A9:T14").CopyTo(sheet_.Cells(row, 1));
        // The copy brings the first station's values: clear every column the
        // book writes, keep the template's own formulas in I and R.
        const int last = row + kBlockRows - 1;
        sheet_.Span(row, col::kStation, last, col::kMean).ClearContents();
        sheet_.Span(row, col::kAngle, last, col::kCorrected).ClearContents();
        sheet_.Span(row, col::kMetres, last, col::kMillimetres).ClearContents();
    }

    void clearBacksightDistances(int b) {
        sheet_.Span(b, col::kMetres, b + 1, col::kMillimetres).ClearContents();
    }

    void putParts(int row, int column, const DmsParts& parts) {
        sheet_.Cells(row, column).SetValue(parts.degrees);
        sheet_.Cells(row, column + 1).SetValue(parts.minutes);
        sheet_.Cells(row, column + 2).SetValue(parts.seconds);
    }

    void writeDistance(int row, const std::string& text, bool always) {
        const double value = LeadingDecimal(text);
        if (!(value > 0.01) && !always) return;
        // Whole millimetres first, so 123.9996 m is 124 m 0 mm, never 123 m 1000 mm.
        const long long mm = std::llround(value * 1000);
        sheet_.Cells(row, col::kMetres).SetValue(mm / 1000);
        sheet_.Cells(row, col::kMillimetres).SetValue(mm % 1000);
    }

    void writeTarget(int r1, const BookTarget& t, const BookTarget* backsight, bool last) {
        const int r2 = r1 + 1;
        const int rows[2] = {r1, r2};
        sheet_.Cells(r1, col::kTarget).SetText(t.name);
        sheet_.Cells(r2, col::kTarget).SetValue(t.heightText);
        sheet_.Cells(r1, col::kFace).SetText("I");
        sheet_.Cells(r2, col::kFace).SetText("II");
        DmsParts horizontal[2], zenith[2];
        for (int f = 0; f < 2; ++f) {
            if (!t.observed[f]) continue;  // never show a reading that was not taken
            writeDistance(rows[f], t.distance[f], last);
            horizontal[f] = SplitDmsRounded(t.horizontal[f]);
            zenith[f] = SplitDmsRounded(t.zenith[f]);
            putParts(rows[f], col::kHorizontal, horizontal[f]);
            putParts(rows[f], col::kZenith, zenith[f]);
        }
        if (!t.complete()) return;

        sheet_.Cells(r1, col::kSecondsSum).SetValue(SecondsSum(horizontal[0], horizontal[1]));
        const DmsParts mean = SplitDmsRounded(MeanDirection(t.horizontal[0], t.horizontal[1]));
        if (horizontal[0].minutes != horizontal[1].minutes && mean.minutes != horizontal[0].minutes)
            sheet_.Cells(r1, col::kMean).SetValue(mean.minutes);
        sheet_.Cells(r2, col::kMean).SetValue(mean.seconds);

        const int index = IndexErrorSeconds(t.zenith[0], t.zenith[1]);
        sheet_.Cells(r1, col::kIndexError).SetValue(index);
        const DmsParts corrected = SplitDmsRounded(CorrectedZenith(t.zenith[0], index));
        if (corrected.minutes != zenith[0].minutes)
            sheet_.Cells(r1, col::kCorrected).SetValue(corrected.minutes);
        sheet_.Cells(r2, col::kCorrected).SetValue(corrected.seconds);

        if (backsight && backsight->complete())
            putParts(
                r2, col::kAngle,
                SplitDmsRounded(HorizontalAngle(backsight->horizontal[0], backsight->horizontal[1],
                                                t.horizontal[0], t.horizontal[1])));
    }

    CommandContext& ctx_;
    Sheet sheet_;
    double increment_;
    int p_ = 0;  // row pairs used so far
    std::vector<int> stationRows_;
    RecordNotes notes_;
};

void Take(BookStation& s, const RawObservationRecord& o) {
    const std::size_t t = static_cast<std::size_t>(s.observations / 2);
    if (s.targets.size() <= t) s.targets.resize(t + 1);
    BookTarget& target = s.targets[t];
    if (s.observations % 2 == 0) target.name = o.pointName;
    // Face II is a zenith reading above 180°; exactly 180° is face I here.
    const int face = DmsTextToRadians(o.zenithAngle) > kPi ? 1 : 0;
    target.horizontal[face] = DmsTextToRadians(o.horizontalReading);
    target.zenith[face] = DmsTextToRadians(o.zenithAngle);
    target.distance[face] = o.slopeDistance;
    target.heightText = o.targetHeight;
    target.observed[face] = true;
    ++s.observations;
}

}  // namespace

fs::path FindRecordBookTemplate(const CommandContext& ctx) {
    const std::string& named = ctx.options.get<TraverseOptions>().templateFile;
    if (!named.empty()) {
        if (!fs::is_regular_file(named))
            throw FileError({msg::kTemplateMissing,
                             "The record book template \"%1\" does not exist", {named}});
        return named;
    }
    std::vector<fs::path> places;
    if (!ctx.state.startDirectory.empty()) places.push_back(ctx.state.startDirectory);
    for (const auto& dir : places) {
        const fs::path candidate = dir / kRecordBookTemplate;
        if (fs::is_regular_file(candidate)) return candidate;
    }
    if (auto shipped = FindDataFile(kRecordBookTemplate)) return *shipped;
    std::string where;
    for (const auto& dir : places) where += " \"" + dir.string() + "\"";
    throw FileError({msg::kTemplateNotFound,
                     "The record book template %1 was found neither in%2 nor in the program's "
                     "data folders",
                     {kRecordBookTemplate, where}});
}

void CheckRecordBookTemplate(const CommandContext& ctx) {
    spreadsheet::SpreadsheetSession session;
    session.OpenWorkbook(FindRecordBookTemplate(ctx));
    session.Close();
}

Outcome WriteRecordBook(CommandContext& ctx, const Workspace& raw, const fs::path& bookFile,
                        bool reportReading, TraverseReading& reading) {
    const TraverseOptions& o = ctx.options.get<TraverseOptions>();
    const double increment = ParseHeightIncrement(o.heightIncrement);

    spreadsheet::SpreadsheetSession session;
    session.OpenWorkbook(FindRecordBookTemplate(ctx));
    Sheet sheet = session.ActiveSheet();
    session.SetDisplayGridlines(false);
    sheet.SetFitToPageWidth();  // the book prints one page wide, as the levelling books do
    sheet.Cells(1, 10).SetText(o.lineName);
    sheet.Cells(3, 5).SetText(o.model);
    sheet.Cells(2, 10).SetText(SlashDate(o.date));

    NikonRawReader reader(raw, DocumentFileName(ctx));
    LineAccount& account = reader.account();
    const std::size_t totalLines = raw.lineCount();
    // The bar goes when reading and saving end, also when they fail.
    ProgressScope progress(ctx.user, static_cast<int>(std::min<std::size_t>(totalLines, 1u << 30)));

    BookWriter writer(ctx, sheet, increment);
    std::vector<std::string> names;
    std::vector<double> heights;
    std::optional<BookStation> current;
    RawRecord r;
    while (reader.next(r)) {
        if (r.lineNumber % 64 == 0) ctx.user.progressSetPosition(static_cast<int>(r.lineNumber));
        if (r.kind == RawRecordKind::Station) {
            if (current) writer.flush(*current, false);
            current.emplace();
            current->name = r.station.stationName;
            current->instrumentHeightText = r.station.instrumentHeight;
            current->line = r.lineNumber;
            names.push_back(r.station.stationName);
            heights.push_back(LeadingDecimal(r.station.instrumentHeight));
            account.used(r.lineNumber);
        } else if (r.kind != RawRecordKind::Observation) {
            // The book, like the text, lists the SS observations only.
            account.passedOver(r.lineNumber, r.kind == RawRecordKind::Point ? kCoordinateRecords
                                                                            : kBacksightRecords);
        } else if (!current) {
            writer.notes().beforeFirstSetUp.push_back(r.lineNumber);
            account.notUnderstoodReported(r.lineNumber);
        } else {
            Take(*current, r.observation);
            account.used(r.lineNumber);
        }
    }
    if (reportReading)
        writer.notes().reportReading(ctx, ctx.message(msg::kRecordBookProduct, "the record book"));
    if (!current) {
        const std::string refusal = NoSetUpMessage(raw, TextsOf(ctx));
        RefuseInput(ctx, refusal);
        return Outcome::Refused(refusal);
    }
    writer.flush(*current, true);
    writer.nameStations(names, heights, o.lineName);
    // The adjustment text, when written, has named the stations lacking a face.
    if (!reportReading) writer.notes().missingFace = StationList();
    writer.notes().reportStations(ctx);
    if (reportReading) {
        if (!CheckLinesUnderstood(ctx, account))
            return Outcome::Refused(TextsOf(ctx)(msg::kNothingWritten, "nothing written"));
        reading = {std::move(account), names.size()};
    }

    spreadsheet::RecordSources(session.Engine(), ctx.state.sourceFiles);
    session.SaveAs(bookFile, [&] { ctx.user.commitOutput(); });
    session.Close();
    progress.end();
    OfferToOpenWorkbook(ctx, bookFile);
    return Outcome::Done();
}

}  // namespace tarvosen
