#pragma once
// signalPanel: the port line signal panel, a lowered strip with nine round lamps,
// one per line event of the serial port. The serial link lights or flashes
// them; "View Port Signal" shows or hides the panel.

#include <array>

#include <QColor>
#include <QFrame>

class QLabel;

namespace tarvosen::ui {

class LampWidget;

class SignalLampPanel : public QFrame {
    Q_OBJECT
  public:
    // The lamps from left to right, in the order of the line events.
    enum Lamp { TxEmpty, Break, RxChar, Rlsd, RxFlag, Error, Ring, Dsr, Cts, LampCount };

    explicit SignalLampPanel(QWidget* parent = nullptr);

    // Lights a lamp (red) or puts it out (white). Safe from any thread: calls
    // from another thread are queued to the panel's thread and never block.
    void setLit(int lamp, bool lit);
    // Sets a lamp's fill colour; white is out. Safe from any thread.
    void setColour(int lamp, const QColor& colour);
    // Lights a lamp for `milliseconds`; it then goes out. Safe from any thread.
    void flash(int lamp, int milliseconds = 120);
    bool isLit(int lamp) const;  // any colour but white

    // The lamp's caption, "EV_TxEmpty" .. "EV_CTS".
    static const char* LampCaption(int lamp);

  private:
    std::array<LampWidget*, LampCount> lamps_{};
    QLabel* caption_ = nullptr;
};

}  // namespace tarvosen::ui
