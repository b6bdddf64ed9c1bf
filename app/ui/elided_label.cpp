#include "app/ui/elided_label.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

namespace tarvosen::ui {

namespace {

// Room for a few characters, so a squeezed panel still says what it is.
constexpr int kMinimumCharacters = 4;

}  // namespace

ElidedLabel::ElidedLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

QSize ElidedLabel::minimumSizeHint() const {
    QSize size = QLabel::minimumSizeHint();
    const QMargins m = contentsMargins();
    const int width = fontMetrics().averageCharWidth() * kMinimumCharacters + m.left() + m.right() +
                      2 * frameWidth() + 2 * margin();
    size.setWidth(std::min(size.width(), width));
    return size;
}

QString ElidedLabel::shownText() const {
    const int width = contentsRect().width() - 2 * margin();
    return fontMetrics().elidedText(text(), Qt::ElideRight, std::max(0, width));
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect().marginsRemoved(QMargins(margin(), margin(), margin(), margin()));
    style()->drawItemText(&painter, area, static_cast<int>(alignment()), palette(), isEnabled(),
                          shownText(), foregroundRole());
}

bool ElidedLabel::event(QEvent* event) {
    // While the text is cut its whole wording is a tooltip away.
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (cut())
            QToolTip::showText(help->globalPos(), text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(event);
}

}  // namespace tarvosen::ui
