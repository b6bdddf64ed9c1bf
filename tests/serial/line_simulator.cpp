#include "tests/serial/line_simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace tarvosen::test {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr const char* kPython = "/usr/bin/python3";
constexpr const char* kSocat = "/usr/bin/socat";

int RunQuietly(const std::vector<std::string>& argv) {
    Child c(argv);
    return c.wait(20s).value_or(-1);
}

}  // namespace

std::string SimulatorMissing() {
    static const std::string why = [] {
        if (access(kSocat, X_OK) != 0) return std::string("socat is not installed");
        if (access(kPython, X_OK) != 0) return std::string("/usr/bin/python3 is not installed");
        if (RunQuietly({kPython, "-c", "import serial"}) != 0)
            return std::string("pyserial (python3-serial) is not installed");
        return std::string();
    }();
    return why;
}

Child::Child(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    if (pid_ < 0) throw std::runtime_error("cannot start " + argv[0]);
}

Child::~Child() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

std::optional<int> Child::wait(std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (pid_ > 0) {
        int status = 0;
        const pid_t r = waitpid(pid_, &status, WNOHANG);
        if (r == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (std::chrono::steady_clock::now() > end) return std::nullopt;
        std::this_thread::sleep_for(5ms);
    }
    return std::nullopt;
}

SocatPair::SocatPair(const fs::path& dir) : dir_(dir) {
    socat_.emplace(std::vector<std::string>{kSocat, "pty,raw,echo=0,link=" + instrument(),
                                            "pty,raw,echo=0,link=" + computer()});
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (!(fs::exists(instrument()) && fs::exists(computer()))) {
        if (std::chrono::steady_clock::now() > end) throw std::runtime_error("socat made no ptys");
        std::this_thread::sleep_for(5ms);
    }
}

std::vector<std::string> Simulator(const std::string& port, std::vector<std::string> args) {
    const fs::path script =
        fs::path(TARVOSEN_TEST_CORPUS_DIR).parent_path() / "serial" / "instrument_sim.py";
    std::vector<std::string> argv{kPython, script.string(), port};
    argv.insert(argv.end(), args.begin(), args.end());
    return argv;
}

Pty::Pty() {
    char name[256];
    int slave = -1;
    if (openpty(&master_, &slave, name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    slave_ = name;
    slaveKeep_ = slave;
    // Raw on the test's side too: bytes pass unchanged both ways.
    termios t{};
    tcgetattr(slave, &t);
    cfmakeraw(&t);
    tcsetattr(slave, TCSANOW, &t);
}

Pty::~Pty() {
    if (master_ >= 0) close(master_);
    if (slaveKeep_ >= 0) close(slaveKeep_);
}

void Pty::hangUp() {
    if (master_ >= 0) close(master_);
    master_ = -1;
}

void Pty::send(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(master_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            throw std::runtime_error("pty write failed");
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

std::string Pty::receive(std::chrono::milliseconds timeout, std::size_t atLeast) {
    std::string out;
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (out.size() < atLeast) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd p{master_, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
        char buf[4096];
        const ssize_t n = read(master_, buf, sizeof buf);
        if (n > 0) out.append(buf, static_cast<std::size_t>(n));
    }
    return out;
}

}  // namespace tarvosen::test
