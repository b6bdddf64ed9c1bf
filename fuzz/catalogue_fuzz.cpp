// The message catalogue loader on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "i18n/message_catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tarvosen::MessageCatalogue catalogue;
    catalogue.loadFromText(std::string_view(reinterpret_cast<const char*>(data), size));
    for (int base : {2000, 11000, 14000})
        for (int lang = 1; lang <= 3; ++lang) (void)catalogue.lookup(base, lang, "default");
    return 0;
}
