#include "points/point_record.h"
#include "points/point_list_options.h"

#include <utility>

namespace tarvosen::points {

namespace {

LineIssue MisfitIssue(const PointListShape& s) {
    const bool cass = s.layout == PointListLayout::Cass;
    const bool commas = s.separator == FieldSeparator::Comma;
    std::string text = cass ? "did not hold name, code, east, north and height"
                            : "did not hold name, X, Y and Z";
    text += commas ? " separated by commas" : " separated by blanks or tabs";
    return LineIssue(msg::kMisfitLines + (cass ? 20 : 0) + (commas ? 0 : 10),
                     "%1 " + text + "; the fields were read as they stand.");
}

}  // namespace

PointListReader::PointListReader(const Workspace& lines, PointListLayout wanted,
                                 const MessageTexts& texts, std::string file)
    : texts_(texts),
      file_(std::move(file)),
      account_(file_),
      decision_(DecidePointListLayout(lines, wanted, texts)),
      lines_(lines, account_),
      misfit_(MisfitIssue(decision_.shape)) {}

void PointListReader::settle() {
    if (unsettled_) account_.used(unsettled_);
    unsettled_ = 0;
}

void PointListReader::leaveOut() {
    if (unsettled_) account_.notUnderstood(unsettled_);
    unsettled_ = 0;
}

void PointListReader::readImperfectly() {
    if (unsettled_) account_.notUnderstoodReported(unsettled_);
    unsettled_ = 0;
}

const LineAccount& PointListReader::account() {
    settle();
    return account_;
}

bool PointListReader::ReadPointRecord(PointRecord& record) {
    settle();
    if (!refusal().empty() || !lines_.nextNonBlank(line_)) return false;
    const auto& s = shape();
    const LineFields fields = SplitPointLine(line_, s.separator);
    AssignFields(fields, s.layout, s.separator, record);
    const bool ownWithCommas =
        s.layout == PointListLayout::Own && s.separator == FieldSeparator::Comma;
    const bool fits =
        ownWithCommas ? fields.commas >= 3 : FitsLayout(fields, s.layout, s.separator);
    unsettled_ = lineNumber();
    if (!fits) {
        (ownWithCommas ? short_ : misfit_).add(lineNumber());
        readImperfectly();
    }
    return true;
}

std::vector<std::string> PointListReader::warnings() const {
    std::vector<std::string> out;
    for (const auto* issue : {&short_, &misfit_})
        if (!issue->empty()) out.push_back(issue->message(file_, texts_));
    if (auto z = lines_.ctrlZWarning(file_, texts_); !z.empty()) out.push_back(std::move(z));
    return out;
}

}  // namespace tarvosen::points
