#pragma once
// The list of a check's findings beside the editor: each names its file and
// line; activating one shows that line in the editor.

#include <vector>

#include <QDockWidget>

#include "app/user_interface.h"

class QListWidget;
class QPlainTextEdit;

namespace tarvosen::ui {

class FindingsDock : public QDockWidget {
    Q_OBJECT
  public:
    FindingsDock(QPlainTextEdit& editor, QWidget* parent);
    // Shows the findings in place of the listed ones, or after them.
    void show(const std::vector<LineFinding>& findings, bool append);
    int count() const;

  private:
    void goToLine(int line);

    QPlainTextEdit& editor_;
    QListWidget* list_;
};

}  // namespace tarvosen::ui
