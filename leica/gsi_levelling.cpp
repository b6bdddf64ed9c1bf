#include "leica/gsi_levelling.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "leica/gsi_lines.h"

namespace tarvosen::leica {

namespace {

using namespace levelling;

const PassedOverKind kCheckAndAdjust{msg::kGsiCheckAdjustKind, "check-and-adjust records"};
const PassedOverKind kOtherReadings{msg::kGsiOtherReadingsKind,
                                    "stake-out and measure-only readings"};

// Word indices a levelling block may hold; any other makes the block not understood.
bool KnownLevellingWord(int index) {
    switch (index) {
        case 11: case 12: case 13: case 17: case 18: case 19: case 32: case 35: case 83:
        case 95: case 290: case 374: case 390: case 391: case 392: case 599:
            return true;
        default:
            return (index >= 41 && index <= 49) || (index >= 71 && index <= 79) ||
                   (index >= 330 && index <= 336) || (index >= 505 && index <= 518) ||
                   (index >= 560 && index <= 562) || (index >= 571 && index <= 574);
    }
}

// The method of a line-start block, "" for a code block; nullopt for a
// method code this reader does not know (`code` then holds it).
struct Method {
    bool lineStart = false;
    std::string name;  // "BF", ...; "check" for check and adjust
    std::string code;
};
Method MethodOf(const GsiWord& word) {
    Method m;
    const auto mark = word.data.find('?');
    if (mark == std::string_view::npos) return m;
    m.lineStart = true;
    std::string_view rest = word.data.substr(mark + 1);
    while (!rest.empty() && (rest.front() == '.' || rest.front() == ' ')) rest.remove_prefix(1);
    m.code = std::string(rest);
    if (m.code == "1") m.name = "BF";
    else if (m.code == "2") m.name = "BFFB";
    else if (m.code == "3") m.name = "aBF";
    else if (m.code == "4") m.name = "aBFFB";
    else if (m.code == "10") m.name = "check";
    return m;
}

class Reader {
  public:
    Reader(CommandContext& ctx, LevellingSink& sink, LineAccount& account)
        : ctx_(ctx), sink_(sink), account_(account), file_(sink.fileName()) {}

    bool block(const GsiBlock& b, std::size_t line) {
        for (const GsiWord& w : b.words)
            if (!KnownLevellingWord(w.index)) {
                account_.notUnderstood(line);
                return true;
            }
        const GsiWord& first = b.words.front();
        if (first.index == 41) return lineStart(b, line);
        if (checking_) {
            account_.passedOver(line, kCheckAndAdjust);
            return true;
        }
        if (const GsiWord* qc = b.find(513); qc || b.find(290)) return quickClosure(b, line);
        const std::string point = first.index == 11 ? GsiText(first) : std::string();
        if (b.find(571) || b.find(572) || b.find(573) || b.find(574)) return stationSummary(b, line, point);
        for (int index : {331, 335, 332, 336, 333})
            if (const GsiWord* w = b.find(index)) return reading(b, line, point, *w);
        if (b.find(330) || b.find(334)) {
            account_.passedOver(line, kOtherReadings);
            return true;
        }
        if (const GsiWord* h = b.find(83)) return pointHeight(line, point, *h);
        account_.passedOver(line, kGsiPointIds);
        return true;
    }

    void finish() {
        flushIntermediate();
        endLine();
    }

    bool sawObservation() const { return observations_ > 0; }

  private:
    bool value(std::size_t line, const GsiWord& word, LevelNumber& out) {
        const auto length = GsiLengthOf(word);
        if (!length) return RefuseGsiValue(ctx_, file_, line, word);
        out.text = length->text;
        out.value = length->metres;
        return true;
    }

