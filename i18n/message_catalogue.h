#pragma once
// Numbered message texts in three languages. The catalogue is a UTF-8 text
// file shipped in data/ ("messages.txt"): one message per line, the id, a tab
// and the text; "\n" in a text stands for a line break; lines starting with
// "#" are comments. Text id = base + language index (1 English, 2 GB, 3 Big5).
// A missing catalogue is not an error: every lookup then gives its default.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tarvosen {

class MessageCatalogue {
public:
    // Loads the catalogue file; false (and an empty catalogue) when it
    // cannot be read. Malformed lines are skipped.
    bool load(const std::filesystem::path& path);
    void loadFromText(std::string_view text);

    bool loaded() const { return loaded_; }

    // The text of id base + languageIndex, if the catalogue has it.
    std::optional<std::string> find(int base, int languageIndex) const;

    // As find, falling back to englishDefault.
    std::string lookup(int base, int languageIndex, std::string_view englishDefault) const;

private:
    std::map<int, std::string> texts_;
    bool loaded_ = false;
};

// Catalogue ids of the messages and dialog texts.
namespace msg {
inline constexpr int kPortSettingPage = 2000;
inline constexpr int kPortLabel = 2100;
inline constexpr int kBaudRateLabel = 2200;
inline constexpr int kParityLabel = 2300;
inline constexpr int kFlowControlLabel = 2400;
inline constexpr int kDataBitLabel = 2500;
inline constexpr int kStopBitLabel = 2600;
inline constexpr int kParameterSetupCaption = 2700;
inline constexpr int kOptionCaption = 3000;
inline constexpr int kR5RecordFormatGroup = 3100;
inline constexpr int kIncludeCode = 3200;
inline constexpr int kReassignPointName = 3300;
inline constexpr int kCoordinateNote = 3400;
inline constexpr int kExitQuestion = 11000;
inline constexpr int kDownloadNotice = 12000;
inline constexpr int kUploadNothingToSend = 13000;
inline constexpr int kUploadStart = 14000;
// Refusals and notices of Load, the conversions and the books.
inline constexpr int kNotTextFile = 30000;
inline constexpr int kShowItAllTheSame = 30100;
inline constexpr int kNoDataForConversion = 30200;
inline constexpr int kNoNikonRawDataForConversion = 30300;
inline constexpr int kNoDiniData = 30400;
inline constexpr int kNotDini = 30500;
inline constexpr int kNotNikon300400 = 30600;
inline constexpr int kNoKnownPoints = 30700;
inline constexpr int kBookSavedIn = 30800;     // "the result is saved in: " + path
inline constexpr int kBookSavedAfter = 30900;  // what follows the path
inline constexpr int kOpenBookQuestion = 31000;
inline constexpr int kWrote = 31100;           // + path, on the command line
inline constexpr int kLimitsExceeded = 31200;  // + count, after a checked book
}  // namespace msg

// The catalogue shipped with the program, found through FindDataFile.
inline constexpr const char* kMessageCatalogueFile = "messages.txt";

}  // namespace tarvosen
