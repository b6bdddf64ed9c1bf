#include "levelling/network/point_names.h"

#include <unordered_map>

namespace tarvosen::levelling {

std::vector<std::pair<PointSpelling, PointSpelling>> NamesEqualApartFromCase(
    const std::vector<LevelSection>& sections) {
    std::unordered_map<std::string, std::vector<PointSpelling>> spellings;  // by folded name
    std::vector<std::pair<PointSpelling, PointSpelling>> found;
    auto meet = [&](const std::string& name, const std::string& file, std::size_t line) {
        std::string folded = name;
        for (char& c : folded)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        auto& known = spellings[folded];
        for (const auto& s : known)
            if (s.name == name) return;
        known.push_back({name, file, line});
        if (known.size() > 1) found.emplace_back(known.back(), known.front());
    };
    for (const LevelSection& s : sections) {
        meet(s.from, s.file, s.firstLine);
        meet(s.to, s.file, s.lastLine);
    }
    return found;
}

}  // namespace tarvosen::levelling