    bool lineStart(const GsiBlock& b, std::size_t line) {
        const Method m = MethodOf(b.words.front());
        if (!m.lineStart) {
            account_.passedOver(line, kGsiCodeBlocks);
            return true;
        }
        if (m.name.empty()) {
            ctx_.user.error(TextsOf(ctx_)(msg::kGsiUnknownMethod,
                                          "%1, line %2: the line start names the levelling "
                                          "method \"%3\", which this program does not know; "
                                          "nothing was written.",
                                          {file_, std::to_string(line), m.code}));
            return false;
        }
        flushIntermediate();
        endLine();
        account_.used(line);
        if (m.name == "check") {
            checking_ = true;
            return true;
        }
        checking_ = false;
        LineStart start;
        start.line = line;
        start.name = std::to_string(++lines_);
        start.method = m.name;
        // BF and aBF read each staff once, BFFB and aBFFB twice.
        start.readingsPerStaff = m.name == "BF" || m.name == "aBF" ? 1 : 2;
        sink_.startLine(start);
        open_ = true;
        stationOpen_ = false;
        lastPoint_.clear();
        lastStation_.reset();
        return true;
    }

    bool reading(const GsiBlock& b, std::size_t line, const std::string& point, const GsiWord& w) {
        if (!open_) {
            account_.notUnderstood(line);
            return true;
        }
        flushIntermediate();
        LevelObservation o;
        o.line = line;
        o.point = point;
        o.kind = w.index == 333                   ? ObservationKind::Intermediate
                 : (w.index == 331 || w.index == 335) ? ObservationKind::Backsight
                                                       : ObservationKind::Foresight;
        if (!value(line, w, o.reading)) return false;
        if (const GsiWord* d = b.find(32))
            if (!value(line, *d, o.distance)) return false;
        account_.used(line);
        if (o.kind == ObservationKind::Intermediate) {
            intermediate_ = o;  // its height may follow in an 83 block
            return true;
        }
        stationOpen_ = true;
        emit(o);
        return true;
    }

    bool pointHeight(std::size_t line, const std::string& point, const GsiWord& w) {
        if (!open_) {
            account_.notUnderstood(line);
            return true;
        }
        LevelObservation o;
        if (!value(line, w, o.height)) return false;
        account_.used(line);
        if (intermediate_ && intermediate_->point == point) {
            intermediate_->height = o.height;
            flushIntermediate();
            return true;
        }
        flushIntermediate();
        o.kind = ObservationKind::PointHeight;
        o.line = line;
        o.point = point;
        stationOpen_ = false;
        emit(o);
        return true;
    }

    // The height the station reached, then the instrument's summary: the
    // sums of the back and fore distances since the line start, from its
    // distance balance (573, back - fore) and total distance (574, back + fore).
    bool stationSummary(const GsiBlock& b, std::size_t line, const std::string& point) {
        if (!open_) {
            account_.notUnderstood(line);
            return true;
        }
        flushIntermediate();
        InstrumentSummary s;
        s.scope = InstrumentSummary::Scope::Station;
        s.line = line;
        s.point = point;
        if (const GsiWord* h = b.find(83))
            if (!value(line, *h, s.reachedHeight)) return false;
        const GsiWord* balance = b.find(573);
        const GsiWord* total = b.find(574);
        if (balance && total) {
            LevelNumber difference, sum;
            if (!value(line, *balance, difference) || !value(line, *total, sum)) return false;
            s.backDistances = HalfOf(sum, difference, +1);
            s.foreDistances = HalfOf(sum, difference, -1);
        }
        account_.used(line);
        if (s.reachedHeight.present()) {
            LevelObservation o;
            o.kind = ObservationKind::PointHeight;
            o.line = line;
            o.point = point;
            o.height = s.reachedHeight;
            emit(o);
        }
        stationOpen_ = false;
        sink_.summary(s);
        lastStation_ = s;
        return true;
    }

