#include "levelling/m5_levelling_reader.h"

#include "app/progress_scope.h"
#include "i18n/line_ranges.h"
#include "i18n/message_catalogue.h"
#include "zeiss/m5_line.h"
#include "zeiss/record_reader.h"

namespace tarvosen::levelling {

namespace {

constexpr PassedOverKind kTextRecords{msg::kTextRecordsKind, "text records"};
constexpr PassedOverKind kMarkerRecords{msg::kMarkerRecordsKind, "marker records"};
constexpr PassedOverKind kVoidedRecords{msg::kVoidedRecordsKind, "voided records"};
constexpr PassedOverKind kLineSummaries{msg::kLineSummariesKind, "line summaries"};
constexpr PassedOverKind kOutsideLine{msg::kOutsideLineKind,
                                      "observations outside a levelling line"};
constexpr PassedOverKind kEndRecords{msg::kEndRecordsKind, "end records"};

std::string Trimmed(std::string_view text) {
    return std::string(Trim(text, Blanks::SpacesAndControls));
}

// "hh:mm:ss" in columns 36-43, or empty.
std::string ClockTime(const zeiss::M5Line& line) {
    std::string t = line.columns(36, 43);
    auto digit = [&](std::size_t i) { return t[i] >= '0' && t[i] <= '9'; };
    if (t[2] != ':' || t[5] != ':') return {};
    for (std::size_t i : {0u, 1u, 3u, 4u, 6u, 7u})
        if (!digit(i)) return {};
    return t;
}

// A value block as a number; nullopt when it holds text that is no number.
std::optional<LevelNumber> Number(const zeiss::M5Line& line, int field) {
    LevelNumber n;
    n.text = Trimmed(line.fieldValue(field));
    if (n.text.empty()) return n;
    const std::optional<double> value = ParseWholeNumber(n.text);
    if (!value) return std::nullopt;
    n.value = *value;
    return n;
}

std::optional<LineMark::Kind> MarkOf(std::string_view text) {
    using enum LineMark::Kind;
    if (text.starts_with("Station repeated")) return StationRepeated;
    if (text.starts_with("Measurement repeated")) return MeasurementRepeated;
    if (text.starts_with("Reading E")) return ErrorRecord;
    if (text.starts_with("Inverted rod")) return RodInverted;
    if (text.starts_with("Normal rod")) return RodNormal;
    return std::nullopt;
}

// Texts the level writes between its observations that change nothing read.
bool IsMarkerText(std::string_view text) {
    return MarkOf(text) || text.starts_with("Intermediate sight") ||
           text.starts_with("End of interm");
}

class M5Reader {
  public:
    M5Reader(CommandContext& ctx, LevellingSink& sink, LineAccount& account)
        : ctx_(ctx), sink_(sink), account_(account), texts_(TextsOf(ctx)) {}

    // False when the line was refused (its message shown).
    bool line(std::string_view text, std::size_t n);
    void reportOutside();
    bool anyObservation() const { return observed_; }

  private:
    void information(const zeiss::M5Line& line, std::size_t n);
    bool record(const zeiss::M5Line& line, std::size_t n);
    bool metres(const zeiss::M5Line& line, std::size_t n);

