#include "adjustment/nikon_raw.h"

#include <algorithm>
#include <array>
#include <utility>

#include "adjustment/record_notes.h"
#include "app/command_context.h"
#include "app/errors.h"
#include "app/number_text.h"
#include "app/trim.h"
#include "i18n/line_ranges.h"

namespace tarvosen {

namespace {

// Fields 0 (the code) to 7 of a line. Fields 0 to 6 end at a comma; field 7
// is the rest of the line. Fields the line does not have are empty.
std::array<std::string_view, 8> SplitFields(std::string_view line) {
    std::array<std::string_view, 8> fields{};
    for (std::size_t i = 0; i < 7; ++i) {
        const auto comma = line.find(',');
        if (comma == std::string_view::npos) {
            fields[i] = line;
            return fields;
        }
        fields[i] = line.substr(0, comma);
        line.remove_prefix(comma + 1);
    }
    fields[7] = line;
    return fields;
}

constexpr PassedOverKind kStakeOutRecords{msg::kStakeOutRecordsKind,
                                          "stake-out and control-point records"};
constexpr PassedOverKind kDeletedRecords{msg::kDeletedRecordsKind, "deleted records"};
constexpr PassedOverKind kEndOfFileMarks{msg::kEndOfFileMarksKind, "end-of-file marks"};

// The kind of a line that holds no record the reader returns, or nothing
// when the line is no line of the format.
std::optional<PassedOverKind> KindOfOtherLine(std::string_view line) {
    const std::string_view text = Trim(line, Blanks::WhiteSpace);
    if (text.empty()) return kBlankLines;
    // A download or a DOS copy may end the data with a Ctrl-Z.
    if (text.find_first_not_of('\x1a') == std::string_view::npos) return kEndOfFileMarks;
    const auto comma = line.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    const std::string_view code = line.substr(0, comma);
    // The instrument marks a record it superseded or deleted with a "*".
    if (code.size() > 1 && code.front() == '*') return kDeletedRecords;
    if (code == "CO") return kRawNotes;
    if (code == "UP" || code == "CC" || code == "RE" || code == "MC") return kCoordinateRecords;
    if (code == "SO" || code == "CP") return kStakeOutRecords;
    if (code == "F2") return kBacksightRecords;
    return std::nullopt;
}

// False when an angle or height field holds text that is no number: a line
// garbled in transfer, whose numbers would otherwise be read as 0 or cut
// short. An empty field is left to the exports, and so is the slope
// distance, which the COSA export copies as text or converts strictly; MP
// records are checked by the COSA export, which names those without
// coordinates.
bool NumbersReadable(const RawRecord& r) {
    const auto number = [](std::string_view field) {
        return Trim(field, Blanks::WhiteSpace).empty() ||
               ParseWholeNumber(field, Blanks::WhiteSpace).has_value();
    };
    switch (r.kind) {
        case RawRecordKind::Station: {
            const std::string_view reading = r.station.backsightReading;
            return number(r.station.instrumentHeight) &&
                   number(reading.substr(0, reading.find(',')));
        }
        case RawRecordKind::Point:
            return true;
        case RawRecordKind::Observation:
        case RawRecordKind::Backsight:
            break;
    }
    const RawObservationRecord& o = r.observation;
    return number(o.targetHeight) && number(o.horizontalReading) && number(o.zenithAngle);
}

}  // namespace

std::optional<RawRecord> ParseRawRecordLine(std::string_view line, std::size_t lineNumber) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() < 2) return std::nullopt;
    const std::string_view code = line.substr(0, 2);
    if (code != "ST" && code != "SS" && code != "F1" && code != "MP") return std::nullopt;
    const auto f = SplitFields(line);
    RawRecord record;
    record.lineNumber = lineNumber;
    if (code == "ST") {
        record.kind = RawRecordKind::Station;
        record.station = {std::string(f[1]), std::string(f[3]), std::string(f[5]),
                          std::string(f[7])};
    } else if (code == "MP") {
        record.kind = RawRecordKind::Point;
        record.point = {std::string(f[1]), std::string(f[3]), std::string(f[4]),
                        std::string(f[5])};
    } else {
        record.kind = code == "SS" ? RawRecordKind::Observation : RawRecordKind::Backsight;
        record.observation = {std::string(f[1]), std::string(f[2]), std::string(f[3]),
                              std::string(f[4]), std::string(f[5])};
    }
    return record;
}

