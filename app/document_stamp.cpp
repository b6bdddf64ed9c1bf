// Whether the document has a file of its own, and whether that file changed
// on disk behind the program's back.

#include "app/app_state.h"

namespace tarvosen {

namespace {

std::optional<DocumentStamp> StampOf(const std::filesystem::path& path) {
    std::error_code ec;
    const auto modified = std::filesystem::last_write_time(path, ec);
    if (ec) return std::nullopt;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) return std::nullopt;
    return DocumentStamp{path.string(), modified, size};
}

}  // namespace

void StampDocument(AppState& state, const std::filesystem::path& path) {
    state.documentStamp = StampOf(path);
}

bool DocumentHasFile(const AppState& state) {
    return state.documentStamp && state.documentStamp->path == state.currentDocumentName;
}

bool DocumentChangedOnDisk(const AppState& state) {
    if (!DocumentHasFile(state)) return false;
    std::error_code ec;
    if (!std::filesystem::exists(state.currentDocumentName, ec)) return false;
    const auto now = StampOf(state.currentDocumentName);
    return !now || now->modified != state.documentStamp->modified ||
           now->size != state.documentStamp->size;
}

}  // namespace tarvosen
