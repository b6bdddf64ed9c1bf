#pragma once
// A command context over a fresh temporary folder, which is StartDirectory
// while the fixture lives.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_context.h"
#include "i18n/message_catalogue.h"
#include "tests/support/scripted_user_interface.h"

namespace tarvosen::test {

class TestContext {
public:
    TestContext();
    ~TestContext();
    TestContext(const TestContext&) = delete;
    TestContext& operator=(const TestContext&) = delete;

    const std::filesystem::path& dir() const { return dir_; }

    // Writes a file in the temporary folder and returns its path.
    std::filesystem::path writeFile(const std::string& name, std::string_view bytes) const;
    std::string readFile(const std::filesystem::path& path) const;

    // Sets the workspace lines.
    void setLines(std::vector<std::string> lines) { workspace.replaceAll(std::move(lines)); }

    Workspace workspace;
    AppState state;
    ScriptedUserInterface user;
    OptionsStore options;
    SubsystemStore subsystems;
    MessageCatalogue catalogue;
    CommandContext ctx;

private:
    std::filesystem::path dir_;
};

// The lines of a text or of a file, split as Load splits them.
Workspace LinesOfText(std::string_view bytes);
Workspace LinesOfFile(const std::filesystem::path& path);

// A file of the instrument corpus under tests/corpus.
std::filesystem::path CorpusFile(std::string_view relative);
// A file under data/.
std::filesystem::path DataFile(std::string_view relative);

}  // namespace tarvosen::test
