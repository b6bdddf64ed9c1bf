#pragma once
// Nikon raw observation records (DTM-352/350/330 and 500 series "RAW" data):
// a line of comma-separated fields whose first field is the record code.
// Set-ups (code beginning "ST"), observations ("SS"), backsight observations
// ("F1") and points entered by hand ("MP") are read; the other record kinds
// of the format (notes and settings "CO", the coordinate records UP, CC, RE
// and MC, stake-out and control-point observations SO and CP, face-2
// backsights F2, records deleted on the instrument "*SS", ...) are passed
// over, and any other line is not understood, as is a record whose angle
// or height fields hold text that is no number. Every line is counted in the reader's
// LineAccount.
//
// A record is one line: it ends at the end of its line, missing fields read as
// empty texts, empty lines are skipped, and every field is read whole,
// however long.
//
// The reader gives every angle as DmsText, every vertical angle as a zenith
// angle, every distance, height and coordinate in metres and coordinates as
// north, east, height, whatever the file's unit lines name (see RawUnits).

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "adjustment/raw_units.h"
#include "app/line_account.h"
#include "app/line_reader.h"

namespace tarvosen {

struct CommandContext;

// ST,station,-,backsight,-,instrument height,-,backsight reading
struct RawStationRecord {
    std::string stationName;       // field 1
    std::string backsightName;     // field 3
    std::string instrumentHeight;  // field 5, metres
    // Field 7: everything after the sixth comma, commas included.
    std::string backsightReading;
};

// SS,point,target height,slope distance,horizontal reading,zenith angle,-,-
// (and F1, the backsight observed, with the same fields)
struct RawObservationRecord {
    std::string pointName;          // field 1
    std::string targetHeight;       // field 2, metres
    std::string slopeDistance;      // field 3, metres
    std::string horizontalReading;  // field 4, DmsText
    std::string zenithAngle;        // field 5, DmsText
};

// MP,point,-,north,east,height,code (east first in a file in "ENZ" order)
struct RawPointRecord {
    std::string name;  // field 1
    std::string north, east, height;  // metres
};

enum class RawRecordKind { Station, Observation, Backsight, Point };

struct RawRecord {
    RawRecordKind kind = RawRecordKind::Station;
    std::size_t lineNumber = 0;        // in the file read, from 1
    RawStationRecord station;          // when kind is Station
    RawObservationRecord observation;  // when kind is Observation or Backsight
    RawPointRecord point;              // when kind is Point
};

// The record a line holds, texts as written, or nothing for any other line
// (empty lines, comments, other record codes).
std::optional<RawRecord> ParseRawRecordLine(std::string_view line, std::size_t lineNumber);

// Kinds of line the reader passes over by itself, and those its users pass
// over among the records it returns.
inline constexpr PassedOverKind kRawNotes{msg::kNotesKind, "notes"};
inline constexpr PassedOverKind kRawSettings{msg::kSettingsKind, "settings"};
inline constexpr PassedOverKind kCoordinateRecords{msg::kCoordinateRecordsKind,
                                                   "coordinate records"};
inline constexpr PassedOverKind kBacksightRecords{msg::kBacksightRecordsKind, "backsight records"};

// Reads the set-ups and observations of a file in order, one line at a time.
class NikonRawReader {
  public:
    // `file` names the lines in the failures and in the account.
    explicit NikonRawReader(const Workspace& lines, std::string file = {})
        : lines_(lines), file_(std::move(file)), account_(file_) {}

    // The next record, in DmsText, zenith angles and metres; false at the
    // end of the file. Throws ConversionError naming the file and line at a unit line
    // naming units or a setting that cannot be read, at an elevation beyond
    // ±90°, and at the end of a file in
    // DDDMMSS whose angles include minutes or seconds of 60 or more, naming
    // those lines: such a file is damaged, or in other units than it says.
    bool next(RawRecord& record);

    // Lines read so far (the line of the last record returned).
    std::size_t lineNumber() const { return lines_.lineNumber(); }

    // The lines read so far. The reader counts every line but the records it
    // returns; its user counts each of those as it uses it.
    LineAccount& account() { return account_; }

  private:
    void convert(RawRecord& record) const;
    void check(const RawRecord& record);

    LineReader lines_;
    std::string file_;
    LineAccount account_;
    std::string line_;
    RawUnits units_;
    // Lines whose packed angles are no angles, and the first such angle.
    std::vector<std::size_t> faultyLines_;
    std::string firstFaultText_;      // the first faulty angle as written
    PackedAngleFault firstFault_;
};

// True when most of the first lines that hold text begin with a record code
// of the format (a "*" before a deleted one) and a comma.
bool IsNikonRaw(const Workspace& lines);

// The account of every line as the exports read them, each record the
// reader returns used; throws as NikonRawReader::next does.
LineAccount AccountNikonRawLines(const Workspace& lines, const std::string& file);

// The English text of the traverse export's refusal of an empty workspace
// (msg::kNoNikonRawDataForConversion).
inline constexpr const char* kNoNikonRawDataForConversion =
    "There are no Nikon raw data to convert. Load the data first.";

}  // namespace tarvosen
