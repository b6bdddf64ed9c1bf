#pragma once
// A main window over a fresh temporary folder (the current directory while
// the fixture lives), with every question answered from a script.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "app/ui/main_form.h"
#include "tests/support/scripted_user_interface.h"

namespace tarvosen::ui::test {

class WindowFixture {
  public:
    WindowFixture() : previous_(std::filesystem::current_path()) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tarvosen-ui-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        dir_ = pattern;
        std::filesystem::current_path(dir_);
        window = std::make_unique<MainWindow>();
        window->user().setAnswers(&answers);
    }
    ~WindowFixture() {
        window.reset();
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
        std::filesystem::remove_all(dir_, ignored);
    }
    WindowFixture(const WindowFixture&) = delete;
    WindowFixture& operator=(const WindowFixture&) = delete;

    const std::filesystem::path& dir() const { return dir_; }

    std::filesystem::path writeFile(const std::string& name, const std::string& bytes) const {
        const auto path = dir_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string readFile(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        return all.str();
    }

    tarvosen::test::ScriptedUserInterface answers;
    std::unique_ptr<MainWindow> window;

  private:
    std::filesystem::path previous_;
    std::filesystem::path dir_;
};

}  // namespace tarvosen::ui::test
