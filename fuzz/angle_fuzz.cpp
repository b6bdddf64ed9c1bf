// The angle text parser and formatter on arbitrary texts.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "adjustment/angle.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    const double angle = tarvosen::DmsTextToRadians(text);
    (void)tarvosen::FormatDmsCompact(angle);
    (void)tarvosen::SplitDmsRounded(angle);
    (void)tarvosen::SplitDmsText(text);
    return 0;
}
