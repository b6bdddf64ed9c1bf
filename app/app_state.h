#pragma once
// State of the application that lives from start-up to exit.

#include <filesystem>
#include <string>

namespace tarvosen {

inline constexpr const char* kApplicationTitle = "Tarvosen  Data Processor";
inline constexpr const char* kDefaultDocumentName = "NONAME.TXT";

struct AppState {
    // The file that Save writes to.
    std::string currentDocumentName = kDefaultDocumentName;
    // The directory the program started in: the base of the reset document
    // name, and the first place the record-book template is looked for.
    std::filesystem::path startDirectory;
    int languageIndex = 2;   // 1 English, 2 Simplified Chinese, 3 Traditional Chinese
    int instrumentKind = 1;  // 0..6, see InstrumentLabel
    std::string caption = kApplicationTitle;
    bool portSignalVisible = true;  // the lamp panel
    // Bytes received from the instrument since the last carriage return.
    std::string pendingLine;
};

// The document name that "END" and some conversions reset to.
std::string ResetDocumentName(const AppState& state);

// The toolbar label for an instrument kind 0..6.
const char* InstrumentLabel(int instrumentKind);

}  // namespace tarvosen
