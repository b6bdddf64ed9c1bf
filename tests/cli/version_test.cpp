// Both programs answer --version with the one version of app/version.h; the
// desktop program does so without a display.

#include <gtest/gtest.h>

#include "app/version.h"
#include "tests/support/child_process.h"

namespace tarvosen {
namespace {

using test::RunProgramInChild;

TEST(Version, BothProgramsPrintTheSameVersionLine) {
#ifndef TARVOSEN_GUI_PATH
    GTEST_SKIP() << "the desktop program is not built";
#else
    const auto cli = RunProgramInChild({}, {TARVOSEN_CLI_PATH, "--version"});
    EXPECT_EQ(cli.exitCode, 0) << cli.output;
    EXPECT_EQ(cli.output, std::string("tarvosen-cli ") + kVersionText + "\n");

    // No display: a program that started Qt's window system here would fail.
    const auto gui =
        RunProgramInChild({}, {"/usr/bin/env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY",
                               "QT_QPA_PLATFORM=xcb", TARVOSEN_GUI_PATH, "--version"});
    EXPECT_EQ(gui.exitCode, 0) << gui.output;
    EXPECT_EQ(gui.output, std::string("tarvosen ") + kVersionText + "\n");

    const auto version = [](const std::string& line) { return line.substr(line.find(' ')); };
    EXPECT_EQ(version(gui.output), version(cli.output));
#endif
}

}  // namespace
}  // namespace tarvosen
