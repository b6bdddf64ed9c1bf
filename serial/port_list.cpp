#include "serial/port_list.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <system_error>

namespace tarvosen {

namespace fs = std::filesystem;

namespace {

constexpr const char* kFamilies[] = {"ttyS", "ttyUSB", "ttyACM", "rfcomm"};

// The family prefix of a kernel device name and its number, or false.
bool SplitName(const std::string& name, std::string& family, int& number) {
    for (const char* f : kFamilies) {
        const std::string prefix = f;
        if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
            std::all_of(name.begin() + static_cast<long>(prefix.size()), name.end(),
                        [](char c) { return c >= '0' && c <= '9'; })) {
            family = prefix;
            number = std::stoi(name.substr(prefix.size()));
            return true;
        }
    }
    return false;
}

// A ttyS entry stands for a real UART only when the kernel found one there
// (its type is not 0, "unknown"); the other families exist only when present.
bool IsPresent(const fs::path& sysEntry, const std::string& family) {
    if (family != "ttyS") return true;
    std::ifstream type(sysEntry / "type");
    int t = 0;
    return (type >> t) && t != 0;
}

std::string FamilyDescription(const std::string& family) {
    if (family == "ttyUSB") return "USB serial adapter";
    if (family == "ttyACM") return "USB modem (CDC ACM)";
    if (family == "rfcomm") return "Bluetooth serial port";
    return "serial port";
}

}  // namespace

std::string ReadableById(std::string name) {
    if (name.rfind("usb-", 0) == 0) name.erase(0, 4);
    for (const char* suffix : {"-port0", "-if00", "-if01", "-if02", "-if03"}) {
        const std::string s = suffix;
        if (name.size() > s.size() && name.compare(name.size() - s.size(), s.size(), s) == 0)
            name.resize(name.size() - s.size());
    }
    std::replace(name.begin(), name.end(), '_', ' ');
    return name;
}

std::vector<PortChoice> ListSerialPorts(const PortListSources& sources) {
    std::vector<PortChoice> ports;
    for (int i = 1; i <= 4; ++i)
        ports.push_back({"Com" + std::to_string(i),
                         "Com" + std::to_string(i) + " (/dev/ttyS" + std::to_string(i - 1) + ")"});

    std::map<std::string, std::string> byId;  // kernel name -> readable adapter name
    std::error_code ec;
    for (fs::directory_iterator it(sources.byId, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code linkError;
        const fs::path target = fs::read_symlink(it->path(), linkError);
        if (!linkError)
            byId[target.filename().string()] = ReadableById(it->path().filename().string());
    }

    struct Found {
        std::string family;
        int number;
        std::string name;
    };
    std::vector<Found> found;
    for (fs::directory_iterator it(sources.sysClassTty, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::string family;
        int number = 0;
        if (!SplitName(name, family, number)) continue;
        if (family == "ttyS" && number < 4) continue;  // offered as Com1..Com4
        if (!IsPresent(it->path(), family)) continue;
        found.push_back({family, number, name});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.family != b.family ? a.family < b.family : a.number < b.number;
    });
    for (const auto& f : found) {
        const std::string path = (sources.dev / f.name).string();
        const auto named = byId.find(f.name);
        ports.push_back(
            {path,
             path + " - " + (named != byId.end() ? named->second : FamilyDescription(f.family))});
    }
    return ports;
}

}  // namespace tarvosen
