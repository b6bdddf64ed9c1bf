#include "app/ui/findings_dock.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextBlock>

namespace tarvosen::ui {

FindingsDock::FindingsDock(QPlainTextEdit& editor, QWidget* parent)
    : QDockWidget(parent),
      editor_(editor),
      list_(new QListWidget(this)) {
    setObjectName("FindingsDock");
    list_->setObjectName("FindingsList");
    setWidget(list_);
    connect(list_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { goToLine(item->data(Qt::UserRole).toInt()); });
    hide();
}

void FindingsDock::show(const std::vector<LineFinding>& findings, bool append) {
    if (!append) list_->clear();
    for (const auto& f : findings) {
        auto* item = new QListWidgetItem(
            QString::fromStdString(f.file + ":" + std::to_string(f.line) + ": " + f.text), list_);
        item->setData(Qt::UserRole, static_cast<int>(f.line));
    }
    setVisible(list_->count() > 0);
}

int FindingsDock::count() const {
    return list_->count();
}

void FindingsDock::goToLine(int line) {
    const QTextBlock block = editor_.document()->findBlockByNumber(std::max(0, line - 1));
    if (!block.isValid()) return;
    editor_.setTextCursor(QTextCursor(block));
    editor_.centerCursor();
    editor_.setFocus();
}

}  // namespace tarvosen::ui
