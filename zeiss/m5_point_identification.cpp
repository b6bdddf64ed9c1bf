#include "zeiss/m5_point_identification.h"

#include <vector>

namespace tarvosen::zeiss {

namespace {

constexpr std::size_t kBlockFirst = 22, kBlockLast = 48;
// Where the layouts end the number: this program's writer, the Elta R55.
constexpr std::size_t kOwnNumberEnd = 35, kEltaNumberEnd = 40;
// This program writes the three R5 code columns into 46-48.
constexpr std::size_t kOwnCodeColumns = 46;

struct Word {
    std::size_t first, last;  // columns
};

std::vector<Word> WordsOf(const M5Line& line) {
    std::vector<Word> words;
    for (std::size_t c = kBlockFirst; c <= kBlockLast; ++c) {
        if (line.at(c) == ' ') continue;
        const std::size_t first = c;
        while (c < kBlockLast && line.at(c + 1) != ' ') ++c;
        words.push_back({first, c});
    }
    return words;
}

// The text of columns first..last with blanks at both ends removed.
std::string TrimmedColumns(const M5Line& line, std::size_t first, std::size_t last) {
    if (first > last) return {};
    return std::string(Trim(line.columns(first, last), Blanks::SpacesAndControls));
}

// The code of a number that ends at column 35 or 40: the text after it (on
// this program's own lines from column 46 at the latest, so the three R5 code
// columns keep their blanks), or the words before the number when nothing
// follows it.
std::string CodeAround(const M5Line& line, const Word& number) {
    std::string after;
    if (number.last == kOwnNumberEnd) {
        std::size_t from = number.last + 1;
        while (from < kOwnCodeColumns && line.at(from) == ' ') ++from;
        after = line.columns(from, kBlockLast);
    } else {
        after = std::string(TrimEnd(line.columns(number.last + 1, kBlockLast), Blanks::Spaces));
    }
    if (!Trim(after, Blanks::SpacesAndControls).empty()) return after;
    return TrimmedColumns(line, kBlockFirst, number.first - 1);
}

}  // namespace

M5PointIdentification ReadM5PointIdentification(const M5Line& line) {
    const std::vector<Word> words = WordsOf(line);
    if (words.empty()) return {};
    for (const std::size_t end : {kOwnNumberEnd, kEltaNumberEnd}) {
        for (const Word& w : words) {
            if (w.last == end) return {line.columns(w.first, w.last), CodeAround(line, w)};
        }
    }
    // The Elta R55 writes the number right-aligned to column 40 and the code
    // straight after it; nothing stands before the number.
    const Word& first = words.front();
    if (first.first <= kEltaNumberEnd && first.last > kEltaNumberEnd)
        return {line.columns(first.first, kEltaNumberEnd),
                std::string(TrimEnd(line.columns(kEltaNumberEnd + 1, kBlockLast), Blanks::Spaces))};
    const Word& last = words.back();
    return {line.columns(last.first, last.last), TrimmedColumns(line, kBlockFirst, last.first - 1)};
}

std::string R5PointCode(std::string_view code) {
    if (code.size() >= 3) return std::string(code.substr(code.size() - 3));
    std::string out(code);
    out.resize(3, ' ');
    return out;
}

}  // namespace tarvosen::zeiss