    // (sum ± difference) / 2, written with the decimals of its words and one
    // more when the half needs it.
    static LevelNumber HalfOf(const LevelNumber& sum, const LevelNumber& difference, int sign) {
        LevelNumber out;
        out.value = (sum.value + sign * difference.value) / 2;
        int decimals = std::max(sum.decimals(), difference.decimals());
        const double unit = std::pow(10.0, decimals);
        if (std::fabs(std::round(out.value * unit) - out.value * unit) > 0.25) ++decimals;
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*f", decimals, out.value);
        out.text = buf;
        return out;
    }

    bool quickClosure(const GsiBlock& b, std::size_t line) {
        if (!open_) {
            account_.notUnderstood(line);
            return true;
        }
        flushIntermediate();
        InstrumentSummary s;
        s.scope = InstrumentSummary::Scope::Line;
        s.line = line;
        if (const GsiWord* end = b.find(512)) s.point = GsiText(*end);
        else if (const GsiWord* e = b.find(515)) s.point = GsiText(*e);
        if (const GsiWord* dh = b.find(513))
            if (!value(line, *dh, s.heightSum)) return false;
        if (const GsiWord* n = b.find(290)) {
            const std::string count = GsiText(*n);
            if (count.find_first_not_of("0123456789") != std::string::npos)
                return RefuseGsiValue(ctx_, file_, line, *n);
            s.stationCount = std::stol(count);
            // The count is held against the line's distance sums, which the
            // last station summary gave.
            if (lastStation_) {
                s.backDistances = lastStation_->backDistances;
                s.foreDistances = lastStation_->foreDistances;
            }
        }
        account_.used(line);
        sink_.summary(s);
        return true;
    }

    void emit(const LevelObservation& o) {
        ++observations_;
        if (!o.point.empty()) lastPoint_ = o.point;
        sink_.observation(o);
    }

    void flushIntermediate() {
        if (!intermediate_) return;
        emit(*intermediate_);
        intermediate_.reset();
    }

    // A line ends at the next line start or the end of the data, unless it
    // stopped within a station.
    void endLine() {
        if (open_ && !stationOpen_) sink_.endLine(LineEnd{lastLine_, lastPoint_});
        open_ = false;
    }

  public:
    void noteLine(std::size_t line) { lastLine_ = line; }

  private:
    CommandContext& ctx_;
    LevellingSink& sink_;
    LineAccount& account_;
    std::string file_;
    bool open_ = false, stationOpen_ = false, checking_ = false;
    int lines_ = 0;
    std::size_t observations_ = 0, lastLine_ = 0;
    std::string lastPoint_;
    std::optional<LevelObservation> intermediate_;
    std::optional<InstrumentSummary> lastStation_;  // of the open line
};

bool IsLevellingBlock(const GsiBlock& b) {
    for (const GsiWord& w : b.words)
        if ((w.index >= 330 && w.index <= 336) || (w.index >= 571 && w.index <= 574) ||
            (w.index == 41 && w.data.find('?') != std::string_view::npos))
            return true;
    return false;
}

}  // namespace

bool IsGsiLevelling(const Workspace& lines) { return GsiHasWord(lines, IsLevellingBlock); }

ReadOutcome ReadGsiLevelling(CommandContext& ctx, const Workspace& lines, LevellingSink& sink,
                             LineAccount& account) {
    Reader reader(ctx, sink, account);
    bool stopped = false;
    const bool read = ForEachGsiBlock(ctx, lines, sink.fileName(), account,
                                      [&](const GsiBlock& b, std::size_t line) {
                                          if (stopped) return;
                                          if (!reader.block(b, line)) stopped = true;
                                          else reader.noteLine(line);
                                      });
    if (!read || stopped) return ReadOutcome::Refused;
    reader.finish();
    return reader.sawObservation() ? ReadOutcome::Read : ReadOutcome::NoLevellingLine;
}

const LevellingReader& GsiLevellingReader() {
    static const LevellingReader reader{"GSI", IsGsiLevelling, ReadGsiLevelling};
    return reader;
}

}  // namespace tarvosen::leica
