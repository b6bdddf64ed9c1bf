#pragma once
// What a record book does with a levelling line: a sheet per line, made at
// the line's first observation (a line started and left without one gets
// none), and the observations of the line on it.

#include <optional>
#include <string>

#include "app/user_interface.h"
#include "levelling/levelling_model.h"

namespace tarvosen::levelling {

class RecordBook : public LevellingSink {
  public:
    // Finishes the previous sheet, if any, and adds a new one with its
    // header, for a line read readingsPerStaff times on each staff.
    virtual void startSheet(const std::string& name, int readingsPerStaff) = 0;
    // An observation of the open levelling line.
    virtual void put(const LevelObservation& observation) = 0;
    // The end of the open line's sheet (its last point named by `end`).
    virtual void lineEnded(const LineEnd&) {}
    // A sentence told with the saved book (what its checks found), or empty.
    virtual std::string resultSentence(const CommandContext&) const { return {}; }

    // `user` hears of a line left with a station that lacks one staff.
    explicit RecordBook(UserInterface& user, const MessageTexts& texts)
        : user_(user), texts_(texts) {}

    // Sheets made, one per levelling line with observations.
    int sheetCount() const { return sheets_; }

    void startLine(const LineStart& start) override;
    void observation(const LevelObservation& observation) override;
    void endLine(const LineEnd& end) override;
    void finish() override;

  protected:
    // The book's own end of the data: finishes the last sheet.
    virtual void finishBook() = 0;
    UserInterface& user_;
    MessageTexts texts_;

  private:
    // A line that stops in a station with readings of one staff only (the
    // level's line abandoned) is warned about: that station has no height
    // difference.
    void reportAbandonedStation();

    std::optional<LineStart> pending_;
    bool anySheet_ = false;
    int sheets_ = 0;
    bool open_ = false;
    std::string lineName_;
    StationReadings station_;
    std::size_t stationLine_ = 0;  // the first reading of the station in progress
};

}  // namespace tarvosen::levelling
