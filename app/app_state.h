#pragma once
// State of the application that lives from start-up to exit.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/file_digest.h"

namespace tarvosen {

inline constexpr const char* kApplicationTitle = "Tarvosen Data Processor";
inline constexpr const char* kDefaultDocumentName = "NONAME.TXT";

// The document's file as it was when the workspace was last loaded from it
// or saved to it.
struct DocumentStamp {
    std::string path;
    std::filesystem::file_time_type modified{};
    std::uintmax_t size = 0;
    bool operator==(const DocumentStamp&) const = default;
};

struct AppState {
    // The file that Save writes to.
    std::string currentDocumentName = kDefaultDocumentName;
    // Set when the workspace was loaded from or saved to a file; it names
    // the document's file while its path is currentDocumentName.
    std::optional<DocumentStamp> documentStamp;
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
    // Lines a reader does not understand stop a run, which then writes
    // nothing (--strict on the command line, a setting in the window).
    bool strictReading = false;
    // The address findings last shown, so a conversion does not repeat Load's.
    std::string shownAddressFindings;
};

// The document name that "END", Clear and some conversions reset to.
std::string ResetDocumentName(const AppState& state);

// Notes that the workspace now equals the file at path (loaded or saved).
void StampDocument(AppState& state, const std::filesystem::path& path);
// True when the document has a file of its own that Save writes to: the
// workspace was loaded from or saved to currentDocumentName.
bool DocumentHasFile(const AppState& state);
// True when the document's file was changed or replaced on disk since it
// was stamped (a file that is gone counts as unchanged: nothing is lost).
bool DocumentChangedOnDisk(const AppState& state);
// The window caption of a document, as desktops write it: "job.txt — Tarvosen
// Data Processor"; the program's name alone for the unnamed text.
std::string DocumentCaption(const std::filesystem::path& document);

// The toolbar label for an instrument kind 0..6.
const char* InstrumentLabel(int instrumentKind);

}  // namespace tarvosen
