#include "app/ui/signal_lamp_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QThread>
#include <QTimer>

namespace tarvosen::ui {

// One round lamp: white when idle, red when lit.
class LampWidget : public QWidget {
  public:
    explicit LampWidget(QWidget* parent) : QWidget(parent) {
        setFixedSize(14, 14);
        offTimer_.setSingleShot(true);
        connect(&offTimer_, &QTimer::timeout, this, [this] { setColour(Qt::white); });
    }
    void setColour(const QColor& colour) {
        offTimer_.stop();
        if (colour_ == colour) return;
        colour_ = colour;
        update();
    }
    void flash(int milliseconds) {
        setColour(Qt::red);
        offTimer_.start(milliseconds);
    }
    bool lit() const { return colour_ != QColor(Qt::white); }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::darkGray, 1));
        p.setBrush(colour_);
        p.drawEllipse(QRectF(rect()).adjusted(1, 1, -1, -1));
    }

  private:
    QColor colour_ = Qt::white;
    QTimer offTimer_;
};

namespace {

constexpr const char* kObjectNames[] = {"TxEmptyLamp", "BreakLamp", "RxCharLamp", "RlsdLamp", "RxFlagLamp",
                                        "ErrorLamp",   "RingLamp",  "DsrLamp",    "CtsLamp"};
// The captions before the catalogue gives those of the chosen language.
constexpr const char* kCaptions[] = {"Sent", "Break", "Received", "Carrier", "Event char",
                                     "Error", "Ring",  "DSR",      "CTS"};

}  // namespace

SignalLampPanel::SignalLampPanel(QWidget* parent) : QFrame(parent) {
    setObjectName("SignalLamps");
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setFixedHeight(57);
    // Never wider than the window it is in: the captions are short, and what
    // does not fit is cut rather than widening the window.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(10, 4, 10, 4);
    row->setSpacing(6);
    caption_ = new QLabel("Port signals:", this);
    caption_->setObjectName("SignalLampsCaption");
    row->addWidget(caption_);
    row->addSpacing(8);
    for (int i = 0; i < LampCount; ++i) {
        lamps_[i] = new LampWidget(this);
        lamps_[i]->setObjectName(kObjectNames[i]);
        captions_[i] = new QLabel(kCaptions[i], this);
        row->addWidget(lamps_[i]);
        row->addWidget(captions_[i]);
        row->addSpacing(6);
    }
    row->addStretch();
}

void SignalLampPanel::setTexts(const QString& caption, const std::array<QString, LampCount>& lamps) {
    caption_->setText(caption);
    for (int i = 0; i < LampCount; ++i) captions_[i]->setText(lamps[i]);
}

void SignalLampPanel::setLit(int lamp, bool lit) {
    setColour(lamp, lit ? Qt::red : Qt::white);
}

void SignalLampPanel::setColour(int lamp, const QColor& colour) {
    if (lamp < 0 || lamp >= LampCount) return;
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this, lamp, colour] { setColour(lamp, colour); }, Qt::QueuedConnection);
        return;
    }
    lamps_[lamp]->setColour(colour);
}

void SignalLampPanel::flash(int lamp, int milliseconds) {
    if (lamp < 0 || lamp >= LampCount) return;
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this, lamp, milliseconds] { flash(lamp, milliseconds); }, Qt::QueuedConnection);
        return;
    }
    lamps_[lamp]->flash(milliseconds);
}

bool SignalLampPanel::isLit(int lamp) const {
    return lamp >= 0 && lamp < LampCount && lamps_[lamp]->lit();
}

}  // namespace tarvosen::ui
