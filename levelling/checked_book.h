#pragma once
// The high-order levelling record book: one sheet per levelling line, four
// rows per set-up, every station checked against the tolerance limits of the
// chosen class (an exceeded quantity in red, the check named in the remark),
// and a section summary with the sums of the distances and readings.

#include <optional>
#include <vector>

#include "app/options_store.h"
#include "levelling/book_support.h"
#include "levelling/record_book.h"
#include "levelling/tolerance_classes.h"
#include "levelling/levelling_options.h"

namespace tarvosen::levelling {

class HighOrderBook : public RecordBook {
  public:
    // `texts` words the warnings about lines left out.
    HighOrderBook(ss::SpreadsheetSession& session, UserInterface& user,
                  const ToleranceOptions& options, const MessageTexts& texts = {})
        : RecordBook(user, texts), session_(session), options_(options) {}

    void startSheet(const std::string& name, int readingsPerStaff) override;
    void put(const LevelObservation& line) override;
    void finishBook() override {
        finishSheet();
        intermediateSights_.report(user_, fileName(), texts_);
    }
    // "Limits exceeded: 3." in the user's language.
    std::string resultSentence(const CommandContext& ctx) const override;
    int exceededCount() const { return exceeded_; }

    static int GroupRow(int i) { return 4 * i + 9; }

  private:
    struct Sums {
        double b1 = 0, b2 = 0, c1 = 0, c2 = 0, d1 = 0, e1 = 0, d2 = 0, e2 = 0;
    };

    void writeHeader();
    void openGroup();
    void putSight(const LevelObservation& line, bool back);
    void finishSheet();
    void checkGroup(const ss::Sheet& s, int g, Sums& sums);
    void writeGroupFormulas(const ss::Sheet& s, int r, bool single);
    const ToleranceLimits& limits();

    ss::SpreadsheetSession& session_;
    const ToleranceOptions& options_;
    std::optional<ToleranceLimits> limits_;
    std::optional<ss::Sheet> sheet_;
    int group_ = -1;
    StationReadings station_;
    std::vector<bool> single_;  // per set-up: each staff read once
    LeftOutLines beforeFirstPoint_;
    LeftOutLines extraReadings_;
    LeftOutIntermediateSights intermediateSights_;  // this layout has no place for them
    int exceeded_ = 0;  // quantities marked red in every sheet
};

}  // namespace tarvosen::levelling
