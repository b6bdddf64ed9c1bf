#include "tests/support/child_process.h"

#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>
#include <vector>

namespace tarvosen::test {

namespace {

void WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace

unsigned UnprivilegedUid() {
    if (geteuid() != 0) return geteuid();
    if (const passwd* nobody = getpwnam("nobody")) return nobody->pw_uid;
    return 65534;
}

ChildOutcome RunInChild(const ChildLimits& limits, const std::function<void()>& body) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return {false, std::string("pipe: ") + std::strerror(errno), true};
    const pid_t pid = fork();
    if (pid < 0) return {false, std::string("fork: ") + std::strerror(errno), true};
    if (pid == 0) {
        close(pipeFds[0]);
        std::string report = "ok";
        if (limits.unprivileged && geteuid() == 0) {
            const uid_t uid = UnprivilegedUid();
            if (setgroups(0, nullptr) != 0 || setgid(uid) != 0 || setuid(uid) != 0) {
                WriteAll(pipeFds[1],
                         std::string("?cannot drop privileges: ") + std::strerror(errno));
                _exit(2);
            }
        }
        if (limits.fileSizeLimit) {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{*limits.fileSizeLimit, *limits.fileSizeLimit};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
                WriteAll(pipeFds[1], std::string("?setrlimit: ") + std::strerror(errno));
                _exit(2);
            }
        }
        try {
            body();
        } catch (const std::exception& e) {
            report = std::string("!") + e.what();
        } catch (...) {
            report = "!an exception that is not a std::exception";
        }
        WriteAll(pipeFds[1], report);
        _exit(0);
    }
    close(pipeFds[1]);
    std::string report;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        report.append(buffer, static_cast<std::size_t>(n));
    }
    close(pipeFds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    ChildOutcome outcome;
    if (report == "ok" && WIFEXITED(status) && WEXITSTATUS(status) == 0) return outcome;
    if (!report.empty() && report[0] == '!' && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        outcome.threw = true;
        outcome.message = report.substr(1);
        return outcome;
    }
    outcome.crashed = true;
    outcome.message = report.empty() || report[0] != '?' ? report : report.substr(1);
    if (WIFSIGNALED(status))
        outcome.message += " (ended by signal " + std::to_string(WTERMSIG(status)) + ")";
    return outcome;
}

std::string FolderListing(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string out;
    for (const auto& n : names) out += (out.empty() ? "" : " ") + n;
    return out;
}

}  // namespace tarvosen::test
