// The .xlsx template reader on arbitrary files: a file either opens or is
// refused with SpreadsheetError; a workbook that opened saves, and what was
// saved opens again with the same sheets.
//
// An input that begins with "==> " lists the parts of a workbook: each part
// is a line "==> name" followed by its content, up to the next such line. The
// target packs the parts into a zip without compression, so the fuzzer edits
// the XML itself rather than a compressed stream it cannot get past. Any
// other input is the file itself, so real .xlsx files are seeds for the zip
// layer.
#include <minizip/zip.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <unistd.h>

#include "spreadsheet/spreadsheet_session.h"

namespace {

namespace fs = std::filesystem;
using tarvosen::spreadsheet::SpreadsheetError;
using tarvosen::spreadsheet::SpreadsheetSession;

constexpr std::string_view kPartMark = "==> ";

const fs::path& ScratchFolder() {
    static const fs::path folder = [] {
        auto p = fs::temp_directory_path() / ("tarvosen-xlsx-fuzz-" + std::to_string(getpid()));
        fs::create_directories(p);
        return p;
    }();
    return folder;
}

std::vector<std::pair<std::string, std::string_view>> Parts(std::string_view text) {
    std::vector<std::pair<std::string, std::string_view>> parts;
    while (!text.empty()) {
        text.remove_prefix(kPartMark.size());
        const std::size_t nameEnd = text.find('\n');
        std::string name(text.substr(0, nameEnd));
        text = nameEnd == std::string_view::npos ? std::string_view() : text.substr(nameEnd + 1);
        std::size_t end = text.find("\n==> ");
        if (end == std::string_view::npos) end = text.size();
        parts.emplace_back(std::move(name), text.substr(0, end));
        text = end == text.size() ? std::string_view() : text.substr(end + 1);
    }
    return parts;
}

void WriteStoredZip(const fs::path& path, std::string_view text) {
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    if (!zip) std::abort();
    for (const auto& [name, content] : Parts(text)) {
        zip_fileinfo info{};
        if (zipOpenNewFileInZip(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, 0, 0) !=
            ZIP_OK)
            std::abort();
        zipWriteInFileInZip(zip, content.data(), static_cast<unsigned>(content.size()));
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const fs::path file = ScratchFolder() / "template.xlsx";
    fs::remove(file);
    if (input.starts_with(kPartMark)) {
        WriteStoredZip(file, input);
    } else {
        std::ofstream out(file, std::ios::binary);
        out.write(input.data(), static_cast<std::streamsize>(input.size()));
    }

    SpreadsheetSession book;
    try {
        book.OpenWorkbook(file);
    } catch (const SpreadsheetError&) {
        if (book.HasWorkbook()) std::abort();
        return 0;
    }
    std::vector<std::string> names;
    for (int i = 0; i < book.SheetCount(); ++i) names.push_back(book.SheetAt(i).Name());

    const fs::path saved = ScratchFolder() / "saved.xlsx";
    book.SaveAs(saved);  // a template that opened must save (throws, and so fails, if not)
    SpreadsheetSession again;
    again.OpenWorkbook(saved);  // what we write must open again
    if (again.SheetCount() != static_cast<int>(names.size())) std::abort();
    for (int i = 0; i < again.SheetCount(); ++i)
        if (again.SheetAt(i).Name() != names[static_cast<std::size_t>(i)]) std::abort();
    return 0;
}