    CommandContext& ctx_;
    LevellingSink& sink_;
    LineAccount& account_;
    MessageTexts texts_;
    enum class State { Idle, Open, Closed } state_ = State::Idle;
    bool ended_ = false;     // past the END line
    bool observed_ = false;  // an observation was handed over
    std::string lastPoint_;
    LineRanges beforeFirstStart_, afterEnd_;
};

bool M5Reader::line(std::string_view text, std::size_t n) {
    const zeiss::M5Line line(text, n);
    if (Trim(text, Blanks::SpacesAndControls).empty()) {
        account_.passedOver(n, kBlankLines);
    } else if (ended_) {
        account_.notUnderstood(n);
    } else if (line.isEnd()) {
        ended_ = true;
        account_.passedOver(n, kEndRecords);
    } else if (!line.isM5()) {
        account_.notUnderstood(n);
    } else if (line.kind() == "TO ") {
        information(line, n);
    } else if (line.kind() == "KD1" || line.kind() == "KD2") {
        return record(line, n);
    } else {
        account_.notUnderstood(n);
    }
    return true;
}

void M5Reader::information(const zeiss::M5Line& line, std::size_t n) {
    // The text stands before the line number (columns 45-48).
    const std::string text = Trimmed(line.columns(22, 44));
    const bool start = line.startsAt(22, "Start-Line");
    if (start || line.startsAt(22, "Cont-Line")) {
        LineStart s;
        s.line = n;
        s.name = Trimmed(line.columns(45, 48));
        // The method stands between the marker and the line number.
        if (start) s.method = Trimmed(line.columns(32, 44));
        s.readingsPerStaff = ReadingsPerStaff(s.method);
        s.continued = !start;
        sink_.startLine(s);
        state_ = State::Open;
        account_.used(n);
    } else if (line.startsAt(22, "End-Line")) {
        if (state_ == State::Open) {
            sink_.endLine({n, lastPoint_});
            state_ = State::Closed;
            account_.used(n);
        } else {
            account_.passedOver(n, kMarkerRecords);
        }
    } else if (IsMarkerText(text)) {
        if (const auto kind = MarkOf(text))
            sink_.mark({*kind, n, text});
        account_.passedOver(n, kMarkerRecords);
    } else {
        account_.passedOver(n, kTextRecords);
    }
}

// Every value the level writes is in metres; feet or any other unit would
// be read as metres by every book, so it is refused.
bool M5Reader::metres(const zeiss::M5Line& line, std::size_t n) {
    for (int i = 0; i < 3; ++i) {
        const std::string value = Trimmed(line.fieldValue(i));
        const std::string unit = Trimmed(line.fieldUnit(i));
        if (value.empty() || unit == "m") continue;
        ctx_.user.error(texts_(msg::kLevellingUnitNotMetres,
                               "%1:%2: the value %3 is in \"%4\"; levelling data is read in "
                               "metres (\"m\") only, so nothing was written.",
                               {sink_.fileName(), std::to_string(n), value, unit}));
        return false;
    }
    return true;
}

bool M5Reader::record(const zeiss::M5Line& line, std::size_t n) {
    lastPoint_ = Trimmed(line.columns(22, 29));
    const std::string code0 = line.fieldType(0);
    const bool voided = line.columns(30, 34) == "#####";
    if (voided) {
        sink_.mark({LineMark::Kind::Voided, n, Trimmed(line.raw())});
        account_.passedOver(n, kVoidedRecords);
        return true;
    }
    LevelObservation o;
    o.line = n;
    o.point = lastPoint_;
    bool summary = false;
    if (code0 == "Rb") o.kind = ObservationKind::Backsight;
    else if (code0 == "Rf") o.kind = ObservationKind::Foresight;
    else if (code0 == "Rz") o.kind = ObservationKind::Intermediate;
    else if (code0 == "  " && line.fieldType(2) == "Z ") o.kind = ObservationKind::PointHeight;
    else if (code0 == "Sh" || code0 == "Db") summary = true;
    else if (code0 == "R " && state_ != State::Open) {
        // The level's reading without a levelling line (measuring only).
        account_.passedOver(n, kOutsideLine);
        return true;
    } else {
        account_.notUnderstood(n);
        return true;
    }
    if (!metres(line, n)) return false;
    const auto first = Number(line, 0), second = Number(line, 1), third = Number(line, 2);
    if (!first || !second || !third) {
        account_.notUnderstood(n);
        return true;
    }
    if (summary) {
        if (state_ == State::Open) {
            InstrumentSummary s;
            s.line = n;
            s.point = lastPoint_;
            if (code0 == "Sh") {
                s.heightSum = *first;
                if (line.fieldType(1) == "dz") s.endDifference = *second;
                if (line.fieldType(2) == "Z ") s.knownEndHeight = *third;
            } else {
                s.backDistances = *first;
                if (line.fieldType(1) == "Df") s.foreDistances = *second;
                if (line.fieldType(2) == "Z ") s.reachedHeight = *third;
                s.stationCount = ParseWholeInteger(line.columns(30, 44));
            }
            sink_.summary(s);
        }
        account_.passedOver(n, kLineSummaries);
        return true;
    }
    if (o.kind == ObservationKind::PointHeight) {
        o.height = *third;
    } else {
        if (!first->present()) {
            account_.notUnderstood(n);
            return true;
        }
        o.reading = *first;
        if (line.fieldType(1) == "HD") o.distance = *second;
        if (line.fieldType(2) == "Z ") o.height = *third;
        o.returnRun = Trimmed(line.columns(30, 34)) == "F";
    }
    o.clockTime = ClockTime(line);
    if (state_ != State::Open) {
        (state_ == State::Idle ? beforeFirstStart_ : afterEnd_).add(n);
        account_.passedOver(n, kOutsideLine);
        return true;
    }
    sink_.observation(o);
    observed_ = true;
    account_.used(n);
    return true;
}

void M5Reader::reportOutside() {
    const std::string& file = sink_.fileName();
    if (beforeFirstStart_.count() > 1)
        ctx_.user.warning(texts_(msg::kBeforeFirstStartLines,
                                 "%1: The observation lines %2 came before the first Start-Line "
                                 "and were left out of the book.",
                                 {file, beforeFirstStart_.text(texts_)}));
    else if (beforeFirstStart_.count() == 1)
        ctx_.user.warning(texts_(msg::kBeforeFirstStartLine,
                                 "%1: The observation line %2 came before the first Start-Line "
                                 "and was left out of the book.",
                                 {file, beforeFirstStart_.text(texts_)}));
    if (!afterEnd_.empty())
        ctx_.user.warning(texts_(msg::kAfterEndLine,
                                 "%1: observation lines after an End-Line, outside any levelling "
                                 "line, were left out: %2.",
                                 {file, afterEnd_.text(texts_)}));
}

}  // namespace

bool RecognisesM5(const Workspace& lines) {
    bool first = true;
    for (std::string_view line : lines.view()) {
        if (first && !Trim(line, Blanks::SpacesAndControls).empty()) {
            if (line.starts_with("For M5|")) return true;
            first = false;
        }
        if (line.starts_with("For M5|") && line.size() > 31 &&
            (line.substr(17, 3) == "KD1" || line.substr(17, 3) == "KD2" ||
             (line.substr(17, 3) == "TO " && line.substr(21, 10) == "Start-Line")))
            return true;
    }
    return false;
}

ReadOutcome ReadM5Levelling(CommandContext& ctx, const Workspace& lines, LevellingSink& sink,
                            LineAccount& account) {
    zeiss::RecordReader reader(lines, kDiniLineLimit, account);
    ProgressScope progress(ctx.user, static_cast<int>(lines.lineCount()));
    M5Reader m5(ctx, sink, account);
    std::string text;
    for (int k = 0; reader.next(text); ++k) {
        ctx.user.progressSetPosition(k);
        if (!m5.line(text, reader.lineNumber())) return ReadOutcome::Refused;
    }
    reader.reportCutLines(ctx.user, TextsOf(ctx));
    m5.reportOutside();
    return m5.anyObservation() ? ReadOutcome::Read : ReadOutcome::NoLevellingLine;
}

}  // namespace tarvosen::levelling
