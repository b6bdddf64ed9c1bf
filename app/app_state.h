#pragma once
// State of the application that lives from start-up to exit.

#include <filesystem>
#include <string>
#include <vector>

#include "app/file_digest.h"

namespace tarvosen {

inline constexpr const char* kApplicationTitle = "Tarvosen Data Processor";
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
    // The files the workspace was loaded from; Load sets it, Clear empties it.
    std::vector<SourceFile> sourceFiles;
    // The INPUT files of a command that takes several (the command line).
    std::vector<std::filesystem::path> inputFiles;
    // The address findings last shown, so a conversion does not repeat Load's.
    std::string shownAddressFindings;
};

// The document name that "END" and some conversions reset to.
std::string ResetDocumentName(const AppState& state);

// The window caption of a document, as desktops write it: "job.txt — Tarvosen
// Data Processor"; the program's name alone for the unnamed text.
std::string DocumentCaption(const std::filesystem::path& document);

// The toolbar label for an instrument kind 0..6.
const char* InstrumentLabel(int instrumentKind);

}  // namespace tarvosen
