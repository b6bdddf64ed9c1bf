#pragma once
// Checks of what was typed into a dialog before it closes: a refused field is
// marked, the reason shown, and the field gets the focus, so the dialog stays
// open for the correction. Header-only: every subsystem's dialogs use it.

#include <initializer_list>

#include <QLineEdit>
#include <QMessageBox>
#include <QString>

namespace tarvosen::ui {

// A whole text that reads as a decimal number not below `minimum`.
inline bool IsNumberAtLeast(const QString& text, double minimum) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && value >= minimum;
}

inline void ClearFieldMarks(std::initializer_list<QLineEdit*> fields) {
    for (QLineEdit* field : fields) {
        field->setStyleSheet(QString());
        field->setToolTip(QString());
    }
}

inline void RefuseField(QWidget* dialog, QLineEdit* field, const QString& why) {
    field->setStyleSheet("QLineEdit { border: 2px solid #d00000; }");
    field->setToolTip(why);
    QMessageBox::critical(dialog, dialog->windowTitle(), why);
    field->setFocus();
    field->selectAll();
}

}  // namespace tarvosen::ui
