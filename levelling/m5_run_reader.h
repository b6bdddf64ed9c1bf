#pragma once
// Reads the DINI data (M5 "REC E" lines) of a record book and splits
// it into marker lines (Start-Line, End-Line, Cont-Line) and observation
// lines, handing the observations of each open levelling line to the book.

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>

#include "app/command_context.h"

namespace tarvosen::levelling {

// The English texts of msg::kNotDini and msg::kNoDiniData.
inline constexpr const char* kNotDiniMessage =
    "Sorry, the file you are processing is not Zeiss M5 data.";
inline constexpr const char* kNoDiniDataMessage =
    "There are no DINI M5 data to convert. Load the data first.";
// Lines are read up to this many characters; the record layout ends at 119.
inline constexpr std::size_t kDiniLineLimit = 199;

// One observation line of the levelling data, split into the columns the
// record books read.
struct ObservationLine {
    enum class Kind { Backsight, Foresight, Intermediate, PointHeight, Other };

    std::size_t lineNumber = 0;        // in the workspace, 1-based
    std::string pointName;             // columns 22-29, blanks trimmed
    std::string mark;                  // columns 30-34 as they stand
    std::string clockTime;             // columns 36-40 as they stand
    std::array<std::string, 3> code;   // type codes of the value blocks
    std::array<std::string, 3> value;  // values, 14 characters with their blanks

    Kind kind() const;
    // "#####" in the mark column: the instrument voided the line.
    bool voided() const { return mark == "#####"; }
    // The mark "F" (blanks trimmed) flags a sight of the return run.
    bool returnRun() const;

    const std::string& reading() const { return value[0]; }
    const std::string& distance() const { return value[1]; }
    const std::string& height() const { return value[2]; }
};

ObservationLine SplitObservationLine(std::string_view text, std::size_t lineNumber);

// Idle until the first Start-Line, starting after it until its first
// observation line creates the sheet, open while observations are written,
// closed after an End-Line.
enum class RunState { Idle, Starting, Open, Closed };

// Readings of each staff at a station under the levelling method a
// Start-Line names: BF and aBF read each staff once, BFFB, aBFFB, BFBF and
// aBFBF (and a line whose method is not named) twice.
int ReadingsPerStaff(std::string_view method);

// What a record book does with the data.
class RecordBook {
  public:
    virtual ~RecordBook() = default;
    // Finishes the previous sheet, if any, and adds a new one with its
    // header, for a line read readingsPerStaff times on each staff.
    virtual void startSheet(const std::string& name, int readingsPerStaff) = 0;
    // An observation line of the open levelling line (never a voided one).
    virtual void observation(const ObservationLine& line) = 0;
    // Every observation line, voided or not, open run or not, before it is
    // handled.
    virtual void anyObservation(const ObservationLine&) {}
    // An End-Line marker.
    virtual void endLine() {}
    // The end of the data: finishes the last sheet.
    virtual void finish() = 0;
    // A sentence told with the saved book (what its checks found), or empty.
    virtual std::string summary(const CommandContext&) const { return {}; }

    // The name of the file the lines come from, for the book's messages;
    // ReadM5Run sets it before the first line.
    void setFileName(std::string file) { file_ = std::move(file); }
    const std::string& fileName() const { return file_; }

  private:
    std::string file_;
};

enum class RunOutcome {
    Read,             // the data was read to its end; the book may be saved
    NoLevellingLine,  // read to its end, but no levelling line had observations
    NotM5,            // a line is not an M5 line: the message has been shown
};

// Reads the M5 lines and drives the book, with the progress bar running over
// their count. The messages name `file` (the document when it is empty):
// lines that are no M5 data are refused with an error, observation lines
// before the first Start-Line are named in a warning.
RunOutcome ReadM5Run(CommandContext& ctx, const Workspace& lines, RecordBook& book,
                     const std::string& file = {});

}  // namespace tarvosen::levelling
