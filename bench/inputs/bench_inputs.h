#pragma once
// The large inputs the benchmarks and bench/compare run on, made the same way
// each time so that the figures of one run compare with the next.

#include <filesystem>
#include <string>
#include <vector>

namespace tarvosen::bench {

// A total station's R5 job of `lines` lines: a station with heights and
// orientation, then known points and polar observations in turn. Addresses
// wrap at 9999 as they do on the instrument. CR LF line ends.
void WriteLargeR5Job(const std::filesystem::path& path, int lines);

// One DINI levelling line of `stations` set-ups measured back-fore-fore-back
// with varying readings and distances, a few of them beyond the first-order
// limits, and an intermediate sight every 50 stations, as M5 lines.
std::vector<std::string> LongLevellingLine(int stations);

}  // namespace tarvosen::bench
