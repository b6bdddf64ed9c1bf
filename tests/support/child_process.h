#pragma once
// Runs a piece of a test in a forked child under conditions a test cannot set
// for its own process: a file size limit (writes past it fail with EFBIG, as
// on a full disk) or the rights of an ordinary user (so folder permissions
// hold even when the tests run as root).

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tarvosen::test {

struct ChildLimits {
    // RLIMIT_FSIZE in bytes; SIGXFSZ is ignored so the write itself fails.
    std::optional<std::size_t> fileSizeLimit;
    // Run as an ordinary user when the test runs as root.
    bool unprivileged = false;
};

struct ChildOutcome {
    bool threw = false;    // the body threw
    std::string message;   // what() of the exception, or why the child failed
    bool crashed = false;  // the child died, or could not be set up
    int exitCode = -1;     // of a program run by RunProgramInChild
    std::string output;    // what the child wrote to standard output and error
};

// Runs body in a child process and reports how it ended. What the body wrote
// to files stays; its changes to memory do not come back.
ChildOutcome RunInChild(const ChildLimits& limits, const std::function<void()>& body);

// Runs a program in a child under the limits.
ChildOutcome RunProgramInChild(const ChildLimits& limits, const std::vector<std::string>& argv);

// The user id an unprivileged child runs as (the test's own when not root).
unsigned UnprivilegedUid();

// Every entry of a folder, names only, sorted: to see that nothing was left.
std::string FolderListing(const std::string& folder);

}  // namespace tarvosen::test
