#pragma once
// The two skeletons the text conversions follow.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/command.h"

namespace tarvosen {

// One stage of ConvertToFile: converts the file `in` into the file `out`.
// Returns false when it stopped with its own message.
using FileStage = std::function<bool(CommandContext&, const std::filesystem::path& in,
                                     const std::filesystem::path& out)>;

struct ConvertToFileSteps {
    std::string filter;            // the save dialog's filter
    std::string defaultExtension;  // added to a name typed without one
    std::string inputTemp;         // the workspace is saved here
    // Temporary output names, one per stage; stage i reads the previous file.
    std::vector<std::string> stageTemps;
    std::vector<FileStage> stages;
};

// Asks for the output file, saves the workspace to the input temporary file,
// runs the stages, loads the last result into the workspace, saves it under
// the chosen name and sets the caption to title + "--[" + path + "]".
// A stage that stops leaves the workspace unchanged.
CommandStatus ConvertToFile(CommandContext& ctx, const ConvertToFileSteps& steps);

// The body of ConvertInPlace: reads the staged file `in` and appends result
// lines with AppendWorkspaceLine. Returns false when it stopped with its own
// message.
using InPlaceBody = std::function<bool(CommandContext&, const std::filesystem::path& in)>;

struct ConvertInPlaceSteps {
    std::string temp;  // the workspace is saved here
    bool resetDocumentName = false;
    // Stopped conversions leave the temporary file on disk when true.
    bool keepTempOnStop = true;
};

// Saves the workspace to the temporary file, clears it and runs the body.
// When the body stops or fails the workspace gets its original lines back,
// so the user never loses the text a failed conversion started from.
CommandStatus ConvertInPlace(CommandContext& ctx, const ConvertInPlaceSteps& steps,
                             const InPlaceBody& body);

}  // namespace tarvosen
