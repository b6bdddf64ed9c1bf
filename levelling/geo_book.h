#pragma once
// The geological institute's levelling record book: one sheet per levelling
// line, one row per station with two readings on each staff, return runs
// written in the orientation of the forward run, a section summary, and the
// intermediate sights with their heights relative to the start point.

#include <optional>
#include <string>
#include <vector>

#include "app/options_store.h"
#include "levelling/book_support.h"
#include "levelling/record_book.h"
#include "levelling/levelling_options.h"

namespace tarvosen::levelling {

class GeoInstituteBook : public RecordBook {
  public:
    // `texts` words the warnings about lines left out.
    GeoInstituteBook(ss::SpreadsheetSession& session, UserInterface& user,
                     const GeoBookOptions& options, const MessageTexts& texts = {})
        : RecordBook(user, texts), session_(session), options_(options) {}

    void startSheet(const std::string& name, int readingsPerStaff) override;
    void put(const LevelObservation& line) override;
    void lineEnded(const LineEnd& end) override;
    void finishBook() override { finishSheet(); }

    // The row of station q (0-based).
    static int StationRow(int q) { return q + 12; }

  private:
    struct IntermediateSight {
        int station;       // q when the sight was met
        std::string name;  // kept as text
        double reading;
    };

    void writeHeader();
    void putSight(const LevelObservation& line);
    void putIntermediateSight(const LevelObservation& line);
    void finishSheet();
    void writeIntermediateSights(const ss::Sheet& s, int n);
    static std::string TotalDistanceFormula(const ss::Sheet& s, int n);
    bool singleRow(int q) const {
        return q >= 0 && static_cast<std::size_t>(q) < single_.size() && single_[q];
    }

    ss::SpreadsheetSession& session_;
    const GeoBookOptions& options_;
    std::optional<ss::Sheet> sheet_;
    int q_ = 0;
    int readingsPerStaff_ = 2;
    StationReadings station_;   // of the row in progress, by back and fore set
    std::vector<bool> single_;  // per station row: each staff read once
    bool sightSeen_ = false;
    std::string clockTime_;
    std::vector<IntermediateSight> intermediates_;
    LeftOutLines extraReadings_;
};

}  // namespace tarvosen::levelling
