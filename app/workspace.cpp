#include "app/workspace.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <stdexcept>

#include "app/atomic_save.h"
#include "app/errors.h"

namespace tarvosen {

namespace {

std::string SystemReason() {
    return std::strerror(errno);
}

}  // namespace

std::string_view Workspace::line(std::size_t i) const {
    if (i >= ends_.size())
        throw std::out_of_range("workspace line " + std::to_string(i + 1) + " of " +
                                std::to_string(ends_.size()));
    return view()[i];
}

std::vector<std::string> Workspace::lines() const {
    std::vector<std::string> copy;
    copy.reserve(ends_.size());
    for (std::string_view l : view()) copy.emplace_back(l);
    return copy;
}

void Workspace::append(std::string_view line) {
    text_.append(line);
    ends_.push_back(text_.size());
    if (observer_) observer_->linesAppended(ends_.size() - 1, 1);
}

void Workspace::reserve(std::size_t count, std::size_t bytes) {
    ends_.reserve(count);
    text_.reserve(bytes);
}

void Workspace::clear() {
    // Gives the memory back too: a cleared workspace may have held a very
    // large text.
    std::string().swap(text_);
    std::vector<std::size_t>().swap(ends_);
    if (observer_) observer_->workspaceReset();
}

void Workspace::replaceAll(const std::vector<std::string>& lines) {
    std::string text;
    std::vector<std::size_t> ends;
    ends.reserve(lines.size());
    std::size_t size = 0;
    for (const auto& l : lines) size += l.size();
    text.reserve(size);
    for (const auto& l : lines) {
        text += l;
        ends.push_back(text.size());
    }
    text_ = std::move(text);
    ends_ = std::move(ends);
    if (observer_) observer_->workspaceReset();
}

void Workspace::takeFrom(Workspace& other) {
    text_ = std::move(other.text_);
    ends_ = std::move(other.ends_);
    other.text_.clear();
    other.ends_.clear();
    if (other.observer_) other.observer_->workspaceReset();
    if (observer_) observer_->workspaceReset();
}

std::vector<std::string> SplitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c != '\n' && c != '\r') continue;
        lines.emplace_back(bytes.substr(start, i - start));
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
    return lines;
}

std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw FileError({msg::kCannotOpenFile, "Cannot open file \"%1\": %2",
                         {path.string(), SystemReason()}});
    // Read in blocks: a download of a million lines is read in one go.
    std::string bytes;
    std::error_code sizeUnknown;
    if (const auto size = std::filesystem::file_size(path, sizeUnknown); !sizeUnknown)
        bytes.reserve(static_cast<std::size_t>(size));
    char block[1 << 16];
    while (in.read(block, sizeof block) || in.gcount() > 0)
        bytes.append(block, static_cast<std::size_t>(in.gcount()));
    if (in.bad())
        throw FileError({msg::kCannotReadFile, "Cannot read file \"%1\": %2",
                         {path.string(), SystemReason()}});
    return bytes;
}

void Workspace::load(const std::filesystem::path& path) {
    if (std::filesystem::is_directory(path))
        throw FileError({msg::kCannotOpenFolder, "Cannot open file \"%1\": it is a folder",
                         {path.string()}});
    replaceAllBytes(ReadFileBytes(path));
}

void Workspace::replaceAllBytes(std::string bytes) {
    // The line ends are squeezed out in place: each line moves down over the
    // line ends before it, so splitting needs no second copy of the text.
    std::vector<std::size_t> ends;
    std::size_t out = 0, start = 0;
    auto keep = [&](std::size_t end) {
        if (out != start) std::memmove(bytes.data() + out, bytes.data() + start, end - start);
        out += end - start;
        ends.push_back(out);
    };
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\n' && c != '\r') continue;
        keep(i);
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) keep(bytes.size());
    bytes.resize(out);
    text_ = std::move(bytes);
    ends_ = std::move(ends);
    if (observer_) observer_->workspaceReset();
}

namespace {

// Writes through a temporary sibling renamed over the target; `write` puts
// the bytes into the open file and returns false when a write failed.
void WriteThroughTemporary(const std::filesystem::path& path,
                           const std::function<bool(std::FILE*)>& write,
                           const std::function<void()>& beforeReplace = {}) {
    const std::filesystem::path target = path.empty() ? std::filesystem::path("NONAME.TXT") : path;
    if (std::filesystem::is_directory(target))
        throw FileError({msg::kCannotWriteFolder, "Cannot write file \"%1\": it is a folder",
                         {target.string()}});
    const Outcome saved = SaveAtomically(target, write, beforeReplace);
    if (!saved)
        throw FileError({msg::kCannotWriteFile, "Cannot write file \"%1\": %2",
                         {target.string(), saved.description()}});
}

}  // namespace

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    WriteThroughTemporary(path, [&](std::FILE* f) {
        return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    });
}

// Streams the lines into the file through a block buffer, so saving a large
// workspace needs neither a second copy of its text nor a library call per line.
void Workspace::save(const std::filesystem::path& path,
                     const std::function<void()>& beforeReplace) const {
    WriteThroughTemporary(path, [&](std::FILE* f) {
        constexpr std::size_t kBlock = 1 << 20;
        std::string block;
        block.reserve(kBlock);
        auto flush = [&] {
            const bool ok = std::fwrite(block.data(), 1, block.size(), f) == block.size();
            block.clear();
            return ok;
        };
        for (std::string_view l : view()) {
            if (block.size() + l.size() + 2 > kBlock && !block.empty() && !flush()) return false;
            if (l.size() + 2 > kBlock) {  // a line longer than the block goes out by itself
                if (std::fwrite(l.data(), 1, l.size(), f) != l.size()) return false;
                block += "\r\n";
                continue;
            }
            block += l;
            block += "\r\n";
        }
        return block.empty() || flush();
    }, beforeReplace);
}

}  // namespace tarvosen
