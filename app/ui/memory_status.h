#pragma once
// The memory figures of the splash window.

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvosen::ui {

struct MemoryStatus {
    std::uint64_t totalKilobytes = 0;
    std::uint64_t availableKilobytes = 0;
};

// Reads /proc/meminfo, falling back to sysinfo(2).
MemoryStatus ReadMemoryStatus();
// Parses the text of /proc/meminfo (MemTotal, MemAvailable or MemFree).
MemoryStatus ParseMeminfo(std::string_view text);

// "16,318,652KB": thousands separators and the suffix KB.
std::string FormatKilobytes(std::uint64_t kilobytes);
// The share of memory left, "37%".
std::string FormatPercentLeft(const MemoryStatus& status);

}  // namespace tarvosen::ui
