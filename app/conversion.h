#pragma once
// The two skeletons the text conversions follow. Both work on lines in
// memory: a conversion never writes any file but the output the user chose.

#include <functional>
#include <string>
#include <vector>

#include "app/command.h"

namespace tarvosen {

// One stage of ConvertToFile: converts the lines `in` into the lines `out`.
// Returns false when it stopped with its own message.
using ConversionStage = std::function<bool(CommandContext&, const Workspace& in, Workspace& out)>;

struct ConvertToFileSteps {
    std::string filter;            // the save dialog's filter
    std::string defaultExtension;  // added to a name typed without one
    // Stage i reads the result of stage i - 1; the first reads the workspace.
    std::vector<ConversionStage> stages;
};

// Asks for the output file, runs the stages, saves the last result under the
// chosen name and only then puts it in the workspace's place, and sets the
// caption to DocumentCaption(path). A stage that stops or fails, or a
// save that fails or is cancelled (UserInterface::commitOutput), leaves the
// workspace and the chosen file unchanged.
CommandStatus ConvertToFile(CommandContext& ctx, const ConvertToFileSteps& steps);

// The body of ConvertInPlace: reads the workspace's former lines `in` and
// appends result lines with AppendWorkspaceLine. Returns false when it
// stopped with its own message.
using InPlaceBody = std::function<bool(CommandContext&, const Workspace& in)>;

struct ConvertInPlaceSteps {
    bool resetDocumentName = false;
};

// Moves the workspace's lines aside, leaving it empty, and runs the body.
// When the body stops or fails the workspace gets its original lines back,
// so the user never loses the text a failed conversion started from.
CommandStatus ConvertInPlace(CommandContext& ctx, const ConvertInPlaceSteps& steps,
                             const InPlaceBody& body);

// The English text of the refusal of an empty workspace
// (msg::kNoDataForConversion).
inline constexpr const char* kNoDataForConversion =
    "There are no data to convert. Load the data first.";

// Shows "<file>: <text>" as an error: the refusal of an input that holds
// none of a conversion's records.
void RefuseInput(CommandContext& ctx, const std::string& text);

// True, after an error naming the file with the catalogue text `base` (or
// `english`), when no line of the workspace holds more than blanks.
bool RefuseEmptyInput(CommandContext& ctx, int base, std::string_view english);

// After a workbook was saved under `path`: the window asks whether to open it
// and opens it on Yes; where no one can be asked, the user is told it was
// written. `summary` (a sentence, or empty) is told either way.
void OfferToOpenWorkbook(CommandContext& ctx, const std::filesystem::path& path,
                         const std::string& summary = {});

}  // namespace tarvosen
