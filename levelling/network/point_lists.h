#pragma once
// The point files of a levelling network: known heights ("name,height" per
// line) and further benchmarks (a name per line). Comma, blanks or tabs
// separate; "#" starts a comment; the text may be UTF-8 or GB18030, names
// come back as UTF-8.

#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tarvosen::levelling {

// Throws Failure naming the file and line of a malformed line.
std::vector<std::pair<std::string, double>> ReadKnownHeights(const std::filesystem::path& file);
std::set<std::string> ReadBenchmarks(const std::filesystem::path& file);

}  // namespace tarvosen::levelling
