#pragma once
// A label for a panel that has to share its row: it asks for little width,
// shows as much of its text as fits with "…" at the end, and shows the whole
// text as its tooltip while it is cut.

#include <QLabel>

namespace tarvosen::ui {

class ElidedLabel : public QLabel {
    Q_OBJECT
  public:
    explicit ElidedLabel(const QString& text = QString(), QWidget* parent = nullptr);
    explicit ElidedLabel(QWidget* parent) : ElidedLabel(QString(), parent) {}

    QSize minimumSizeHint() const override;
    // The text as shown in the label's present width.
    QString shownText() const;
    bool cut() const { return shownText() != text(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
};

}  // namespace tarvosen::ui
