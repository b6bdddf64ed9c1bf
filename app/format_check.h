#pragma once
// The formats the `check` command reads. Each subsystem declares the formats
// of its readers (how a file of the format is told by its content, and a run
// of its reader that writes nothing and only accounts for the lines); the
// command table's folder assembles them, as it does the command rows.

#include <optional>
#include <span>
#include <string_view>

#include "app/command_context.h"
#include "app/line_account.h"

namespace tarvosen {

struct FormatCheck {
    // The format's name in messages ("R5", "Nikon raw").
    std::string_view name;
    // True when the lines are of this format: a cheap look at their content.
    bool (*recognises)(const Workspace& lines) = nullptr;
    // Reads the lines as the format's conversions do, writing nothing: the
    // account of every line, or nullopt when the reader refused the file
    // (a setting it does not know, say), its message shown.
    std::optional<LineAccount> (*account)(CommandContext& ctx, const Workspace& lines) = nullptr;
};

// Every subsystem's formats, in the order they are tried.
std::span<const FormatCheck> FormatChecks();

}  // namespace tarvosen
