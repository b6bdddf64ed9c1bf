#include "points/point_record.h"
#include "points/point_list_options.h"

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
                                 const MessageTexts& texts)
    : texts_(texts),
      decision_(DecidePointListLayout(lines, wanted, texts)),
      lines_(lines),
      misfit_(MisfitIssue(decision_.shape)) {}

bool PointListReader::ReadPointRecord(PointRecord& record) {
    if (!refusal().empty() || !lines_.nextNonBlank(line_)) return false;
    const auto& s = shape();
    const LineFields fields = SplitPointLine(line_, s.separator);
    AssignFields(fields, s.layout, s.separator, record);
    if (s.layout == PointListLayout::Own && s.separator == FieldSeparator::Comma) {
        if (fields.commas < 3) short_.add(lineNumber());
    } else if (!FitsLayout(fields, s.layout, s.separator)) {
        misfit_.add(lineNumber());
    }
    return true;
}

std::vector<std::string> PointListReader::warnings() const {
    std::vector<std::string> out;
    for (const auto* issue : {&short_, &misfit_})
        if (!issue->empty()) out.push_back(issue->message(texts_));
    if (auto z = lines_.ctrlZWarning(texts_); !z.empty()) out.push_back(std::move(z));
    return out;
}

}  // namespace tarvosen::points
