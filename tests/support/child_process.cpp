#include "tests/support/child_process.h"

#include <fcntl.h>
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

std::string ReadAll(int fd) {
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    close(fd);
    return text;
}

// In the child: applies the limits; returns why it could not, or empty.
std::string ApplyLimits(const ChildLimits& limits) {
    if (limits.unprivileged && geteuid() == 0) {
        const uid_t uid = UnprivilegedUid();
        if (setgroups(0, nullptr) != 0 || setgid(uid) != 0 || setuid(uid) != 0)
            return std::string("cannot drop privileges: ") + std::strerror(errno);
    }
    if (limits.fileSizeLimit) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{*limits.fileSizeLimit, *limits.fileSizeLimit};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return std::string("setrlimit: ") + std::strerror(errno);
    }
    return {};
}

// Forks; the child applies the limits and runs body, which reports on the
// first descriptor ("ok", "!" + what it threw) and writes its output to
// standard output and error, which come back in the outcome.
ChildOutcome Fork(const ChildLimits& limits, const std::function<std::string()>& body) {
    int report[2], output[2];
    if (pipe2(report, O_CLOEXEC) != 0 || pipe2(output, O_CLOEXEC) != 0)
        return {false, std::string("pipe: ") + std::strerror(errno), true};
    const pid_t pid = fork();
    if (pid < 0) return {false, std::string("fork: ") + std::strerror(errno), true};
    if (pid == 0) {
        close(report[0]);
        close(output[0]);
        dup2(output[1], STDOUT_FILENO);
        dup2(output[1], STDERR_FILENO);
        const std::string why = ApplyLimits(limits);
        WriteAll(report[1], why.empty() ? body() : "?" + why);
        _exit(0);
    }
    close(report[1]);
    close(output[1]);
    ChildOutcome outcome;
    outcome.output = ReadAll(output[0]);
    const std::string said = ReadAll(report[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) outcome.exitCode = WEXITSTATUS(status);
    if (said.starts_with("!")) {
        outcome.threw = true;
        outcome.message = said.substr(1);
    } else if (said.starts_with("?")) {
        outcome.crashed = true;
        outcome.message = said.substr(1);
    } else if (WIFSIGNALED(status)) {
        outcome.crashed = true;
        outcome.message = "ended by signal " + std::to_string(WTERMSIG(status));
    } else {
        outcome.message = said;
    }
    return outcome;
}

}  // namespace

unsigned UnprivilegedUid() {
    if (geteuid() != 0) return geteuid();
    if (const passwd* nobody = getpwnam("nobody")) return nobody->pw_uid;
    return 65534;
}

ChildOutcome RunInChild(const ChildLimits& limits, const std::function<void()>& body) {
    ChildOutcome outcome = Fork(limits, [&]() -> std::string {
        try {
            body();
            return "ok";
        } catch (const std::exception& e) {
            return std::string("!") + e.what();
        } catch (...) {
            return "!an exception that is not a std::exception";
        }
    });
    if (!outcome.threw && !outcome.crashed) {
        outcome.crashed = outcome.message != "ok";
        outcome.message = outcome.crashed ? "the child ended without a report" : "";
    }
    outcome.exitCode = -1;
    return outcome;
}

ChildOutcome RunProgramInChild(const ChildLimits& limits, const std::vector<std::string>& argv) {
    return Fork(limits, [&]() -> std::string {
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        return "?cannot run " + argv.at(0) + ": " + std::strerror(errno);
    });
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