bool NikonRawReader::next(RawRecord& record) {
    while (lines_.next(line_)) {
        const std::size_t number = lines_.lineNumber();
        if (units_.readUnitLine(line_, number, file_)) {
            account_.passedOver(number, kRawSettings);
            continue;
        }
        if (auto r = ParseRawRecordLine(line_, number)) {
            if (!NumbersReadable(*r)) {
                account_.notUnderstood(number);
                continue;
            }
            record = std::move(*r);
            if (units_.angle == RawAngleUnit::PackedDms) check(record);
            if (!units_.areWritten()) convert(record);
            if (record.kind == RawRecordKind::Point && units_.eastFirst)
                std::swap(record.point.north, record.point.east);
            return true;
        }
        if (const auto kind = KindOfOtherLine(line_))
            account_.passedOver(number, *kind);
        else
            account_.notUnderstood(number);
    }
    if (!faultyLines_.empty()) {
        const bool minutes = firstFault_.part == PackedAngleFault::Minutes;
        throw ConversionError(
            {minutes ? msg::kNoPackedAngleMinutes : msg::kNoPackedAngle,
             std::string("%5: Line %1: \"%2\" (%4 ") + (minutes ? "minutes" : "seconds") +
                 ") is no packed angle (DDDMMSS: minutes and seconds below 60). Lines with such "
                 "angles: %3. The file is damaged, or its \"CO,Angle Units:\" line does not name "
                 "the units its angles are in. Nothing was written.",
             {std::to_string(faultyLines_.front()), firstFaultText_, LineRangesText(faultyLines_, {}),
              firstFault_.value, file_}});
    }
    return false;
}

bool IsNikonRaw(const Workspace& lines) {
    static constexpr std::array<std::string_view, 12> kCodes{
        "CO", "ST", "SS", "F1", "F2", "MP", "MC", "UP", "CC", "RE", "SO", "CP"};
    constexpr std::size_t kLooked = 50;
    std::size_t looked = 0, records = 0;
    for (std::string_view line : lines.view()) {
        if (Trim(line, Blanks::WhiteSpace).empty()) continue;
        if (++looked > kLooked) break;
        const auto comma = line.find(',');
        if (comma == std::string_view::npos) continue;
        std::string_view code = line.substr(0, comma);
        if (code.starts_with('*')) code.remove_prefix(1);
        if (std::find(kCodes.begin(), kCodes.end(), code) != kCodes.end()) ++records;
    }
    return records > 0 && 2 * records > std::min(looked, kLooked);
}

LineAccount AccountNikonRawLines(const Workspace& lines, const std::string& file) {
    NikonRawReader reader(lines, file);
    RawRecord record;
    while (reader.next(record)) reader.account().used(record.lineNumber);
    return std::move(reader.account());
}

void NikonRawReader::convert(RawRecord& record) const {
    const RawUnits& u = units_;
    if (record.kind == RawRecordKind::Station) {
        RawStationRecord& s = record.station;
        s.instrumentHeight = u.distanceText(s.instrumentHeight);
        s.backsightReading = u.angleText(s.backsightReading);
    } else if (record.kind == RawRecordKind::Point) {
        RawPointRecord& p = record.point;
        for (std::string* coordinate : {&p.north, &p.east, &p.height})
            *coordinate = u.distanceText(*coordinate);
    } else {
        RawObservationRecord& o = record.observation;
        o.targetHeight = u.distanceText(o.targetHeight);
        o.slopeDistance = u.distanceText(o.slopeDistance);
        o.horizontalReading = u.angleText(o.horizontalReading);
        o.zenithAngle = u.zenithText(o.zenithAngle, record.lineNumber, file_);
    }
}

void NikonRawReader::check(const RawRecord& record) {
    const auto note = [&](const std::string& text) {
        const PackedAngleFault fault = FindPackedAngleFault(text);
        if (!fault) return false;
        if (faultyLines_.empty()) {
            firstFaultText_ = text;
            firstFault_ = fault;
        }
        faultyLines_.push_back(record.lineNumber);
        return true;
    };
    if (record.kind == RawRecordKind::Station)
        note(record.station.backsightReading);
    else if (record.kind != RawRecordKind::Point)
        note(record.observation.horizontalReading) || note(record.observation.zenithAngle);
}

}  // namespace tarvosen
