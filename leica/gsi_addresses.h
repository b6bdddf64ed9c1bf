#pragma once
// The block addresses of a GSI file. The 11 and 41 blocks carry an address the
// instrument counts on from 1 in each download; several downloads joined in
// one file each begin again at 1. A gap means blocks were lost.

#include <cstddef>
#include <string>
#include <vector>

#include "app/workspace.h"
#include "i18n/message_catalogue.h"

namespace tarvosen::leica {

// The address sequence of a GSI file: gaps, repeats and steps back of the
// 11/41 block addresses, and the lines where a download begins (the address
// starts again at 1).
struct GsiAddressBreak {
    enum class Kind { Gap, Repeat, Backward };
    Kind kind = Kind::Gap;
    std::size_t line = 0, previousLine = 0;
    long previous = 0, address = 0;
};
struct GsiAddresses {
    std::vector<GsiAddressBreak> breaks;
    std::vector<std::size_t> downloads;  // the first line of each download
};
GsiAddresses CheckGsiAddresses(const Workspace& lines);

// The findings `check` shows for the addresses: each gap, repeat and step
// back in the words of the other record formats, and, when the file holds
// more than one download, where each begins.
struct GsiAddressFinding {
    std::size_t line = 0;
    std::string english, shown;  // the text in English and in the language of `texts`
};
std::vector<GsiAddressFinding> GsiAddressFindings(const Workspace& lines, const std::string& file,
                                                  const MessageTexts& texts);

}  // namespace tarvosen::leica
