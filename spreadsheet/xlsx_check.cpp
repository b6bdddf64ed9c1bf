// Reading a freshly written .xlsx back: every part must unpack with a good
// checksum and end with the closing tag of its root element.

#include <unzip.h>

#include <algorithm>
#include <cctype>

#include "spreadsheet/spreadsheet_session.h"
#include "spreadsheet/xlsx.h"

namespace tarvosen::spreadsheet {

namespace {

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool IsXmlPart(std::string_view name) {
    return EndsWith(name, ".xml") || EndsWith(name, ".rels");
}

// The root element's name and whether its start tag closes it ("<a/>"),
// from the start of a part; empty when the start holds none.
std::pair<std::string, bool> RootElement(std::string_view head) {
    std::size_t i = 0;
    while ((i = head.find('<', i)) != std::string_view::npos) {
        if (i + 1 < head.size() && (head[i + 1] == '?' || head[i + 1] == '!')) {
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        while (end < head.size() && !std::isspace(static_cast<unsigned char>(head[end])) &&
               head[end] != '>' && head[end] != '/')
            ++end;
        const std::size_t close = head.find('>', end);
        const bool selfClosing =
            close != std::string_view::npos && close > 0 && head[close - 1] == '/';
        return {std::string(head.substr(i + 1, end - i - 1)), selfClosing};
    }
    return {};
}

}  // namespace

void CheckXlsxComplete(const std::filesystem::path& file, const std::filesystem::path& shownAs) {
    auto fail = [&](const std::string& what) {
        throw SpreadsheetError("Cannot save the workbook " + shownAs.string() + ": " + what);
    };
    unzFile zip = unzOpen64(file.string().c_str());
    if (!zip) fail("the file written is no complete zip archive (is the disk full?)");
    struct Closer {
        unzFile zip;
        ~Closer() { unzClose(zip); }
    } closer{zip};

    constexpr std::size_t kKept = 512;
    char buffer[1 << 16];
    for (int status = unzGoToFirstFile(zip); status == UNZ_OK; status = unzGoToNextFile(zip)) {
        char nameBuffer[512];
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(zip, &info, nameBuffer, sizeof nameBuffer, nullptr, 0, nullptr,
                                    0) != UNZ_OK)
            fail("a part of the file written cannot be read back");
        const std::string name = nameBuffer;
        if (unzOpenCurrentFile(zip) != UNZ_OK) fail(name + " cannot be read back");
        std::string head, tail;
        int n;
        while ((n = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0) {
            const std::string_view chunk(buffer, static_cast<std::size_t>(n));
            if (head.size() < kKept) head.append(chunk.substr(0, kKept - head.size()));
            tail.append(chunk);
            if (tail.size() > 2 * kKept) tail.erase(0, tail.size() - kKept);
        }
        const int closed = unzCloseCurrentFile(zip);
        if (n < 0 || closed != UNZ_OK) fail(name + " came out damaged (is the disk full?)");
        if (!IsXmlPart(name)) continue;
        while (!tail.empty() && std::isspace(static_cast<unsigned char>(tail.back())))
            tail.pop_back();
        const auto [root, selfClosing] = RootElement(head);
        if (root.empty() || !(selfClosing || EndsWith(tail, "</" + root + ">")))
            fail(name +
                 " came out incomplete: a temporary file could not be written in full "
                 "(is the disk full?)");
    }
}

}  // namespace tarvosen::spreadsheet
