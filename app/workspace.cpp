#include "app/workspace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>

#include "app/errors.h"

namespace tarvosen {

namespace {

std::string SystemReason() {
    return std::strerror(errno);
}

}  // namespace

void Workspace::append(std::string line) {
    lines_.push_back(std::move(line));
    if (observer_) observer_->linesAppended(lines_.size() - 1, 1);
}

void Workspace::clear() {
    lines_.clear();
    if (observer_) observer_->workspaceReset();
}

void Workspace::replaceAll(std::vector<std::string> lines) {
    lines_ = std::move(lines);
    if (observer_) observer_->workspaceReset();
}

std::vector<std::string> Workspace::takeLines() {
    std::vector<std::string> lines = std::move(lines_);
    lines_.clear();
    if (observer_) observer_->workspaceReset();
    return lines;
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
    if (!in) throw FileError("Cannot open file \"" + path.string() + "\": " + SystemReason());
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw FileError("Cannot read file \"" + path.string() + "\": " + SystemReason());
    return bytes;
}

void Workspace::load(const std::filesystem::path& path) {
    if (std::filesystem::is_directory(path))
        throw FileError("Cannot open file \"" + path.string() + "\": it is a folder");
    replaceAll(SplitLines(ReadFileBytes(path)));
}

namespace {

// Writes through a temporary sibling renamed over the target; `write` puts
// the bytes into the open file and returns false when a write failed.
template <typename Write>
void WriteThroughTemporary(const std::filesystem::path& path, const Write& write) {
    namespace fs = std::filesystem;
    const fs::path target = path.empty() ? fs::path("NONAME.TXT") : path;
    if (fs::is_directory(target))
        throw FileError("Cannot write file \"" + target.string() + "\": it is a folder");
    fs::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    // A fresh name: an existing file is never opened over. The temporary
    // gets the target's permissions, so replacing a file keeps them.
    std::random_device rd;
    fs::path temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = dir / ("." + target.filename().string() + "." + std::to_string(rd() % 1000000) +
                      ".part");
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) throw FileError("Cannot write file \"" + target.string() + "\": " + SystemReason());
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) (void)::fchmod(fd, existing.st_mode & 07777);
    std::FILE* f = ::fdopen(fd, "wb");
    if (!f) {
        const std::string reason = SystemReason();
        ::close(fd);
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw FileError("Cannot write file \"" + target.string() + "\": " + reason);
    }
    // The reason of the first step that fails is the one reported.
    std::string reason;
    auto step = [&](bool ok) {
        if (!ok && reason.empty()) reason = SystemReason();
        return ok;
    };
    bool ok = step(write(f));
    ok = step(std::fflush(f) == 0) && ok;
    ok = ok && step(fsync(fileno(f)) == 0 || errno == EINVAL);
    ok = step(std::fclose(f) == 0) && ok;
    ok = ok && step(std::rename(temp.c_str(), target.c_str()) == 0);
    if (!ok) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw FileError("Cannot write file \"" + target.string() + "\": " + reason);
    }
}

}  // namespace

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    WriteThroughTemporary(path, [&](std::FILE* f) {
        return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    });
}

// Streams the lines into the file, so saving a large workspace needs no
// second copy of its text in memory.
void Workspace::save(const std::filesystem::path& path) const {
    WriteThroughTemporary(path, [&](std::FILE* f) {
        std::setvbuf(f, nullptr, _IOFBF, 1 << 16);
        for (const auto& l : lines_) {
            if (std::fwrite(l.data(), 1, l.size(), f) != l.size() || std::fputs("\r\n", f) < 0)
                return false;
        }
        return true;
    });
}

}  // namespace tarvosen
