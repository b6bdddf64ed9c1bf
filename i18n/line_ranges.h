#pragma once
// Line numbers gathered while a file is read, named in a message as sorted
// ranges ("4-11, 67"), so one warning can name every line it is about.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "i18n/message_catalogue.h"

namespace tarvosen {

class LineRanges {
  public:
    // Lines may come in any order and more than once.
    void add(std::size_t line);
    bool empty() const { return ranges_.empty(); }
    // How many different lines were added.
    std::size_t count() const { return count_; }
    // The lines as sorted ranges [first, last], apart from one another.
    const std::vector<std::pair<std::size_t, std::size_t>>& ranges() const { return ranges_; }

    // "4-11, 67", "3 and 5" (the language's range, list comma and "and":
    // "4至11、67" in GB); a run of three or more lines is one range. Beyond
    // `namedAtMost` items the lines not named are counted: "4-11, 67, ... and
    // 9 more".
    std::string text(const MessageTexts& texts = {}, std::size_t namedAtMost = kNamed) const;

    static constexpr std::size_t kNamed = 20;

  private:
    std::vector<std::pair<std::size_t, std::size_t>> ranges_;  // sorted, apart
    std::size_t count_ = 0;
};

// The lines of `lines` as LineRanges::text names them.
std::string LineRangesText(const std::vector<std::size_t>& lines, const MessageTexts& texts,
                           std::size_t namedAtMost = LineRanges::kNamed);

}  // namespace tarvosen
