#include "levelling/dini_audit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <optional>

#include "app/data_paths.h"
#include "app/errors.h"
#include "levelling/m5_run_reader.h"
#include "zeiss/address_continuity.h"
#include "zeiss/m5_line.h"

namespace tarvosen::levelling {

namespace {

constexpr long kDay = 86400;

// A value block's number and the count of its decimals.
struct Value {
    double number = 0;
    int decimals = 0;
};

std::optional<Value> ReadValue(std::string_view text) {
    text = Trim(text, Blanks::SpacesAndControls);
    const std::optional<double> number = ParseWholeNumber(text);
    if (!number) return std::nullopt;
    Value v;
    v.number = *number;
    const auto dot = text.find('.');
    v.decimals = dot == std::string_view::npos ? 0 : static_cast<int>(text.size() - dot - 1);
    return v;
}

// "hh:mm:ss" in columns 36-43, as seconds of the day; -1 when there is none.
long ClockSeconds(const zeiss::M5Line& line) {
    const std::string t = line.columns(36, 43);
    auto digit = [&](std::size_t i) { return t[i] >= '0' && t[i] <= '9'; };
    if (t[2] != ':' || t[5] != ':') return -1;
    for (std::size_t i : {0u, 1u, 3u, 4u, 6u, 7u})
        if (!digit(i)) return -1;
    auto two = [&](std::size_t i) { return (t[i] - '0') * 10 + (t[i + 1] - '0'); };
    return two(0) * 3600L + two(3) * 60L + two(6);
}

std::string Fixed(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

std::string Clock(long seconds) {
    seconds %= kDay;
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02ld:%02ld:%02ld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return buffer;
}

// "5, 4 or 3" in the language of `texts`.
std::string Listed(const std::vector<int>& values, const MessageTexts& texts) {
    std::string out;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string value = std::to_string(values[i]);
        if (i == 0) out = value;
        else if (i + 1 == values.size()) out = texts(msg::kAuditOr, "%1 or %2", {out, value});
        else out += texts(msg::kListComma, ", ") + value;
    }
    return out;
}

// A line quoted in a finding: at most 60 bytes, not cut inside a UTF-8 character.
std::string Quoted(std::string_view line) {
    line = Trim(line, Blanks::SpacesAndControls);
    if (line.size() <= 60) return std::string(line);
    std::size_t cut = 60;
    while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
    return std::string(line.substr(0, cut)) + "...";
}

double Mean(const std::vector<double>& values) {
    double sum = 0;
    for (double v : values) sum += v;
    return sum / static_cast<double>(values.size());
}

// The readings of the station being observed.
struct Station {
    std::vector<double> back, fore, backDistance, foreDistance;
    long firstTime = -1, lastTime = -1;
    std::size_t firstLine = 0;
    bool empty() const { return back.empty() && fore.empty(); }
};

class Auditor {
  public:
    Auditor(const AuditLimits& limits, const MessageTexts& texts)
        : limits_(limits), texts_(texts) {}

    void record(std::string_view text, std::size_t lineNumber);
    void finish(std::size_t lastLine);
    AuditResult result;

  private:
    // A finding whose text is catalogue message `id` with `values` in its places.
    void find(std::size_t line, const char* check, int id, std::string_view english,
              std::initializer_list<std::string_view> values = {}) {
        result.findings.push_back(
            {line, check, MessageTexts{}(id, english, values), texts_(id, english, values)});
    }
    void information(const zeiss::M5Line& line);
    void observation(const zeiss::M5Line& line);
    void reading(const ObservationLine& o, const zeiss::M5Line& line);
    void closeStation(const ObservationLine& o, double z, int zDecimals);
    void lineSummary(const ObservationLine& o, const zeiss::M5Line& line);
    void checkResolution(std::size_t line, const Value& v, bool reading,
                         const std::vector<int>& allowed, int& fileDecimals);
    void checkTime(std::size_t line, long clock);
    double heightTolerance(int decimals) const {
        return std::max(limits_.heightTolerance, std::pow(10.0, -decimals)) + 1e-9;
    }

