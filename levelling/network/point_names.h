#pragma once
// Point names of a levelling network that are equal apart from letter case
// ("RP1" and "rp1"): the network takes them as different points, which is
// seldom what the observer meant.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "levelling/network/level_network.h"

namespace tarvosen::levelling {

// A spelling of a point name where the sections first meet it.
struct PointSpelling {
    std::string name;
    std::string file;
    std::size_t line = 0;
};

// Each spelling of a section end that equals an earlier one apart from ASCII
// letter case, paired with the earliest spelling, in the order met.
std::vector<std::pair<PointSpelling, PointSpelling>> NamesEqualApartFromCase(
    const std::vector<LevelSection>& sections);

}  // namespace tarvosen::levelling
