#include "app/ui/background_command.h"

#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>

#include <QEventLoop>
#include <QMetaObject>
#include <QObject>

namespace tarvosen::ui {

namespace {

// Notes whether the command changed the workspace, so an unchanged text is
// not shown again, and how often it replaced the text as a whole.
class ChangeTracker : public WorkspaceObserver {
  public:
    void linesAppended(std::size_t, std::size_t) override { changed = true; }
    void workspaceReset() override {
        changed = true;
        ++resets;
    }
    bool changed = false;
    int resets = 0;
};

}  // namespace

// Everything the worker touches; shared, so a cancelled worker that is still
// running never reaches into the window.
struct BackgroundCommand::Job : UserInterface, std::enable_shared_from_this<Job> {
    Job(QObject& receiver, UserInterface& front, const Workspace& w, const AppState& s,
        const OptionsStore& o, const MessageCatalogue& c)
        : receiver(&receiver), front(&front), workspace(w), state(s), options(o), catalogue(c),
          ctx{workspace, state, *this, options, catalogue, subsystems} {
        workspace.setObserver(&tracker);
    }

    // Queues task into the user-interface thread. Nothing is queued once the
    // job is cancelled, so a cancelled worker never reaches a closed window.
    bool post(std::function<void()> task) {
        std::lock_guard lock(mutex);
        if (cancelled) return false;
        QMetaObject::invokeMethod(receiver, std::move(task), Qt::QueuedConnection);
        return true;
    }

    // Runs ask on the user-interface thread and waits for it; a cancel wakes
    // the worker with CommandCancelled.
    template <typename Result>
    Result call(std::function<Result(UserInterface&)> ask) {
        struct Call {
            bool done = false;
            std::optional<Result> result;
            std::exception_ptr failure;
        };
        auto answer = std::make_shared<Call>();
        UserInterface* user = front;
        const bool posted = post([self = shared_from_this(), answer, ask, user] {
            // Queued before a cancel, the question is no longer asked: the
            // worker has stopped waiting for it.
            if (self->cancelled) return;
            try {
                answer->result = ask(*user);
            } catch (...) {
                answer->failure = std::current_exception();
            }
            std::lock_guard lock(self->mutex);
            answer->done = true;
            self->wake.notify_all();
        });
        if (!posted) throw CommandCancelled{};
        std::unique_lock lock(mutex);
        wake.wait(lock, [&] { return answer->done || cancelled; });
        if (!answer->done) throw CommandCancelled{};
        if (answer->failure) std::rethrow_exception(answer->failure);
        return *answer->result;
    }

    void checkCancelled() {
        if (cancelled) throw CommandCancelled{};
    }

    // From here on the command's output replaces a file: a cancel is refused.
    void commitOutput() override {
        std::lock_guard lock(mutex);
        if (cancelled) throw CommandCancelled{};
        committed = true;
    }

    // UserInterface, called on the worker.
    void showMessage(MessageKind kind, const std::string& text) override {
        call<bool>([kind, text](UserInterface& u) {
            u.showMessage(kind, text);
            return true;
        });
    }
    void showNote(const std::string& text) override {
        call<bool>([text](UserInterface& u) {
            u.showNote(text);
            return true;
        });
    }
    bool confirm(const std::string& question) override {
        return call<bool>([question](UserInterface& u) { return u.confirm(question); });
    }
    std::optional<std::filesystem::path> chooseSaveFile(const std::string& filter,
                                                        const std::string& ext) override {
        return call<std::optional<std::filesystem::path>>(
            [filter, ext](UserInterface& u) { return u.chooseSaveFile(filter, ext); });
    }
    std::optional<std::filesystem::path> chooseOpenFile(const std::string& filter) override {
        return call<std::optional<std::filesystem::path>>(
            [filter](UserInterface& u) { return u.chooseOpenFile(filter); });
    }
    bool showOptionDialog(OptionDialog dialog) override {
        return call<bool>([dialog](UserInterface& u) { return u.showOptionDialog(dialog); });
    }
    void openWithDesktop(const std::filesystem::path& path) override {
        call<bool>([path](UserInterface& u) {
            u.openWithDesktop(path);
            return true;
        });
    }
    void showLineFindings(const std::vector<LineFinding>& findings, bool append) override {
        findingsShownAt = tracker.resets;
        call<bool>([findings, append](UserInterface& u) {
            u.showLineFindings(findings, append);
            return true;
        });
    }
    // The caption changes only when the command's result is taken.
    void setCaption(const std::string& text) override {
        checkCancelled();
        std::lock_guard lock(mutex);
        caption = text;
    }
    void progressBegin(int maximum) override {
        checkCancelled();
        UserInterface* user = front;
        post([user, maximum] { user->progressBegin(maximum); });
    }
    // Many steps a second: only the latest position waits in the queue.
    void progressSetPosition(int position) override {
        checkCancelled();
        latestPosition = position;
        if (positionQueued.exchange(true)) return;
        UserInterface* user = front;
        post([self = shared_from_this(), user] {
            self->positionQueued = false;
            user->progressSetPosition(self->latestPosition);
        });
    }
    // Never throws: it runs from destructors while a cancel unwinds the
    // command. After a cancel nothing is posted (the window ends the bar).
    void progressEnd() override {
        UserInterface* user = front;
        post([user] { user->progressEnd(); });
    }

