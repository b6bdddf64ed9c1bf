#pragma once
// The text workspace: the lines shown in the main window's editor, kept as
// bytes exactly as loaded or received (instrument data are 8-bit text in any
// code page). The editor decodes them only for display.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace tarvosen {

// Told about every change so a view (the editor) can follow the lines.
class WorkspaceObserver {
public:
    virtual ~WorkspaceObserver() = default;
    virtual void linesAppended(std::size_t first, std::size_t count) = 0;
    virtual void workspaceReset() = 0;  // cleared or replaced as a whole
};

// An indexed view of the workspace's lines, for iterating without
// copying them. Valid until the workspace next changes.
class WorkspaceLines {
public:
    class iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        iterator() = default;
        iterator(const std::string* text, const std::vector<std::size_t>* ends, std::size_t i)
            : text_(text), ends_(ends), i_(i) {}
        std::string_view operator*() const { return Line(*text_, *ends_, i_); }
        iterator& operator++() { ++i_; return *this; }
        iterator operator++(int) { auto old = *this; ++i_; return old; }
        bool operator==(const iterator& o) const { return i_ == o.i_; }

    private:
        const std::string* text_ = nullptr;
        const std::vector<std::size_t>* ends_ = nullptr;
        std::size_t i_ = 0;
    };
    using const_iterator = iterator;
    using value_type = std::string_view;

    WorkspaceLines(const std::string& text, const std::vector<std::size_t>& ends)
        : text_(&text), ends_(&ends) {}
    std::size_t size() const { return ends_->size(); }
    bool empty() const { return ends_->empty(); }
    std::string_view operator[](std::size_t i) const { return Line(*text_, *ends_, i); }
    iterator begin() const { return {text_, ends_, 0}; }
    iterator end() const { return {text_, ends_, size()}; }

private:
    static std::string_view Line(const std::string& text, const std::vector<std::size_t>& ends,
                                 std::size_t i) {
        const std::size_t begin = i == 0 ? 0 : ends[i - 1];
        return std::string_view(text).substr(begin, ends[i] - begin);
    }

    const std::string* text_;
    const std::vector<std::size_t>* ends_;
};

// The lines are kept in one byte buffer with the end offset of each line, so
// a text of tens of millions of short lines (a drawing of a million points)
// costs its bytes plus one offset per line, not a string object per line.
class Workspace {
public:
    std::size_t lineCount() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    // The view is valid until the workspace next changes. Throws
    // std::out_of_range for a line that is not there.
    std::string_view line(std::size_t i) const;
    // The lines without copying them; valid until the workspace next changes.
    WorkspaceLines view() const { return {text_, ends_}; }
    // A copy of the lines, for small texts and checks.
    std::vector<std::string> lines() const;

    void append(std::string_view line);
    // Makes room for `count` lines of `bytes` bytes in all, so a long
    // conversion does not move its text again and again while it appends.
    void reserve(std::size_t count, std::size_t bytes = 0);
    void clear();
    void replaceAll(const std::vector<std::string>& lines);
    // Replaces all lines with these bytes, split as load splits a file.
    void replaceAllBytes(std::string bytes);
    // Takes the other workspace's lines over and leaves it empty.
    void takeFrom(Workspace& other);

    // Replaces all lines with the file's lines. Lines end at CR LF, LF or a
    // lone CR; a final line end does not start another line. Throws FileError.
    void load(const std::filesystem::path& path);

    // Writes every line followed by CR LF. The text goes to a temporary file
    // beside the target that is then renamed over it, so a failed save never
    // leaves a half-written file. Throws FileError. `beforeReplace`, when
    // given, runs between writing and renaming; what it throws stops the save
    // with the target untouched and the temporary removed.
    void save(const std::filesystem::path& path,
              const std::function<void()>& beforeReplace = {}) const;

    void setObserver(WorkspaceObserver* observer) { observer_ = observer; }

private:
    std::string text_;               // every line's bytes, one after another
    std::vector<std::size_t> ends_;  // where each line ends in text_
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