    const AuditLimits& limits_;
    const MessageTexts& texts_;
    std::size_t m5Lines_ = 0;
    std::size_t firstM5Line_ = 0;
    std::size_t firstOtherLine_ = 0;  // the first line with text that is no M5 record
    std::string firstOther_;
    bool open_ = false;
    bool inverted_ = false;
    bool lastVoided_ = false;
    std::optional<double> startZ_, lastZ_;
    int zDecimals_ = 5;
    Station station_;
    std::size_t stationCount_ = 0;
    double sumDb_ = 0, sumDf_ = 0;
    long previousTime_ = -1, dayOffset_ = 0;
    int readingDecimals_ = -1, distanceDecimals_ = -1;
};

void Auditor::record(std::string_view text, std::size_t lineNumber) {
    const zeiss::M5Line line(text, lineNumber);
    if (line.isEnd() || Trim(text, Blanks::SpacesAndControls).empty()) return;
    if (!line.isM5()) {
        if (firstOtherLine_ == 0) {
            firstOtherLine_ = lineNumber;
            firstOther_ = Quoted(text);
        }
        find(lineNumber, "record", msg::kAuditNotM5Record,
             "not an M5 record; every line of DiNi data begins \"For M5\"");
        return;
    }
    if (m5Lines_++ == 0) firstM5Line_ = lineNumber;
    if (line.kind() == "TO ")
        information(line);
    else
        observation(line);
}

void Auditor::information(const zeiss::M5Line& line) {
    const std::size_t n = line.lineNumber();
    const std::string text(Trim(line.columns(22, 44), Blanks::SpacesAndControls));
    const bool voidedBefore = lastVoided_;
    lastVoided_ = false;
    if (text.starts_with("Start-Line")) {
        ++result.levellingLines;
        open_ = true;
        startZ_.reset();
        lastZ_.reset();
        station_ = {};
        stationCount_ = 0;
        sumDb_ = sumDf_ = 0;
        previousTime_ = -1;
        dayOffset_ = 0;
    } else if (text.starts_with("Cont-Line")) {
        open_ = true;
    } else if (text.starts_with("End-Line")) {
        if (!station_.empty())
            find(n, "height", msg::kAuditLineEndsOpen,
                 "the line ends with readings from line %1 on that no station height Z closes",
                 {std::to_string(station_.firstLine)});
        station_ = {};
        open_ = false;
    } else if (text.starts_with("Station repeated") || text.starts_with("Measurement repeated")) {
        if (!voidedBefore)
            find(n, "repeat", msg::kAuditRepeatNotVoided,
                 "\"%1\" follows no voided record; the instrument marks the record it replaces "
                 "with ##### just before",
                 {text});
        if (text.starts_with("Station repeated") && !station_.empty())
            find(n, "repeat", msg::kAuditStationRepeatedLeaves,
                 "\"Station repeated\" leaves valid readings of the station from line %1; all of "
                 "them should be voided",
                 {std::to_string(station_.firstLine)});
    } else if (text.starts_with("Reading E")) {
        const std::string code = text.substr(9);
        const bool digits = !code.empty() && std::all_of(code.begin(), code.end(), [](char c) {
            return c >= '0' && c <= '9';
        });
        if (!digits)
            find(n, "error-record", msg::kAuditErrorRecordMalformed,
                 "error record \"%1\": expected \"Reading E\" and the error number", {text});
        else if (!open_)
            find(n, "error-record", msg::kAuditErrorRecordOutside,
                 "error record \"%1\" outside a levelling line", {text});
    } else if (text.starts_with("Inverted rod")) {
        inverted_ = true;
    } else if (text.starts_with("Normal rod")) {
        inverted_ = false;
    }
}

void Auditor::checkResolution(std::size_t line, const Value& v, bool reading,
                              const std::vector<int>& allowed, int& fileDecimals) {
    const std::string decimals = std::to_string(v.decimals);
    if (fileDecimals < 0) {
        if (std::find(allowed.begin(), allowed.end(), v.decimals) == allowed.end()) {
            const int id = reading ? msg::kAuditReadingDecimals : msg::kAuditDistanceDecimals;
            const char* english = reading
                                      ? "reading written with %1 decimals; the instrument writes %2"
                                      : "distance written with %1 decimals; the instrument writes %2";
            result.findings.push_back(
                {line, "resolution", MessageTexts{}(id, english, {decimals, Listed(allowed, {})}),
                 texts_(id, english, {decimals, Listed(allowed, texts_)})});
            return;
        }
        fileDecimals = v.decimals;
    } else if (v.decimals != fileDecimals) {
        if (reading)
            find(line, "resolution", msg::kAuditReadingDecimalsDiffer,
                 "reading written with %1 decimals; the file's others have %2",
                 {decimals, std::to_string(fileDecimals)});
        else
            find(line, "resolution", msg::kAuditDistanceDecimalsDiffer,
                 "distance written with %1 decimals; the file's others have %2",
                 {decimals, std::to_string(fileDecimals)});
    }
}

void Auditor::checkTime(std::size_t line, long clock) {
    if (clock < 0) return;
    long t = clock + dayOffset_;
    if (previousTime_ >= 0 && t < previousTime_) {
        if (previousTime_ - t > kDay / 2) {  // past midnight
            dayOffset_ += kDay;
            t += kDay;
        } else {
            find(line, "time", msg::kAuditTimeBackwards,
                 "time %1 is before the previous reading's %2; times within a line never go "
                 "backwards",
                 {Clock(t), Clock(previousTime_)});
        }
    }
    previousTime_ = t;  // a step back is named once, not at every reading after it
    if (station_.firstTime < 0) station_.firstTime = t;
    station_.lastTime = t;
}

void Auditor::observation(const zeiss::M5Line& line) {
    const ObservationLine o = SplitObservationLine(line.raw(), line.lineNumber());
    if (o.voided()) {
        lastVoided_ = true;
        return;
    }
    lastVoided_ = false;
    const std::string kind = line.kind();
    if (o.code[0] == "Rb" || o.code[0] == "Rf" || o.code[0] == "Rz") {
        reading(o, line);
    } else if (o.code[0] == "Sh" || (kind == "KD2" && o.code[0] == "Db")) {
        lineSummary(o, line);
    } else if (o.kind() == ObservationLine::Kind::PointHeight) {
        if (const auto z = ReadValue(o.height())) closeStation(o, z->number, z->decimals);
    }
}

void Auditor::reading(const ObservationLine& o, const zeiss::M5Line& line) {
    const std::size_t n = o.lineNumber;
    const auto r = ReadValue(o.reading());
    if (!r) {
        find(n, "record", msg::kAuditReadingNotNumber, "the reading \"%1\" is not a number",
             {o.reading()});
        return;
    }
    checkResolution(n, *r, true, limits_.readingDecimals, readingDecimals_);
    const std::optional<Value> d = o.code[1] == "HD" ? ReadValue(o.distance()) : std::nullopt;
    if (d) checkResolution(n, *d, false, limits_.distanceDecimals, distanceDecimals_);
    const double low = inverted_ ? -limits_.staffLength : 0;
    const double high = inverted_ ? 0 : limits_.staffLength;
    if (r->number < low || r->number > high)
        find(n, "staff-range",
             inverted_ ? msg::kAuditOutsideInvertedStaff : msg::kAuditOutsideStaff,
             inverted_ ? "reading %1 m is outside the inverted staff's range %2 to %3 m"
                       : "reading %1 m is outside the staff's range %2 to %3 m",
             {Fixed(r->number, r->decimals), Fixed(low, 2), Fixed(high, 2)});
    if (station_.empty() && o.code[0] != "Rz") station_.firstLine = n;
    checkTime(n, ClockSeconds(line));

    if (o.code[0] == "Rz") {
        // An intermediate sight carries its own height: the instrument's
        // height (last Z plus the backsight) minus the reading.
        const auto z = ReadValue(o.height());
        if (z && lastZ_ && !station_.back.empty()) {
            const double expected = *lastZ_ + Mean(station_.back) - r->number;
            if (std::abs(expected - z->number) > heightTolerance(z->decimals))
                find(n, "height", msg::kAuditIntermediateHeight,
                     "intermediate sight height Z %1 m; the readings give %2 m",
                     {Fixed(z->number, z->decimals), Fixed(expected, z->decimals + 1)});
        }
        return;
    }
    (o.code[0] == "Rb" ? station_.back : station_.fore).push_back(r->number);
    if (d) (o.code[0] == "Rb" ? station_.backDistance : station_.foreDistance).push_back(d->number);
}

void Auditor::closeStation(const ObservationLine& o, double z, int zDecimals) {
    const std::size_t n = o.lineNumber;
    if (station_.empty()) {
        // A height without readings: the start height of the line (entered
        // or carried over).
        if (!lastZ_) startZ_ = z;
        lastZ_ = z;
        zDecimals_ = zDecimals;
        return;
    }
    if (station_.back.empty() || station_.fore.empty()) {
        if (station_.back.empty())
            find(n, "height", msg::kAuditNoBacksight, "the station from line %1 has no backsight",
                 {std::to_string(station_.firstLine)});
        else
            find(n, "height", msg::kAuditNoForesight, "the station from line %1 has no foresight",
                 {std::to_string(station_.firstLine)});
    } else if (lastZ_) {
        const double expected = *lastZ_ + Mean(station_.back) - Mean(station_.fore);
        if (std::abs(expected - z) > heightTolerance(zDecimals))
            find(n, "height", msg::kAuditStationHeight,
                 "station height Z %1 m; the previous Z %2 m and the readings from line %3 give "
                 "%4 m",
                 {Fixed(z, zDecimals), Fixed(*lastZ_, zDecimals),
                  std::to_string(station_.firstLine), Fixed(expected, zDecimals + 1)});
    }
    if (station_.firstTime >= 0) {
        const double seconds = static_cast<double>(station_.lastTime - station_.firstTime);
        if (seconds < limits_.stationSecondsMin || seconds > limits_.stationSecondsMax)
            find(n, "station-time", msg::kAuditStationTime,
                 "the station from line %1 took %2 s (%3 to %4); a station takes from %5 to %6 s",
                 {std::to_string(station_.firstLine), std::to_string(static_cast<long>(seconds)),
                  Clock(station_.firstTime), Clock(station_.lastTime),
                  Fixed(limits_.stationSecondsMin, 0), Fixed(limits_.stationSecondsMax, 0)});
    }
    if (!station_.backDistance.empty()) sumDb_ += Mean(station_.backDistance);
    if (!station_.foreDistance.empty()) sumDf_ += Mean(station_.foreDistance);
    ++stationCount_;
    ++result.stations;
    if (!startZ_) startZ_ = *lastZ_;
    lastZ_ = z;
    zDecimals_ = zDecimals;
    station_ = {};
}

void Auditor::lineSummary(const ObservationLine& o, const zeiss::M5Line& line) {
    const std::size_t n = o.lineNumber;
    if (!lastZ_ || !startZ_) {
        find(n, "summary", msg::kAuditSummaryWithoutStart,
             "a line summary without a start height before it");
        return;
    }
    if (o.code[0] == "Sh") {
        const auto sh = ReadValue(o.value[0]);
        const double expected = *lastZ_ - *startZ_;
        if (sh && std::abs(sh->number - expected) > heightTolerance(sh->decimals))
            find(n, "summary", msg::kAuditShSum, "Sh %1 m; the stations sum to %2 m",
                 {Fixed(sh->number, sh->decimals), Fixed(expected, sh->decimals)});
        if (o.code[1] != "dz" || o.code[2] != "Z ") return;
        const auto dz = ReadValue(o.value[1]);
        const auto z = ReadValue(o.value[2]);
        if (!dz || !z) return;
        if (std::abs(z->number - *lastZ_ - dz->number) > heightTolerance(dz->decimals))
            find(n, "summary", msg::kAuditDzEndHeight,
                 "dz %1 m; the end height %2 m minus the last Z gives %3 m",
                 {Fixed(dz->number, dz->decimals), Fixed(z->number, z->decimals),
                  Fixed(z->number - *lastZ_, dz->decimals)});
        return;
    }
    // KD2: the sums of the back and fore distances, the station count, the last Z.
    const int distanceDecimals = std::max(distanceDecimals_, 0);
    const double perStation = 0.5 * std::pow(10.0, -distanceDecimals);
    auto checkSum = [&](int i, const char* name, double sum) {
        const auto v = ReadValue(o.value[i]);
        if (!v) return;
        const double tolerance = 0.5 * std::pow(10.0, -v->decimals) +
                                 perStation * static_cast<double>(stationCount_) + 1e-9;
        if (std::abs(v->number - sum) > tolerance)
            find(n, "summary", msg::kAuditDistanceSum,
                 "%1 %2 m; the stations' distances sum to %3 m",
                 {name, Fixed(v->number, v->decimals), Fixed(sum, distanceDecimals)});
    };
    checkSum(0, "Db", sumDb_);
    if (o.code[1] == "Df") checkSum(1, "Df", sumDf_);
    const std::string counted = line.columns(30, 44);
    const std::optional<long> count = ParseWholeInteger(counted);
    if (count && *count != static_cast<long>(stationCount_))
        find(n, "summary", msg::kAuditStationCount, "station count %1; the line has %2 stations",
             {std::to_string(*count), std::to_string(stationCount_)});
    if (const auto z = o.code[2] == "Z " ? ReadValue(o.value[2]) : std::nullopt;
        z && std::abs(z->number - *lastZ_) > heightTolerance(z->decimals))
        find(n, "summary", msg::kAuditLastZ, "Z %1 m; the last station height is %2 m",
             {Fixed(z->number, z->decimals), Fixed(*lastZ_, zDecimals_)});
}

void Auditor::finish(std::size_t lastLine) {
    if (open_ && !station_.empty())
        find(lastLine, "height", msg::kAuditDataEndsOpen,
             "the data ends with readings from line %1 on that no station height Z closes",
             {std::to_string(station_.firstLine)});
    if (m5Lines_ == 0 && firstOtherLine_ > 0) {
        // Not DiNi data at all (a point list, another instrument's file):
        // one finding instead of one per line. Without M5 lines the only
        // record findings are the per-line ones.
        std::erase_if(result.findings, [](const AuditFinding& f) { return f.check == "record"; });
        find(firstOtherLine_, "record", msg::kAuditNotDiniFile,
             "not DiNi M5 data: no line begins \"For M5\" (the first line is \"%1\")",
             {firstOther_});
        std::rotate(result.findings.begin(), result.findings.end() - 1, result.findings.end());
    } else if (result.levellingLines == 0) {
        // Named at the first record, where a Start-Line should have come
        // (line 1 of a file without any).
        find(std::max<std::size_t>(firstM5Line_, 1), "record", msg::kAuditNoLevellingLine,
             "no levelling line (no \"Start-Line\" record): not DiNi levelling data");
    }
}

double Number(const nlohmann::json& j, const char* key, double fallback,
              const std::filesystem::path& file) {
    if (!j.contains(key)) return fallback;
    if (!j[key].is_number())
        throw FileError({msg::kAuditLimitNotNumber, "%1: \"%2\" must be a number", {file.string(), key}});
    return j[key].get<double>();
}

std::vector<int> Integers(const nlohmann::json& j, const char* key, std::vector<int> fallback,
                          const std::filesystem::path& file) {
    if (!j.contains(key)) return fallback;
    const auto& a = j[key];
    std::vector<int> out;
    if (a.is_array())
        for (const auto& v : a)
            if (v.is_number_integer()) out.push_back(v.get<int>());
    if (out.empty() || out.size() != a.size())
        throw FileError({msg::kAuditLimitNotWholeNumbers, "%1: \"%2\" must be a list of whole numbers",
                         {file.string(), key}});
    return out;
}

}  // namespace

AuditLimits LoadAuditLimits(const std::filesystem::path& file) {
    const auto j = nlohmann::json::parse(ReadFileBytes(file), nullptr, false);
    if (j.is_discarded() || !j.is_object())
        throw FileError({msg::kNotAuditLimits, "%1 is not a JSON object of audit limits", {file.string()}});
    AuditLimits l;
    l.stationSecondsMin = Number(j, "station_seconds_min", l.stationSecondsMin, file);
    l.stationSecondsMax = Number(j, "station_seconds_max", l.stationSecondsMax, file);
    l.heightTolerance = Number(j, "height_tolerance_m", l.heightTolerance, file);
    l.readingDecimals = Integers(j, "reading_decimals", l.readingDecimals, file);
    l.distanceDecimals = Integers(j, "distance_decimals", l.distanceDecimals, file);
    l.staffLength = Number(j, "staff_length_m", l.staffLength, file);
    return l;
}

AuditLimits DefaultAuditLimits() {
    if (auto file = FindDataFile(kAuditLimitsFile)) return LoadAuditLimits(*file);
    return {};
}

bool HoldsDiniLevelling(const Workspace& lines) {
    for (std::string_view line : lines.view())
        if (line.starts_with("For M5|") && line.size() > 31 &&
            line.substr(17, 3) == "TO " && line.substr(21, 10) == "Start-Line")
            return true;
    return false;
}

AuditResult AuditDiniLines(const Workspace& lines, const AuditLimits& limits,
                           const MessageTexts& texts) {
    Auditor auditor(limits, texts);
    zeiss::AddressTracker addresses;
    std::size_t n = 0;
    for (std::string_view line : lines.view()) {
        ++n;
        if (auto gap = addresses.add(line, n))
            auditor.result.findings.push_back({n, "address", gap->text(), gap->text(texts)});
        auditor.record(line, n);
    }
    auditor.finish(n);
    return std::move(auditor.result);
}

}  // namespace tarvosen::levelling