    QObject* receiver;
    UserInterface* front;
    Workspace workspace;
    AppState state;
    OptionsStore options;
    MessageCatalogue catalogue;
    // Its own, so no port reaches the worker and the window's link is left alone.
    SubsystemStore subsystems;
    CommandContext ctx;
    ChangeTracker tracker;
    std::optional<int> findingsShownAt;  // tracker.resets when findings were last shown

    std::mutex mutex;
    std::condition_variable wake;
    std::atomic<bool> cancelled{false};
    bool committed = false;  // under mutex: the output is being put in place
    bool ended = false;  // under mutex
    QEventLoop* loop = nullptr;  // under mutex: the loop run waits in, while it does
    CommandStatus status = CommandStatus::Stopped;
    std::exception_ptr failure;
    std::optional<std::string> caption;
    std::atomic<int> latestPosition{0};
    std::atomic<bool> positionQueued{false};
};

BackgroundCommand::BackgroundCommand(QObject& receiver, UserInterface& front,
                                     const Workspace& workspace, const AppState& state,
                                     const OptionsStore& options,
                                     const MessageCatalogue& catalogue)
    : job_(std::make_shared<Job>(receiver, front, workspace, state, options, catalogue)) {}

BackgroundCommand::~BackgroundCommand() {
    cancel();
    if (worker_.joinable()) worker_.join();
}

CommandStatus BackgroundCommand::run(const Body& body) {
    QEventLoop loop;
    std::shared_ptr<Job> job = job_;
    // Known to the worker and to cancel before either can end the loop;
    // they quit it by a queued call, which also reaches a loop not yet
    // running, and which goes with the loop when it is gone.
    {
        std::lock_guard lock(job->mutex);
        job->loop = &loop;
    }
    worker_ = std::thread([job, body] {
        CommandStatus status = CommandStatus::Stopped;
        std::exception_ptr failure;
        try {
            status = body(job->ctx);
        } catch (const CommandCancelled&) {
            status = CommandStatus::Cancelled;
        } catch (...) {
            failure = std::current_exception();
        }
        std::lock_guard lock(job->mutex);
        job->status = status;
        job->failure = failure;
        job->ended = true;
        job->wake.notify_all();
        if (job->loop) QMetaObject::invokeMethod(job->loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    std::lock_guard lock(job->mutex);
    job->loop = nullptr;
    if (job->cancelled || !job->ended) return CommandStatus::Cancelled;
    if (job->failure) std::rethrow_exception(job->failure);
    return job->status;
}

bool BackgroundCommand::cancel() {
    {
        std::lock_guard lock(job_->mutex);
        // Too late once the output replaces a file; the command ends at once.
        if (job_->committed) return false;
        if (job_->cancelled) return true;
        job_->cancelled = true;
        job_->wake.notify_all();
        if (job_->loop) QMetaObject::invokeMethod(job_->loop, &QEventLoop::quit, Qt::QueuedConnection);
    }
    return true;
}

bool BackgroundCommand::running() const {
    std::lock_guard lock(job_->mutex);
    return worker_.joinable() && !job_->ended;
}

CommandContext& BackgroundCommand::context() { return job_->ctx; }
bool BackgroundCommand::workspaceChanged() const { return job_->tracker.changed; }
bool BackgroundCommand::findingsOutlived() const {
    return job_->tracker.resets > 0 && job_->findingsShownAt != job_->tracker.resets;
}
Workspace& BackgroundCommand::workspace() { return job_->workspace; }
AppState& BackgroundCommand::state() { return job_->state; }
OptionsStore& BackgroundCommand::options() { return job_->options; }

std::optional<std::string> BackgroundCommand::caption() const {
    std::lock_guard lock(job_->mutex);
    return job_->caption;
}

}  // namespace tarvosen::ui
