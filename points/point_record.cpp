#include "points/point_record.h"

#include <algorithm>

namespace tarvosen::points {

bool CutToFieldLimit(std::string& field) {
    if (field.size() <= kFieldLimit) return false;
    field.resize(kFieldLimit);
    return true;
}

PointLineShape ParsePointLine(std::string_view line, PointRecord& record) {
    PointLineShape shape;
    std::string* fields[] = {&record.name, &record.x, &record.y, &record.z, &record.code};
    for (int i = 0; i < 5; ++i) {
        std::string& field = *fields[i];
        if (i < 4) {
            const auto comma = line.find(',');
            field.assign(line.substr(0, comma));
            if (comma == std::string_view::npos) {
                line = {};
            } else {
                line.remove_prefix(comma + 1);
                ++shape.commas;
            }
        } else {
            // The code is the rest of the line.
            field.assign(line);
            shape.commas += static_cast<int>(std::count(line.begin(), line.end(), ','));
        }
        if (CutToFieldLimit(field)) shape.fieldCut = true;
    }
    return shape;
}

PointListReader::PointListReader(const Workspace& lines) : lines_(lines) {}

bool PointListReader::ReadPointRecord(PointRecord& record) {
    if (lines_.nextNonBlank(line_)) {
        const auto shape = ParsePointLine(line_, record);
        if (shape.fieldCut) cut_.add(lineNumber());
        if (shape.commas < 3) short_.add(lineNumber());
        return true;
    }
    return false;
}

std::vector<std::string> PointListReader::warnings() const {
    std::vector<std::string> out;
    for (const auto* issue : {&cut_, &short_})
        if (!issue->empty()) out.push_back(issue->message());
    if (auto z = lines_.ctrlZWarning(); !z.empty()) out.push_back(std::move(z));
    return out;
}

}  // namespace tarvosen::points
