#pragma once
// The levelling record book in the surveying institute's layout: one sheet
// per levelling line, three rows per set-up with the reading differences,
// height differences and sight-distance differences as formulas, and a
// closing block with the sum of the height differences and the line length.

#include <optional>
#include <vector>

#include "levelling/book_support.h"
#include "levelling/record_book.h"

namespace tarvosen::levelling {

class SurveyInstituteBook : public RecordBook {
  public:
    // `texts` words the warnings about lines left out.
    SurveyInstituteBook(ss::SpreadsheetSession& session, UserInterface& user,
                        const MessageTexts& texts = {})
        : RecordBook(user, texts), session_(session) {}

    void startSheet(const std::string& name, int readingsPerStaff) override;
    void put(const LevelObservation& line) override;
    void finishBook() override {
        finishSheet();
        intermediateSights_.report(user_, fileName(), texts_);
    }

    // The first row of set-up i (0-based).
    static int GroupRow(int i) { return 3 * i + 9; }
    // Longest formula a spreadsheet program accepts.
    static constexpr std::size_t kMaxFormulaLength = 8192;

  private:
    void writeHeader();
    void openGroup(const LevelObservation* pointHeight);
    void putSight(const LevelObservation& line, bool back);
    void finishSheet();

    ss::SpreadsheetSession& session_;
    std::optional<ss::Sheet> sheet_;
    int group_ = -1;  // i
    StationReadings station_;
    std::vector<bool> single_;  // per set-up: each staff read once
    std::string lastForePoint_;
    LeftOutLines beforeFirstPoint_;
    LeftOutLines extraReadings_;
    LeftOutIntermediateSights intermediateSights_;  // this layout has no place for them
};

}  // namespace tarvosen::levelling
