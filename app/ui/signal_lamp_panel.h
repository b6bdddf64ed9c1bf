#pragma once
// signalPanel: the port line signal panel, a lowered strip with nine round lamps,
// one per line event of the serial port. The serial link lights or flashes
// them; the window shows the panel while the port is open, and always when
// "View Port Signal" is on.

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

    // The panel's caption and the lamps' captions, in the chosen language.
    void setTexts(const QString& caption, const std::array<QString, LampCount>& lamps);

  private:
    std::array<LampWidget*, LampCount> lamps_{};
    QLabel* caption_ = nullptr;
    std::array<QLabel*, LampCount> captions_{};
};

}  // namespace tarvosen::ui
