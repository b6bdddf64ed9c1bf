#include "app/ui/memory_status.h"

#include <sys/sysinfo.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

namespace tarvosen::ui {

namespace {

// The number after "Name:" on its line, in kB.
bool ReadField(std::string_view text, std::string_view name, std::uint64_t& value) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (line.size() <= name.size() || line.substr(0, name.size()) != name ||
            line[name.size()] != ':')
            continue;
        std::string_view rest = line.substr(name.size() + 1);
        while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
        auto [p, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
        return ec == std::errc();
    }
    return false;
}

}  // namespace

MemoryStatus ParseMeminfo(std::string_view text) {
    MemoryStatus status;
    ReadField(text, "MemTotal", status.totalKilobytes);
    if (!ReadField(text, "MemAvailable", status.availableKilobytes))
        ReadField(text, "MemFree", status.availableKilobytes);
    return status;
}

MemoryStatus ReadMemoryStatus() {
    std::ifstream in("/proc/meminfo");
    if (in) {
        std::ostringstream all;
        all << in.rdbuf();
        MemoryStatus status = ParseMeminfo(all.str());
        if (status.totalKilobytes > 0) return status;
    }
    MemoryStatus status;
    struct sysinfo info {};
    if (sysinfo(&info) == 0) {
        status.totalKilobytes = std::uint64_t(info.totalram) * info.mem_unit / 1024;
        status.availableKilobytes = std::uint64_t(info.freeram) * info.mem_unit / 1024;
    }
    return status;
}

std::string FormatKilobytes(std::uint64_t kilobytes) {
    std::string digits = std::to_string(kilobytes);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out + "KB";
}

std::string FormatPercentLeft(const MemoryStatus& status) {
    if (status.totalKilobytes == 0) return "0%";
    const std::uint64_t available = std::min(status.availableKilobytes, status.totalKilobytes);
    return std::to_string(available * 100 / status.totalKilobytes) + "%";
}

}  // namespace tarvosen::ui
