#pragma once
// The text workspace: the lines shown in the main window's editor, kept as
// bytes exactly as loaded or received (instrument data are 8-bit text in any
// code page). The editor decodes them only for display.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace tarvosen {

// Told about every change so a view (the editor) can follow the lines.
class WorkspaceObserver {
public:
    virtual ~WorkspaceObserver() = default;
    virtual void linesAppended(std::size_t first, std::size_t count) = 0;
    virtual void workspaceReset() = 0;  // cleared or replaced as a whole
};

class Workspace {
public:
    std::size_t lineCount() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    const std::string& line(std::size_t i) const { return lines_.at(i); }
    const std::vector<std::string>& lines() const { return lines_; }

    void append(std::string line);
    // Makes room for `count` lines in all, so a long conversion does not move
    // its lines again and again while it appends them.
    void reserve(std::size_t count) { lines_.reserve(count); }
    void clear();
    void replaceAll(std::vector<std::string> lines);
    // Hands the lines over and leaves the workspace empty.
    std::vector<std::string> takeLines();

    // Replaces all lines with the file's lines. Lines end at CR LF, LF or a
    // lone CR; a final line end does not start another line. Throws FileError.
    void load(const std::filesystem::path& path);

    // Writes every line followed by CR LF. The text goes to a temporary file
    // beside the target that is then renamed over it, so a failed save never
    // leaves a half-written file. Throws FileError.
    void save(const std::filesystem::path& path) const;

    void setObserver(WorkspaceObserver* observer) { observer_ = observer; }

private:
    std::vector<std::string> lines_;
    WorkspaceObserver* observer_ = nullptr;
};

// Splits bytes into lines the way Workspace::load does.
std::vector<std::string> SplitLines(std::string_view bytes);

// Writes a file through a temporary sibling renamed over the target.
// Throws FileError naming the path on any failure and removes the temporary.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Reads a whole file; throws FileError naming the path.
std::string ReadFileBytes(const std::filesystem::path& path);

}  // namespace tarvosen
