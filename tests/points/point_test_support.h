#pragma once
// Runs a point command on workspace lines and returns what it left behind.

#include <string>
#include <vector>

#include "app/command.h"
#include "tests/support/test_context.h"

namespace tarvosen::test {

struct PointRun {
    CommandStatus status;
    std::vector<std::string> lines;
    std::vector<std::string> warnings;
};

inline PointRun RunOnLines(TestContext& t, CommandHandler command, std::vector<std::string> in) {
    t.setLines(std::move(in));
    t.user.messages.clear();
    const auto status = command(t.ctx);
    return {status, t.workspace.lines(), t.user.texts(MessageKind::Warning)};
}

inline PointRun RunOnLines(CommandHandler command, std::vector<std::string> in) {
    TestContext t;
    return RunOnLines(t, command, std::move(in));
}

}  // namespace tarvosen::test
