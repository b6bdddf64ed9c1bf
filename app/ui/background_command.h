#pragma once
// A command run on a worker thread, so the window keeps repainting and moving
// while a long load, conversion or book runs. The command works on copies of
// the workspace, the application state and the dialog options; the window
// takes the copies back only when the command has ended. Cancel therefore
// leaves the window's text exactly as it was, even when the command is in the
// middle of its work: the worker is told to stop (its next progress step or
// question throws CommandCancelled) and its result is thrown away.
//
// The command's questions, messages, file choices and dialogs are handed to
// the window's user interface on the user-interface thread, and the worker
// waits for the answer; the progress bar follows without waiting.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "app/command.h"
#include "i18n/message_catalogue.h"

class QEventLoop;
class QObject;

namespace tarvosen::ui {

// Thrown through a command when the user cancels it. It is not a
// std::exception, so the commands' own handling of failures lets it pass
// (and ConvertInPlace's clean-up still runs).
struct CommandCancelled {};

class BackgroundCommand {
  public:
    using Body = std::function<CommandStatus(CommandContext&)>;

    // `receiver` lives in the user-interface thread and carries the handed-over
    // calls; `front` is the window's user interface that answers them.
    BackgroundCommand(QObject& receiver, UserInterface& front, const Workspace& workspace,
                      const AppState& state, const OptionsStore& options,
                      const MessageCatalogue& catalogue);
    // Waits for the worker, which a cancelled command may still occupy.
    ~BackgroundCommand();
    BackgroundCommand(const BackgroundCommand&) = delete;
    BackgroundCommand& operator=(const BackgroundCommand&) = delete;

    // Runs body on the worker and handles the window's events until it ends
    // or is cancelled. Rethrows the command's failure; Cancelled when the
    // user cancelled it. User-interface thread only.
    CommandStatus run(const Body& body);

    // Asks the command to stop; run returns Cancelled at once. Any thread.
    // False when it is too late: the command has begun replacing a file
    // (commitOutput) and finishes.
    bool cancel();
    bool running() const;

    // The context the command works in: the option dialogs the command shows
    // edit its options, not the window's. Valid until the object goes.
    CommandContext& context();

    // After run returned: the command's results, for the window to take.
    bool workspaceChanged() const;
    // True when the command replaced the text after the last findings it
    // showed, or showed none: the findings listed are of a text that is gone.
    bool findingsOutlived() const;
    Workspace& workspace();
    AppState& state();
    OptionsStore& options();
    // The last caption the command set, if it set one.
    std::optional<std::string> caption() const;

  private:
    struct Job;
    std::shared_ptr<Job> job_;
    std::thread worker_;
};

}  // namespace tarvosen::ui
