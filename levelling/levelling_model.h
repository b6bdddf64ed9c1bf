#pragma once
// The levelling data of any instrument, as every levelling command reads it.
// A reader (M5 of a DiNi, GSI of a Leica level, ...) goes through its file
// once and hands each levelling line to a LevellingSink as it meets it: the
// line's start, its observations in order, the instrument's own summaries and
// marks, and its end. The books, the network, the audit and `check` are
// sinks; none of them knows the columns of a format.
//
// Stations are cut by one rule, StationReadings below: a station is complete
// when each staff holds the readings the line's method asks for, and a
// reading after a complete station begins the next one (so a back reading
// after the completed fore readings starts the next station); a point height
// after readings closes the station in progress.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/command_context.h"
#include "app/line_account.h"

namespace tarvosen::levelling {

// A number of the file, in metres: the decimal text as the file wrote it
// (blanks trimmed; a reader of a format that writes scaled integers places
// the decimal point its unit says) and its value. Empty when not written.
struct LevelNumber {
    std::string text;
    double value = 0;

    bool present() const { return !text.empty(); }
    // Digits after the decimal point of the text (0 without one).
    int decimals() const {
        const auto dot = text.find('.');
        return dot == std::string::npos ? 0 : static_cast<int>(text.size() - dot - 1);
    }
};

enum class ObservationKind {
    Backsight,     // reading on the back staff
    Foresight,     // reading on the fore staff
    Intermediate,  // an intermediate sight (side shot) from the station
    PointHeight,   // a point's height: the start height, or the height a station reached
};

struct LevelObservation {
    ObservationKind kind = ObservationKind::Backsight;
    std::size_t line = 0;   // in the input, from 1
    std::string point;      // the point's name, blanks trimmed, bytes as in the file
    LevelNumber reading;    // the staff reading of a sight
    LevelNumber distance;   // the horizontal distance of a sight
    LevelNumber height;     // a point height's Z, or the height an intermediate sight carries
    std::string clockTime;  // "hh:mm:ss" or "hh:mm" as written; empty when none
    bool returnRun = false; // a sight of the return run of a forward-and-return line

    bool sight() const { return kind == ObservationKind::Backsight || kind == ObservationKind::Foresight; }
    bool back() const { return kind == ObservationKind::Backsight; }
};

// Readings of each staff at a station under a levelling method: BF and aBF
// read each staff once, BFFB, aBFFB, BFBF, aBFBF, BBFF (and a line whose
// method is not named) twice.
int ReadingsPerStaff(std::string_view method);

struct LineStart {
    std::size_t line = 0;
    std::string name;        // the line's number or name as written
    std::string method;      // "BF", "aBFFB", ...; empty when the file names none
    int readingsPerStaff = 2;
    // The line goes on from an earlier start (a continued line). When no
    // line is open (its start lay in an earlier download), it begins one.
    bool continued = false;
};

// The instrument's own sums, as written: of a line (M5 Sh/dz/Z and Db/Df
// records) or of a station. A field the record does not hold is empty.
struct InstrumentSummary {
    enum class Scope { Line, Station };
    Scope scope = Scope::Line;
    std::size_t line = 0;
    std::string point;                // the point the record names
    LevelNumber heightSum;            // sum of the height differences (Sh)
    LevelNumber endDifference;        // known end height minus the reached one (dz)
    LevelNumber knownEndHeight;       // the end height entered as known
    LevelNumber reachedHeight;        // the height the instrument computed last
    LevelNumber backDistances;        // sum of the back distances (Db)
    LevelNumber foreDistances;        // sum of the fore distances (Df)
    std::optional<long> stationCount;
};

// Records that qualify the observations around them.
struct LineMark {
    enum class Kind {
        Voided,               // the instrument voided this record (M5 #####)
        StationRepeated,      // the station is measured again
        MeasurementRepeated,  // the last reading is measured again
        ErrorRecord,          // a reading failed; `text` holds the record
        RodInverted,          // readings from here on are on an inverted staff
        RodNormal,
    };
    Kind kind = Kind::Voided;
    std::size_t line = 0;
    std::string text;  // the record's text, blanks trimmed
};

struct LineEnd {
    std::size_t line = 0;
    std::string point;  // the point the instrument names last in the line; empty when none
};

// What reads a levelling file. Observations and summaries come only between
// startLine and endLine (a line never ended gets no endLine: the next
// startLine or finish follows); marks come wherever the file has them.
class LevellingSink {
  public:
    virtual ~LevellingSink() = default;
    // The lines from now on are of `file`, as messages name it.
    virtual void beginFile(const std::string& file) { file_ = file; }
    virtual void startLine(const LineStart& start) = 0;
    virtual void observation(const LevelObservation& observation) = 0;
    virtual void summary(const InstrumentSummary&) {}
    virtual void mark(const LineMark&) {}
    virtual void endLine(const LineEnd&) {}
    // The end of the data.
    virtual void finish() = 0;

    const std::string& fileName() const { return file_; }

  private:
    std::string file_;
};

// The one rule that cuts a line's readings into stations. Feed each sight
// with add() after asking startsStation(); clear() when a point height
// closes the station.
class StationReadings {
  public:
    void startLine(int readingsPerStaff) {
        perStaff_ = readingsPerStaff;
        clear();
    }
    void clear() { backs_ = fores_ = 0; }
    void add(bool back) { ++(back ? backs_ : fores_); }
    int backs() const { return backs_; }
    int fores() const { return fores_; }
    int perStaff() const { return perStaff_; }
    bool empty() const { return backs_ + fores_ == 0; }
    bool complete() const { return backs_ >= perStaff_ && fores_ >= perStaff_; }
    // A sight now begins the next station.
    bool startsStation() const { return complete(); }
    // Each staff read once (or one of them not yet): the readings are their
    // own means, and nothing compares two readings.
    bool single() const { return backs_ <= 1 && fores_ <= 1 && backs_ + fores_ > 0; }

  private:
    int perStaff_ = 2;
    int backs_ = 0;
    int fores_ = 0;
};

enum class ReadOutcome {
    Read,             // read to its end; every line is in the account
    NoLevellingLine,  // read to its end, but no levelling line had observations
    Refused,          // the reader refused the file (not its format, a unit it does not know): shown
};

// A reader of one format: how its files are told by their content, and the
// reading that hands the lines to `sink` and counts each in `account` (the
// caller has begun the file in both). A file without a single line of the
// format, a setting or unit the reader does not know: an error naming the
// file, the line and the value, and Refused.
struct LevellingReader {
    std::string_view name;  // "M5"
    bool (*recognises)(const Workspace& lines) = nullptr;
    ReadOutcome (*read)(CommandContext& ctx, const Workspace& lines, LevellingSink& sink,
                        LineAccount& account) = nullptr;
};

// Every levelling reader, in the order they are tried.
std::span<const LevellingReader> LevellingReaders();
// The reader whose format the lines are; nullptr when none recognises them.
const LevellingReader* FindLevellingReader(const Workspace& lines);

// Reads `lines` (named `file` in messages) with the reader their content
// chooses, into `sink` and `account`: beginFile on both, the reader, then
// sink.finish(). Lines no reader recognises are refused with an error naming
// the file (Refused).
ReadOutcome ReadLevelling(CommandContext& ctx, const Workspace& lines, const std::string& file,
                          LevellingSink& sink, LineAccount& account);

}  // namespace tarvosen::levelling
