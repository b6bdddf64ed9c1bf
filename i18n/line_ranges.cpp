#include "i18n/line_ranges.h"

#include <algorithm>

namespace tarvosen {

void LineRanges::add(std::size_t line) {
    // The first range that ends at or after the line before `line`.
    auto it = std::lower_bound(ranges_.begin(), ranges_.end(), line,
                               [](const auto& r, std::size_t l) { return r.second + 1 < l; });
    if (it != ranges_.end() && it->first <= line && line <= it->second) return;
    ++count_;
    if (it == ranges_.end() || line + 1 < it->first) {
        ranges_.insert(it, {line, line});
        return;
    }
    // `line` touches *it: just before its start or just after its end.
    if (line + 1 == it->first) {
        it->first = line;
    } else {
        it->second = line;
        const auto next = it + 1;
        if (next != ranges_.end() && next->first == line + 1) {
            it->second = next->second;
            ranges_.erase(next);
        }
    }
}

std::string LineRanges::text(const MessageTexts& texts, std::size_t namedAtMost) const {
    std::vector<std::string> named;
    std::size_t namedLines = 0;
    for (const auto& [first, last] : ranges_) {
        if (last >= first + 2) {
            if (named.size() >= namedAtMost) break;
            named.push_back(texts(msg::kLineRange, "%1-%2",
                                  {std::to_string(first), std::to_string(last)}));
            namedLines += last - first + 1;
            continue;
        }
        for (std::size_t l = first; l <= last && named.size() < namedAtMost; ++l, ++namedLines)
            named.push_back(std::to_string(l));
        if (named.size() >= namedAtMost) break;
    }
    return ListOf(named, texts, true, count_ - namedLines);
}

std::string LineRangesText(const std::vector<std::size_t>& lines, const MessageTexts& texts,
                           std::size_t namedAtMost) {
    LineRanges ranges;
    for (std::size_t line : lines) ranges.add(line);
    return ranges.text(texts, namedAtMost);
}

}  // namespace tarvosen
