#include "leica/gsi_addresses.h"

#include <optional>

#include "i18n/line_ranges.h"
#include "leica/gsi_word.h"
#include "zeiss/address_continuity.h"

namespace tarvosen::leica {

GsiAddresses CheckGsiAddresses(const Workspace& lines) {
    GsiAddresses out;
    std::optional<long> previous;
    std::size_t previousLine = 0;
    const std::size_t count = lines.lineCount();
    for (std::size_t i = 0; i < count; ++i) {
        const auto block = SplitGsiBlock(lines.view()[i]);
        if (!block || !block->address) continue;
        const long a = *block->address;
        const std::size_t line = i + 1;
        if (!previous || (a == 1 && *previous != 0)) {
            out.downloads.push_back(line);
        } else if (a == *previous) {
            out.breaks.push_back({GsiAddressBreak::Kind::Repeat, line, previousLine, *previous, a});
        } else if (a < *previous) {
            out.breaks.push_back({GsiAddressBreak::Kind::Backward, line, previousLine, *previous, a});
        } else if (a > *previous + 1) {
            out.breaks.push_back({GsiAddressBreak::Kind::Gap, line, previousLine, *previous, a});
        }
        previous = a;
        previousLine = line;
    }
    return out;
}

std::vector<GsiAddressFinding> GsiAddressFindings(const Workspace& lines, const std::string& file,
                                                  const MessageTexts& texts) {
    const GsiAddresses addresses = CheckGsiAddresses(lines);
    std::vector<GsiAddressFinding> out;
    using Kind = zeiss::AddressFinding::Kind;
    for (const GsiAddressBreak& b : addresses.breaks) {
        const Kind kind = b.kind == GsiAddressBreak::Kind::Gap      ? Kind::Gap
                          : b.kind == GsiAddressBreak::Kind::Repeat ? Kind::Repeat
                                                                    : Kind::Backward;
        const zeiss::AddressFinding f{kind, b.line, b.previousLine, b.previous, b.address, 0};
        out.push_back({b.line, f.text(), f.text(texts)});
    }
    if (addresses.downloads.size() > 1) {
        LineRanges starts;
        for (std::size_t line : addresses.downloads) starts.add(line);
        auto text = [&](const MessageTexts& t) {
            return t(msg::kGsiDownloads,
                     "%1: %2 downloads in one file; each begins again at address 1 (lines %3).",
                     {file, std::to_string(addresses.downloads.size()), starts.text(t)});
        };
        out.push_back({addresses.downloads[1], text({}), text(texts)});
    }
    return out;
}

}  // namespace tarvosen::leica
