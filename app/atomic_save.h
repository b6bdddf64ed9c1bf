#pragma once
// Saving a file so that a failed save never leaves a half-written one: the
// bytes go to a fresh temporary file beside the target, every write checked,
// are put on the disk, get the permissions of the file they replace and are
// then renamed over the target. On any failure the temporary is removed.

#include <cstdio>
#include <filesystem>
#include <functional>

#include "app/outcome.h"

namespace tarvosen {

// `write` puts the bytes into the open temporary and returns false when a
// write failed. Failed carries the system's reason of the first step that
// failed; the caller names the file in its own message. `beforeReplace`,
// when given, runs after the bytes are on the disk and before the rename: an
// exception from it removes the temporary, leaves the target as it was and is
// passed on (a cancelled command stops its save there).
Outcome SaveAtomically(const std::filesystem::path& target,
                       const std::function<bool(std::FILE*)>& write,
                       const std::function<void()>& beforeReplace = {});

// For a library that writes a file by its name: `fill` writes the temporary
// named by its argument. An exception from `fill` is passed on after the
// temporary is removed.
Outcome SaveAtomicallyByName(const std::filesystem::path& target,
                             const std::function<void(const std::filesystem::path&)>& fill);

}  // namespace tarvosen
