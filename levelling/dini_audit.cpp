#include "levelling/dini_audit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <optional>

#include "app/data_paths.h"
#include "app/errors.h"
#include "leica/gsi_addresses.h"
#include "leica/gsi_levelling.h"
#include "zeiss/address_continuity.h"

namespace tarvosen::levelling {

namespace {


constexpr long kDay = 86400;

constexpr const char* kNotARecordText =
    "not a record of DiNi levelling data: the reader does not understand this line";
constexpr const char* kNoLevellingLineText =
    "no levelling line (no \"Start-Line\" record): not DiNi levelling data";

// "hh:mm:ss" as seconds of the day; -1 when there is none.
long ClockSeconds(const std::string& t) {
    if (t.size() != 8) return -1;
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

double Mean(const std::vector<double>& values) {
    double sum = 0;
    for (double v : values) sum += v;
    return sum / static_cast<double>(values.size());
}

double Unit(int decimals) { return std::pow(10.0, -decimals); }

// The readings of the station being observed.
struct Station {
    std::vector<double> back, fore, backDistance, foreDistance;
    int readingDecimals = 0;
    long firstTime = -1, lastTime = -1;
    std::size_t firstLine = 0;
    bool empty() const { return back.empty() && fore.empty(); }
};

// Holds the levelling model against itself: the stations (cut by the one
// station rule) against the heights and sums the instrument wrote.
class Auditor : public LevellingSink {
  public:
    Auditor(const AuditLimits& limits, const MessageTexts& texts)
        : limits_(limits), texts_(texts) {}

    void startLine(const LineStart& start) override;
    void observation(const LevelObservation& o) override;
    void summary(const InstrumentSummary& s) override;
    void mark(const LineMark& m) override;
    void endLine(const LineEnd& end) override;
    void finish() override {}
    AuditResult result;

  private:
    // A finding whose text is catalogue message `id` with `values` in its places.
    void find(std::size_t line, const char* check, int id, std::string_view english,
              std::initializer_list<std::string_view> values = {}) {
        result.findings.push_back(
            {line, check, MessageTexts{}(id, english, values), texts_(id, english, values)});
    }
    void reading(const LevelObservation& o);
    void pointHeight(const LevelObservation& o);
    // Closes the station in progress at the instrument's height `z`, or
    // without one (its height follows from the readings).
    void closeStation(std::size_t line, const LevelNumber* z);
    void closeCompleteStation() {
        if (stationRule_.complete()) closeStation(station_.firstLine, nullptr);
    }
    void checkResolution(std::size_t line, const LevelNumber& v, bool reading,
                         const std::vector<int>& allowed, int& fileDecimals);
    void checkTime(std::size_t line, long clock);
    double heightTolerance(int decimals) const {
        return std::max(limits_.heightTolerance, Unit(decimals)) + 1e-9;
    }
    // The tolerance of a height the instrument wrote with `decimals` against
    // the running height: one unit, or the rounding of the readings summed
    // since the last height the instrument wrote.
    double runningTolerance(int decimals) const {
        return std::max(heightTolerance(decimals), readingRounding_ + Unit(decimals) / 2 + 1e-9);
    }

    const AuditLimits& limits_;
    const MessageTexts& texts_;
    bool open_ = false;
    bool inverted_ = false;
    bool lastVoided_ = false;
    std::optional<double> startZ_, lastZ_;
    int zDecimals_ = 5;
    double readingRounding_ = 0;  // m: of the readings summed since the last written height
    Station station_;
    StationReadings stationRule_;
    std::size_t stationCount_ = 0;
    double sumDb_ = 0, sumDf_ = 0;
    long previousTime_ = -1, dayOffset_ = 0;
    int readingDecimals_ = -1, distanceDecimals_ = -1;
};

void Auditor::startLine(const LineStart& start) {
    lastVoided_ = false;
    if (start.continued) {
        open_ = true;
        return;
    }
    ++result.levellingLines;
    open_ = true;
    startZ_.reset();
    lastZ_.reset();
    readingRounding_ = 0;
    station_ = {};
    stationRule_.startLine(start.readingsPerStaff);
    stationCount_ = 0;
    sumDb_ = sumDf_ = 0;
    previousTime_ = -1;
    dayOffset_ = 0;
}

void Auditor::endLine(const LineEnd& end) {
    lastVoided_ = false;
    closeCompleteStation();
    // The level ends a line only after a station: readings of one staff
    // left before the End-Line are inconsistent. (A line the level left
    // without an End-Line is abandoned, not inconsistent.)
    if (!station_.empty())
        find(end.line, "height", msg::kAuditLineEndsOpen,
             "the line ends with readings from line %1 on that make no complete station",
             {std::to_string(station_.firstLine)});
    station_ = {};
    stationRule_.clear();
    open_ = false;
}

void Auditor::mark(const LineMark& m) {
    const bool voidedBefore = lastVoided_;
    lastVoided_ = m.kind == LineMark::Kind::Voided;
    switch (m.kind) {
        case LineMark::Kind::Voided:
            break;
        case LineMark::Kind::StationRepeated:
        case LineMark::Kind::MeasurementRepeated:
            if (!voidedBefore)
                find(m.line, "repeat", msg::kAuditRepeatNotVoided,
                     "\"%1\" follows no voided record; the instrument marks the record it "
                     "replaces with ##### just before",
                     {m.text});
            if (m.kind == LineMark::Kind::StationRepeated) {
                // A complete station before it stands; the one repeated
                // must have been voided whole.
                closeCompleteStation();
                if (!station_.empty())
                    find(m.line, "repeat", msg::kAuditStationRepeatedLeaves,
                         "\"Station repeated\" leaves valid readings of the station from line "
                         "%1; all of them should be voided",
                         {std::to_string(station_.firstLine)});
            }
            break;
        case LineMark::Kind::ErrorRecord: {
            const std::string code = m.text.substr(std::min<std::size_t>(9, m.text.size()));
            const bool digits = !code.empty() && std::all_of(code.begin(), code.end(), [](char c) {
                return c >= '0' && c <= '9';
            });
            if (!digits)
                find(m.line, "error-record", msg::kAuditErrorRecordMalformed,
                     "error record \"%1\": expected \"Reading E\" and the error number", {m.text});
            else if (!open_)
                find(m.line, "error-record", msg::kAuditErrorRecordOutside,
                     "error record \"%1\" outside a levelling line", {m.text});
            break;
        }
        case LineMark::Kind::RodInverted:
            inverted_ = true;
            break;
        case LineMark::Kind::RodNormal:
            inverted_ = false;
            break;
    }
}

void Auditor::checkResolution(std::size_t line, const LevelNumber& v, bool reading,
                              const std::vector<int>& allowed, int& fileDecimals) {
    const std::string decimals = std::to_string(v.decimals());
    if (fileDecimals < 0) {
        if (std::find(allowed.begin(), allowed.end(), v.decimals()) == allowed.end()) {
            const int id = reading ? msg::kAuditReadingDecimals : msg::kAuditDistanceDecimals;
            const char* english = reading
                                      ? "reading written with %1 decimals; the instrument writes %2"
                                      : "distance written with %1 decimals; the instrument writes %2";
            result.findings.push_back(
                {line, "resolution", MessageTexts{}(id, english, {decimals, Listed(allowed, {})}),
                 texts_(id, english, {decimals, Listed(allowed, texts_)})});
            return;
        }
        fileDecimals = v.decimals();
    } else if (v.decimals() != fileDecimals) {
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

void Auditor::observation(const LevelObservation& o) {
    lastVoided_ = false;
    if (o.kind == ObservationKind::PointHeight)
        pointHeight(o);
    else
        reading(o);
}

void Auditor::reading(const LevelObservation& o) {
    const std::size_t n = o.line;
    const LevelNumber& r = o.reading;
    checkResolution(n, r, true, limits_.readingDecimals, readingDecimals_);
    if (o.distance.present())
        checkResolution(n, o.distance, false, limits_.distanceDecimals, distanceDecimals_);
    const double low = inverted_ ? -limits_.staffLength : 0;
    const double high = inverted_ ? 0 : limits_.staffLength;
    if (r.value < low || r.value > high)
        find(n, "staff-range",
             inverted_ ? msg::kAuditOutsideInvertedStaff : msg::kAuditOutsideStaff,
             inverted_ ? "reading %1 m is outside the inverted staff's range %2 to %3 m"
                       : "reading %1 m is outside the staff's range %2 to %3 m",
             {Fixed(r.value, r.decimals()), Fixed(low, 2), Fixed(high, 2)});

    if (o.kind == ObservationKind::Intermediate) {
        checkTime(n, ClockSeconds(o.clockTime));
        // An intermediate sight carries its own height: the instrument's
        // height (last Z plus the backsight) minus the reading.
        if (o.height.present() && lastZ_ && !station_.back.empty()) {
            const double expected = *lastZ_ + Mean(station_.back) - r.value;
            if (std::abs(expected - o.height.value) > heightTolerance(o.height.decimals()))
                find(n, "height", msg::kAuditIntermediateHeight,
                     "intermediate sight height Z %1 m; the readings give %2 m",
                     {Fixed(o.height.value, o.height.decimals()),
                      Fixed(expected, o.height.decimals() + 1)});
        }
        return;
    }
    if (stationRule_.startsStation()) closeStation(station_.firstLine, nullptr);
    if (station_.empty()) station_.firstLine = n;
    checkTime(n, ClockSeconds(o.clockTime));
    stationRule_.add(o.back());
    station_.readingDecimals = std::max(station_.readingDecimals, r.decimals());
    (o.back() ? station_.back : station_.fore).push_back(r.value);
    if (o.distance.present())
        (o.back() ? station_.backDistance : station_.foreDistance).push_back(o.distance.value);
}

void Auditor::pointHeight(const LevelObservation& o) {
    if (station_.empty()) {
        // A height without readings: the start height of the line (entered
        // or carried over).
        if (!lastZ_) startZ_ = o.height.value;
        lastZ_ = o.height.value;
        zDecimals_ = o.height.decimals();
        readingRounding_ = 0;
        return;
    }
    closeStation(o.line, &o.height);
}

void Auditor::closeStation(std::size_t n, const LevelNumber* z) {
    if (station_.back.empty() || station_.fore.empty()) {
        if (station_.back.empty())
            find(n, "height", msg::kAuditNoBacksight, "the station from line %1 has no backsight",
                 {std::to_string(station_.firstLine)});
        else
            find(n, "height", msg::kAuditNoForesight, "the station from line %1 has no foresight",
                 {std::to_string(station_.firstLine)});
    } else if (lastZ_) {
        const double expected = *lastZ_ + Mean(station_.back) - Mean(station_.fore);
        if (z) {
            if (std::abs(expected - z->value) > runningTolerance(z->decimals()))
                find(n, "height", msg::kAuditStationHeight,
                     "station height Z %1 m; the previous Z %2 m and the readings from line %3 "
                     "give %4 m",
                     {Fixed(z->value, z->decimals()), Fixed(*lastZ_, zDecimals_),
                      std::to_string(station_.firstLine), Fixed(expected, z->decimals() + 1)});
        } else {
            // Without a height of the instrument the running height goes on
            // from the readings, and so does their rounding (half a unit of
            // each mean).
            lastZ_ = expected;
            readingRounding_ += Unit(station_.readingDecimals);
        }
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
    if (z && lastZ_) {
        if (!startZ_) startZ_ = *lastZ_;
        lastZ_ = z->value;
        zDecimals_ = z->decimals();
        readingRounding_ = 0;
    }
    station_ = {};
    stationRule_.clear();
}

void Auditor::summary(const InstrumentSummary& s) {
    lastVoided_ = false;
    // The last station of a line without a height after each station ends
    // at the summary.
    closeCompleteStation();
    const std::size_t n = s.line;
    if (!lastZ_ || !startZ_) {
        find(n, "summary", msg::kAuditSummaryWithoutStart,
             "a line summary without a start height before it");
        return;
    }
    if (s.heightSum.present()) {
        const LevelNumber& sh = s.heightSum;
        const double expected = *lastZ_ - *startZ_;
        if (std::abs(sh.value - expected) > runningTolerance(sh.decimals()))
            find(n, "summary", msg::kAuditShSum, "Sh %1 m; the stations sum to %2 m",
                 {Fixed(sh.value, sh.decimals()), Fixed(expected, sh.decimals())});
        if (!s.endDifference.present() || !s.knownEndHeight.present()) return;
        const LevelNumber& dz = s.endDifference;
        const LevelNumber& z = s.knownEndHeight;
        if (std::abs(z.value - *lastZ_ - dz.value) > runningTolerance(dz.decimals()))
            find(n, "summary", msg::kAuditDzEndHeight,
                 "dz %1 m; the end height %2 m minus the last Z gives %3 m",
                 {Fixed(dz.value, dz.decimals()), Fixed(z.value, z.decimals()),
                  Fixed(z.value - *lastZ_, dz.decimals())});
        return;
    }
    if (!s.backDistances.present()) return;
    // The sums of the back and fore distances, the station count, the last Z.
    const int distanceDecimals = std::max(distanceDecimals_, 0);
    const double perStation = 0.5 * Unit(distanceDecimals);
    auto checkSum = [&](const LevelNumber& v, const char* name, double sum) {
        // The level writes the sums to 0.01 m with a trailing zero (46.280);
        // the zeros at the end tell nothing of their resolution.
        int decimals = v.decimals();
        for (std::size_t i = v.text.size(); decimals > 0 && i > 0 && v.text[i - 1] == '0'; --i)
            --decimals;
        const double tolerance = 0.5 * Unit(decimals) +
                                 perStation * static_cast<double>(stationCount_) + 1e-9;
        if (std::abs(v.value - sum) > tolerance)
            find(n, "summary", msg::kAuditDistanceSum,
                 "%1 %2 m; the stations' distances sum to %3 m",
                 {name, Fixed(v.value, v.decimals()), Fixed(sum, distanceDecimals)});
    };
    checkSum(s.backDistances, "Db", sumDb_);
    if (s.foreDistances.present()) checkSum(s.foreDistances, "Df", sumDf_);
    if (s.stationCount && *s.stationCount != static_cast<long>(stationCount_))
        find(n, "summary", msg::kAuditStationCount, "station count %1; the line has %2 stations",
             {std::to_string(*s.stationCount), std::to_string(stationCount_)});
    if (const LevelNumber& z = s.reachedHeight;
        z.present() && std::abs(z.value - *lastZ_) > runningTolerance(z.decimals()))
        find(n, "summary", msg::kAuditLastZ, "Z %1 m; the last station height is %2 m",
             {Fixed(z.value, z.decimals()), Fixed(*lastZ_, zDecimals_)});
}

// Reads nothing into nothing: the account of a run that only counts lines.
class NoSink : public LevellingSink {
  public:
    void startLine(const LineStart&) override {}
    void observation(const LevelObservation&) override {}
    void finish() override {}
};

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
            (line.substr(17, 3) == "KD1" || line.substr(17, 3) == "KD2" ||
             (line.substr(17, 3) == "TO " && line.substr(21, 10) == "Start-Line")))
            return true;
    return false;
}

AuditResult AuditDiniLines(CommandContext& ctx, const Workspace& lines, const std::string& file,
                           const AuditLimits& limits) {
    const MessageTexts texts = TextsOf(ctx);
    // A GSI word's unit code fixes its decimals (1 mm, 1/10 mm or 1/100 mm).
    // A Leica level computes its heights from unrounded readings: the four
    // written readings of a station and its two heights are each rounded to
    // 0.01 mm, so the written values may differ by 0.02 mm.
    AuditLimits gsiLimits = limits;
    const bool gsi = leica::IsGsiLevelling(lines);
    if (gsi) {
        gsiLimits.readingDecimals = gsiLimits.distanceDecimals = {3, 4, 5};
        gsiLimits.heightTolerance = std::max(limits.heightTolerance, 0.00002);
    }
    Auditor auditor(gsi ? gsiLimits : limits, texts);
    AuditResult& result = auditor.result;
    result.outcome = ReadLevelling(ctx, lines, file, auditor, result.account);
    if (result.outcome == ReadOutcome::Refused) return std::move(result);
    // Lines the reader does not understand are no records the level writes.
    for (const auto& f : result.account.files())
        for (const auto& [first, last] : f.notUnderstood.ranges())
            for (std::size_t n = first; n <= last; ++n)
                auditor.result.findings.push_back(
                    {n, "record", MessageTexts{}(msg::kAuditLineNotUnderstood, kNotARecordText),
                     texts(msg::kAuditLineNotUnderstood, kNotARecordText)});
    if (result.levellingLines == 0)
        // Named at the first line, where a Start-Line should have come.
        result.findings.push_back(
            {1, "record",
             MessageTexts{}(msg::kAuditNoLevellingLine, kNoLevellingLineText),
             texts(msg::kAuditNoLevellingLine, kNoLevellingLineText)});
    zeiss::AddressTracker addresses;
    std::size_t n = 0;
    for (std::string_view line : lines.view()) {
        ++n;
        if (auto gap = addresses.add(line, n))
            result.findings.push_back({n, "address", gap->text(), gap->text(texts)});
    }
    if (gsi)
        for (auto& g : leica::GsiAddressFindings(lines, file, texts))
            result.findings.push_back({g.line, "address", std::move(g.english), std::move(g.shown)});
    std::stable_sort(result.findings.begin(), result.findings.end(),
                     [](const AuditFinding& a, const AuditFinding& b) { return a.line < b.line; });
    return std::move(result);
}

std::optional<LineAccount> AccountDiniLines(CommandContext& ctx, const Workspace& lines) {
    NoSink sink;
    LineAccount account;
    if (ReadLevelling(ctx, lines, DocumentFileName(ctx), sink, account) == ReadOutcome::Refused)
        return std::nullopt;
    return account;
}

}  // namespace tarvosen::levelling
