#include "levelling/network/level_runs.h"

#include <cmath>

#include "levelling/book_support.h"
#include "spreadsheet/values.h"
#include "zeiss/fixed_columns.h"

namespace tarvosen::levelling {

namespace {

struct Sight {
    double reading = 0;
    double distance = 0;
    std::size_t line = 0;
};

// The remarks of the high-order record book, one per check.
constexpr const char* kReadingsExceeded = "两次读数差超限";
constexpr const char* kHeightDifferencesExceeded = "读数差之差超限";
constexpr const char* kSightDifferenceExceeded = "视距差超限";
constexpr const char* kAccumulatedExceeded = "累积差超限";
constexpr const char* kSightLengthExceeded = "视线长超限";

class RunCollector : public LevellingSink {
  public:
    RunCollector(CommandContext& ctx, const ToleranceProfile& profile, RunsOfFile& out)
        : ctx_(ctx), profile_(profile), out_(out) {}

    void startLine(const LineStart& start) override {
        // A continued line goes on with the run it left.
        if (start.continued && !lineName_.empty()) return;
        finishRun();
        lineName_ = start.name;
        station_.startLine(start.readingsPerStaff);
        accumulated_ = 0;
    }
    void observation(const LevelObservation& o) override {
        if (o.kind == ObservationKind::PointHeight)
            pointHeight(spreadsheet::ToUtf8(o.point), o.line);
        else if (o.sight())
            sight(o);
    }
    void endLine(const LineEnd&) override {
        // A line recorded without a height after each station ends at the
        // fore point of its last station.
        if (station_.complete()) closeStationAtForePoint();
    }
    void finish() override {
        finishRun();
        const MessageTexts texts = TextsOf(ctx_);
        unread_.report(ctx_.user, fileName(),
                       texts(msg::kOutsideCompleteStation, "readings outside a complete station"),
                       texts);
    }

  private:
    void sight(const LevelObservation& o) {
        // Stations are cut by the one rule: a reading after a complete
        // station begins the next, ending the complete one at its fore point.
        if (!run_.points.empty() && station_.startsStation()) closeStationAtForePoint();
        std::vector<Sight>& sights = o.back() ? backs_ : fores_;
        // A third reading of one staff is left out, as the record books do.
        if (run_.points.empty() || sights.size() >= 2 || !o.distance.present()) {
            unread_.add(o.line);
            return;
        }
        sights.push_back({o.reading.value, o.distance.value, o.line});
        station_.add(o.back());
        if (!o.back()) {
            forePoint_ = spreadsheet::ToUtf8(o.point);
            foreLine_ = o.line;
        }
    }

    void closeStationAtForePoint() {
        closeStation();
        run_.points.push_back(forePoint_);
        run_.pointLines.push_back(foreLine_);
        clearStation();
    }

    void clearStation() {
        backs_.clear();
        fores_.clear();
        station_.clear();
    }

    void pointHeight(const std::string& name, std::size_t lineNumber) {
        if (run_.points.empty()) {
            openRun(name, lineNumber);
        } else if (!backs_.empty() && !fores_.empty()) {
            closeStation();
            run_.points.push_back(name);
            run_.pointLines.push_back(lineNumber);
        } else {
            for (const auto& s : backs_) unread_.add(s.line);
            for (const auto& s : fores_) unread_.add(s.line);
            // A point height without a complete station (a continued line
            // repeating its last point, or a new start) goes on from there;
            // another point begins a new run.
            if (name != run_.points.back()) {
                finishRun();
                openRun(name, lineNumber);
            }
        }
        clearStation();
    }

    void openRun(const std::string& name, std::size_t lineNumber) {
        run_.file = fileName();
        run_.lineName = lineName_;
        run_.points = {name};
        run_.pointLines = {lineNumber};
    }

    void flag(const char* what, std::size_t line, LevelStation& station) {
        out_.stationViolations.push_back({what, fileName(), line});
        ++station.violations;
    }

    static double Mean(const std::vector<Sight>& s, double Sight::*field) {
        return s.size() == 2 ? (s[0].*field + s[1].*field) / 2 : s[0].*field;
    }

    // The checks of the high-order book: strict comparisons, so a value equal
    // to its limit passes; the two-reading checks only where a staff was read
    // twice; the accumulated difference over the levelling line by its size,
    // whichever sight is the longer.
    void closeStation() {
        LevelStation station;
        const double back = Mean(backs_, &Sight::reading), fore = Mean(fores_, &Sight::reading);
        const double backDistance = Mean(backs_, &Sight::distance);
        const double foreDistance = Mean(fores_, &Sight::distance);
        station.heightDifference = back - fore;
        station.length = backDistance + foreDistance;
        const std::size_t last = std::max(backs_.back().line, fores_.back().line);

        for (const auto* sights : {&backs_, &fores_}) {
            const auto& s = *sights;
            if (s.size() == 2 &&
                std::abs(s[0].reading - s[1].reading) * 1000 > profile_.readingDifferenceMm)
                flag(kReadingsExceeded, s[1].line, station);
        }
        if (backs_.size() == 2 && fores_.size() == 2) {
            const double h1 = backs_[0].reading - fores_[0].reading;
            const double h2 = backs_[1].reading - fores_[1].reading;
            if (std::abs(h1 - h2) * 1000 > profile_.heightDifferenceMm)
                flag(kHeightDifferencesExceeded, last, station);
        }
        const double difference = backDistance - foreDistance;
        if (std::abs(difference) > profile_.sightDifferenceM)
            flag(kSightDifferenceExceeded, last, station);
        accumulated_ += difference;
        if (std::abs(accumulated_) > profile_.accumulatedDifferenceM)
            flag(kAccumulatedExceeded, last, station);
        for (const auto* sights : {&backs_, &fores_})
            for (const auto& s : *sights)
                if (s.distance > profile_.sightLengthM) flag(kSightLengthExceeded, s.line, station);
        run_.stations.push_back(station);
    }

    void finishRun() {
        for (const auto& s : backs_) unread_.add(s.line);
        for (const auto& s : fores_) unread_.add(s.line);
        clearStation();
        if (!run_.stations.empty()) out_.runs.push_back(std::move(run_));
        run_ = LevelRun{};
    }

    CommandContext& ctx_;
    const ToleranceProfile& profile_;
    RunsOfFile& out_;
    std::string lineName_;
    LevelRun run_;
    std::vector<Sight> backs_, fores_;
    StationReadings station_;
    std::string forePoint_;
    std::size_t foreLine_ = 0;
    double accumulated_ = 0;
    LeftOutLines unread_;
};

}  // namespace

RunsOfFile ReadLevelRuns(CommandContext& ctx, const Workspace& lines, const std::string& file,
                         const ToleranceProfile& profile, LineAccount& account) {
    RunsOfFile out;
    RunCollector collector(ctx, profile, out);
    out.outcome = ReadLevelling(ctx, lines, file, collector, account);
    return out;
}

}  // namespace tarvosen::levelling
