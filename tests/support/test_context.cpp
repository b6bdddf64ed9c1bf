#include "tests/support/test_context.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tarvosen::test {

namespace fs = std::filesystem;

TestContext::TestContext()
    : ctx{workspace, state, user, options, catalogue, subsystems} {
    std::string pattern = (fs::temp_directory_path() / "tarvosen-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
    state.startDirectory = dir_;
}

TestContext::~TestContext() {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
}

fs::path TestContext::writeFile(const std::string& name, std::string_view bytes) const {
    fs::path p = dir_ / name;
    std::ofstream out(p, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return p;
}

Workspace LinesOfText(std::string_view bytes) {
    Workspace lines;
    lines.replaceAllBytes(std::string(bytes));
    return lines;
}

Workspace LinesOfFile(const fs::path& path) {
    Workspace lines;
    lines.load(path);
    return lines;
}

std::string TestContext::readFile(const fs::path& path) const {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

fs::path CorpusFile(std::string_view relative) {
    return fs::path(TARVOSEN_TEST_CORPUS_DIR) / relative;
}

fs::path DataFile(std::string_view relative) { return fs::path(TARVOSEN_SOURCE_DATA_DIR) / relative; }

}  // namespace tarvosen::test
