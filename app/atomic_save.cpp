#include "app/atomic_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <string>

namespace tarvosen {

namespace fs = std::filesystem;

namespace {

std::string SystemReason() {
    return std::strerror(errno);
}

// A fresh temporary beside the target, opened for writing: an existing file
// is never opened over. -1 with errno set when none can be made.
int CreateTemporary(const fs::path& target, fs::path& temp) {
    fs::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    std::random_device rd;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = dir / ("." + target.filename().string() + "." + std::to_string(rd() % 1000000) +
                      ".part");
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    return fd;
}

void KeepPermissions(int fd, const fs::path& target) {
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) (void)::fchmod(fd, existing.st_mode & 07777);
}

// Records the reason of the first step that fails.
class Steps {
  public:
    bool operator()(bool ok) {
        if (!ok && reason_.empty()) reason_ = SystemReason();
        return ok;
    }
    Outcome outcome(const fs::path& temp) const {
        if (reason_.empty()) return Outcome::Done();
        std::error_code ignored;
        fs::remove(temp, ignored);
        return Outcome::Failed(reason_);
    }

  private:
    std::string reason_;
};

// Puts the file's data on the disk (EINVAL: a file that cannot be synced,
// such as a device, has nothing to put there).
bool Sync(int fd) {
    return ::fsync(fd) == 0 || errno == EINVAL;
}

}  // namespace

Outcome SaveAtomically(const fs::path& target, const std::function<bool(std::FILE*)>& write,
                       const std::function<void()>& beforeReplace) {
    fs::path temp;
    const int fd = CreateTemporary(target, temp);
    if (fd < 0) return Outcome::Failed(SystemReason());
    std::FILE* f = ::fdopen(fd, "wb");
    if (!f) {
        const std::string reason = SystemReason();
        ::close(fd);
        std::error_code ignored;
        fs::remove(temp, ignored);
        return Outcome::Failed(reason);
    }
    KeepPermissions(fd, target);
    Steps step;
    bool ok = step(write(f));
    ok = step(std::fflush(f) == 0) && ok;
    ok = ok && step(Sync(fileno(f)));
    ok = step(std::fclose(f) == 0) && ok;
    if (ok && beforeReplace) {
        try {
            beforeReplace();
        } catch (...) {
            std::error_code ignored;
            fs::remove(temp, ignored);
            throw;
        }
    }
    ok = ok && step(std::rename(temp.c_str(), target.c_str()) == 0);
    return step.outcome(temp);
}

Outcome SaveAtomicallyByName(const fs::path& target,
                             const std::function<void(const fs::path&)>& fill) {
    fs::path temp;
    int fd = CreateTemporary(target, temp);
    if (fd < 0) return Outcome::Failed(SystemReason());
    ::close(fd);
    try {
        fill(temp);
    } catch (...) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw;
    }
    Steps step;
    fd = ::open(temp.c_str(), O_RDONLY | O_CLOEXEC);
    bool ok = step(fd >= 0);
    if (ok) {
        KeepPermissions(fd, target);
        ok = step(Sync(fd));
        ::close(fd);
    }
    ok = ok && step(std::rename(temp.c_str(), target.c_str()) == 0);
    return step.outcome(temp);
}

}  // namespace tarvosen
