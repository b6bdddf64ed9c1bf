#pragma once
// workspaceEditor: the editor that shows the workspace. The workspace's bytes are
// the text; the editor follows every change of it and shows each line decoded
// (see text_encoding.h). What the user types stays in the editor until the
// next command, which first writes the edited text back into the workspace.
// Lines the user did not change keep their bytes exactly. A large text is
// shown a slice at a time with the event loop running in between, so the
// window keeps answering while it fills.

#include <cstddef>
#include <vector>

#include <QPlainTextEdit>

#include "app/workspace.h"

namespace tarvosen::ui {

class WorkspaceEditor : public QPlainTextEdit, public WorkspaceObserver {
    Q_OBJECT
  public:
    WorkspaceEditor(Workspace& workspace, QWidget* parent = nullptr);
    ~WorkspaceEditor() override;

    // True when the user changed the text since the workspace was last shown
    // or written back.
    bool userEdited() const { return userEdited_; }

    // Writes the edited text back into the workspace if the user changed it.
    void syncToWorkspace();

    // Shows lines appended since the last time (appends are shown in batches
    // when control returns to the event loop, so many lines stay fast). A
    // large number is shown for about kSliceTime, the rest in later slices.
    void flushAppends();
    // Shows every line of the workspace now, as the text is about to be read.
    void showAll();
    // True while lines of the workspace are still waiting to be shown.
    bool filling() const;

    // The editor's lines as the workspace would get them from syncToWorkspace.
    std::vector<std::string> editedLines() const;

    // WorkspaceObserver
    void linesAppended(std::size_t first, std::size_t count) override;
    void workspaceReset() override;

  signals:
    // The workspace's lines changed (appended, replaced or cleared).
    void workspaceChanged();

  private:
    void showWholeWorkspace();
    void scheduleFlush();
    void showPending(bool all);
    void appendShown(std::size_t end);

    Workspace& workspace_;
    std::size_t shownLines_ = 0;  // workspace lines the editor shows
    bool userEdited_ = false;
    bool updating_ = false;  // the editor is changing its own text
    bool flushScheduled_ = false;
    bool syncing_ = false;  // the workspace is taking the editor's text
    bool keepTop_ = false;  // a new text is filling in: the view stays at its top
};

}  // namespace tarvosen::ui
