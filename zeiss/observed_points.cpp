#include "zeiss/observed_points.h"

#include <algorithm>

#include "i18n/message_catalogue.h"
#include "zeiss/record_account.h"

namespace tarvosen::zeiss {

namespace {

// The lines named in a message before "and N more".
constexpr std::size_t kNamedLines = 10;

}  // namespace

bool IsTargetOffset(std::string_view type) {
    return type == "Tv" || type == "Tl" || type == "Tr";
}

void ObservedPoints::beforeRecord(const R5Line& line, bool holdsCoordinates) {
    const std::string code = line.code(), number = line.pointNumber();
    if (held_) {
        const bool instrumentsOwn =
            holdsCoordinates && code == held_->code && number == held_->number;
        if (instrumentsOwn) {
            account_.passedOver(held_->line, kReplacedObservations);
        } else {
            writer_.writePointLine(held_->point.x, held_->point.y, held_->point.z, held_->code,
                                   held_->number);
            account_.used(held_->line);
        }
        held_.reset();
    }
    // Text records may stand between an offset and its observation.
    if (offsets_.empty() || line.kind() != "KR") return;
    const bool samePoint = code == offsetCode_ && number == offsetNumber_;
    if (!samePoint || !(IsTargetOffset(line.fieldType(0)) || line.fieldType(1) == "Hz"))
        warnUnapplied();
}

void ObservedPoints::offset(const R5Line& line) {
    const std::string type = line.fieldType(0);
    // A second offset of the same kind replaces the first.
    std::erase_if(offsets_, [&](const Offset& o) {
        if (o.type == type) warn(o);
        return o.type == type;
    });
    const double metres = line.fieldNumber(0);
    offsets_.push_back(
        {type, std::string(Trim(line.fieldValue(0), Blanks::Spaces)), metres, line.lineNumber()});
    offsetCode_ = line.code();
    offsetNumber_ = line.pointNumber();
}

void ObservedPoints::observation(const R5Line& line, const StationState& station, bool compute) {
    if (!compute) {
        dropOffsets(kNotComputed);
        account_.passedOver(line.lineNumber(), kNotComputed);
        return;
    }
    const std::size_t distance = R5Line::fieldColumn(0) + 3;
    if (line.isBlank(distance, distance + 10)) {
        withoutDistance_.push_back(std::to_string(line.lineNumber()));
        warnUnapplied();
        account_.passedOver(line.lineNumber(), kDirectionsOnly);
        return;
    }
    if (!station.stationSet) {
        dropOffsets(kBeforeStation);
        account_.passedOver(line.lineNumber(), kBeforeStation);
        return;
    }
    // The angles must be numbers; a garbled one would place the point wrongly.
    line.number(R5Line::fieldColumn(1) + 3, R5Line::fieldColumn(1) + 13);
    line.number(R5Line::fieldColumn(2) + 3, R5Line::fieldColumn(2) + 13);
    PolarObservation observation{line.fieldValue(1), line.fieldUnit(1), line.fieldValue(2),
                                 line.fieldUnit(2), line.fieldNumber(0)};
    for (const Offset& o : offsets_) {
        if (o.type == "Tv") observation.alongOffset += o.metres;
        if (o.type == "Tl") observation.acrossOffset += o.metres;
        if (o.type == "Tr") observation.acrossOffset -= o.metres;
        account_.used(o.line);
    }
    offsets_.clear();
    held_ = Computed{ComputePolarPoint(station, observation), line.code(), line.pointNumber(),
                     line.lineNumber()};
}

void ObservedPoints::finish() {
    if (held_) {
        writer_.writePointLine(held_->point.x, held_->point.y, held_->point.z, held_->code,
                               held_->number);
        account_.used(held_->line);
    }
    held_.reset();
    warnUnapplied();
    if (withoutDistance_.empty()) return;
    const MessageTexts texts = TextsOf(ctx_);
    const std::size_t named = std::min(withoutDistance_.size(), kNamedLines);
    const std::vector<std::string> lines(withoutDistance_.begin(),
                                         withoutDistance_.begin() + static_cast<long>(named));
    ctx_.user.information(
        DocumentFileName(ctx_) + ": " +
        texts(msg::kObservationsWithoutDistance,
              "Observations without a distance give no point (a direction alone does not place "
              "one): lines %1.",
              {ListOf(lines, texts, true, withoutDistance_.size() - named)}));
}

void ObservedPoints::warnUnapplied() {
    for (const Offset& o : offsets_) warn(o);
    offsets_.clear();
}

void ObservedPoints::dropOffsets(PassedOverKind kind) {
    for (const Offset& o : offsets_) account_.passedOver(o.line, kind);
    offsets_.clear();
}

void ObservedPoints::warn(const Offset& offset) {
    account_.passedOver(offset.line, kUnappliedOffsets);
    const MessageTexts texts = TextsOf(ctx_);
    ctx_.user.warning(DocumentFileName(ctx_) + ":" + std::to_string(offset.line) + ": " +
                      texts(msg::kOffsetNotApplied,
                            "the target offset %1 %2 of point %3 is not applied: no observation "
                            "of the point with a distance follows it",
                            {offset.type, offset.text, Trim(offsetNumber_, Blanks::Spaces)}));
}

}  // namespace tarvosen::zeiss
