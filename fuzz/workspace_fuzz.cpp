// Splitting arbitrary bytes into workspace lines: saving the lines again must
// give back every byte that was not a line end, and the workspace's own
// in-place split must give the same lines as SplitLines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/workspace.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto lines = tarvosen::SplitLines(bytes);
    std::string kept;
    for (const auto& l : lines) kept += l;
    std::string expected;
    for (char c : bytes)
        if (c != '\r' && c != '\n') expected += c;
    if (kept != expected) std::abort();

    tarvosen::Workspace workspace;
    workspace.replaceAllBytes(std::string(bytes));
    if (workspace.lines() != lines) std::abort();
    workspace.append(bytes.substr(0, 3));
    if (workspace.lineCount() != lines.size() + 1 || workspace.line(lines.size()) != bytes.substr(0, 3))
        std::abort();
    return 0;
}
