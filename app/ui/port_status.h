#pragma once
// The status-bar part that shows the serial port listening: the port and its
// settings, the lines and bytes received since it opened, and a Stop button
// that closes it. It counts by standing in the receive path in front of the
// observer that was there (the transfer logs), which still gets everything.

#include <atomic>
#include <functional>

#include <QWidget>

#include "serial/receive_observer.h"

class QLabel;
class QPushButton;
class QTimer;

namespace tarvosen {
class MessageCatalogue;
class SerialPort;
struct AppState;
struct SerialLink;
}  // namespace tarvosen

namespace tarvosen::ui {

class PortStatus : public QWidget, public ReceiveObserver {
    Q_OBJECT
  public:
    // Puts itself into link.receiveObserver; shows nothing until a port opens.
    // Its texts come from the catalogue in the language of state.
    PortStatus(const AppState& state, SerialLink& link, const MessageCatalogue& catalogue,
               QWidget* parent);

    void setComm(SerialPort* comm) { comm_ = comm; }
    // Shows or hides itself as the port is open or closed; the window's timer calls it.
    void refresh();
    QLabel* label() const { return label_; }
    QPushButton* stopButton() const { return stop_; }

    void bytesReceived(std::string_view bytes) override;
  signals:
    // The port opened or closed (seen by refresh).
    void openChanged(bool open);

  public:
    void lineReceived(std::string_view line, std::size_t lineNumber) override;

  private:
    const AppState& state_;
    SerialLink& link_;
    const MessageCatalogue& catalogue_;
    ReceiveObserver* next_;
    SerialPort* comm_ = nullptr;
    QLabel* label_;
    QPushButton* stop_;
    bool wasOpen_ = false;
    std::size_t lines_ = 0;
    std::size_t bytes_ = 0;
};

}  // namespace tarvosen::ui
