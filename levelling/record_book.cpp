#include "levelling/record_book.h"

#include "i18n/message_catalogue.h"

namespace tarvosen::levelling {

void RecordBook::startLine(const LineStart& start) {
    // A continued line goes on on its sheet; one whose start lay in an
    // earlier download (no sheet yet) gets a sheet named after it.
    if (start.continued && (anySheet_ || pending_)) {
        open_ = anySheet_ && !pending_;
        return;
    }
    reportAbandonedStation();
    pending_ = start;
    open_ = false;
    station_.startLine(start.readingsPerStaff);
}

void RecordBook::observation(const LevelObservation& observation) {
    if (pending_) {
        lineName_ = pending_->name;
        startSheet(pending_->name, pending_->readingsPerStaff);
        pending_.reset();
        anySheet_ = open_ = true;
        ++sheets_;
    }
    if (!open_) return;
    if (observation.sight()) {
        if (station_.startsStation()) station_.clear();
        if (station_.empty()) stationLine_ = observation.line;
        station_.add(observation.back());
    } else if (observation.kind == ObservationKind::PointHeight) {
        // A height closes the station; the books name what they cannot place.
        station_.clear();
    }
    put(observation);
}

void RecordBook::endLine(const LineEnd& end) {
    if (!open_ || pending_) return;
    reportAbandonedStation();
    station_.clear();
    lineEnded(end);
    open_ = false;
}

void RecordBook::finish() {
    reportAbandonedStation();
    station_.clear();
    finishBook();
}

void RecordBook::reportAbandonedStation() {
    if (station_.empty() || (station_.backs() > 0 && station_.fores() > 0)) return;
    user_.warning(texts_(msg::kAbandonedStation,
                         "%1, levelling line %2: the station from line %3 has readings of one "
                         "staff only (the line was left there); it has no height difference.",
                         {fileName(), lineName_, std::to_string(stationLine_)}));
    station_.clear();
}

}  // namespace tarvosen::levelling
