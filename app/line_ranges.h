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

    // "4-11, 67", "3 and 5" (the language's list comma and "and"); a run of
    // three or more lines is one range. Beyond kNamed ranges the rest are
    // counted: "4-11, 67, ... and 9 more".
    std::string text(const MessageTexts& texts = {}) const;

    static constexpr std::size_t kNamed = 50;

  private:
    std::vector<std::pair<std::size_t, std::size_t>> ranges_;  // sorted, apart
    std::size_t count_ = 0;
};

}  // namespace tarvosen
