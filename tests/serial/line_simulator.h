#pragma once
// Test helpers for the serial link: a pseudo-terminal pair made by socat,
// the pyserial instrument simulator, and a plain pseudo-terminal driven from
// the test itself.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tarvosen::test {

// Why the simulator cannot run here (socat or pyserial missing), or empty.
std::string SimulatorMissing();

// A child process started with posix_spawn.
class Child {
  public:
    explicit Child(const std::vector<std::string>& argv);
    ~Child();
    Child(Child&& other) noexcept : pid_(std::exchange(other.pid_, -1)) {}
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    // The exit status, or nothing if it is still running after timeout.
    std::optional<int> wait(std::chrono::milliseconds timeout);

  private:
    int pid_ = -1;
};

// Two linked pseudo-terminals: the computer's end and the instrument's end.
class SocatPair {
  public:
    explicit SocatPair(const std::filesystem::path& dir);
    std::string computer() const { return (dir_ / "computer").string(); }
    std::string instrument() const { return (dir_ / "instrument").string(); }

  private:
    std::filesystem::path dir_;
    std::optional<Child> socat_;
};

// The simulator script with its arguments.
std::vector<std::string> Simulator(const std::string& port, std::vector<std::string> args);

// A pseudo-terminal opened by the test: the test holds the master side and
// the component opens slavePath().
class Pty {
  public:
    Pty();
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;
    const std::string& slavePath() const { return slave_; }
    // A second descriptor of the slave, for reading the line settings.
    int slaveFd() const { return slaveKeep_; }
    // Writes all bytes (blocking).
    void send(std::string_view bytes);
    // Reads what arrives within timeout.
    std::string receive(std::chrono::milliseconds timeout, std::size_t atLeast = 1);
    // Closes the test's side, as a pulled cable or a switched-off instrument
    // would: the component's side hangs up.
    void hangUp();

  private:
    int master_ = -1;
    int slaveKeep_ = -1;  // keeps the slave alive while the component closes and reopens it
    std::string slave_;
};

}  // namespace tarvosen::test
