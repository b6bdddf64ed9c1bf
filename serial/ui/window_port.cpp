#include "serial/ui/window_port.h"

#include <memory>

#include "app/ui/main_form.h"
#include "app/ui/signal_lamp_panel.h"
#include "serial/instrument_link.h"
#include "serial/ui/qt_hand_over.h"
#include "serial/ui/receive_log_keeper.h"

namespace tarvosen::ui {

namespace {

// How long a lamp stays red after its event.
constexpr int kLampFlashMilliseconds = 150;

class PanelLamps : public SignalLamps {
  public:
    explicit PanelLamps(SignalLampPanel& panel) : panel_(panel) {}
    void flash(SignalLamp lamp) override { panel_.flash(PanelLamp(lamp), kLampFlashMilliseconds); }

  private:
    static int PanelLamp(SignalLamp lamp) {
        switch (lamp) {
            case SignalLamp::TxEmpty:
                return SignalLampPanel::TxEmpty;
            case SignalLamp::Break:
                return SignalLampPanel::Break;
            case SignalLamp::RxChar:
                return SignalLampPanel::RxChar;
            case SignalLamp::Rlsd:
                return SignalLampPanel::Rlsd;
            case SignalLamp::RxFlag:
                return SignalLampPanel::RxFlag;
            case SignalLamp::Error:
                return SignalLampPanel::Error;
            case SignalLamp::Ring:
                return SignalLampPanel::Ring;
            case SignalLamp::Dsr:
                return SignalLampPanel::Dsr;
            case SignalLamp::Cts:
                return SignalLampPanel::Cts;
        }
        return SignalLampPanel::RxChar;
    }

    SignalLampPanel& panel_;
};

// Everything the serial port needs, destroyed in reverse order: the handlers are
// unbound and the port closed before the context and the hand-over go.
struct WindowPortLink {
    explicit WindowPortLink(MainWindow& window)
        : events(&window), ctx(window.context()), lamps(*window.signalPanel) {
        ApplyWindowPortSettings(comm);
        link = std::make_unique<InstrumentLink>(comm, ctx, &lamps);
    }

    QtHandOver events;
    SerialPort comm{events};
    CommandContext ctx;
    PanelLamps lamps;
    ReceiveLogKeeper logs{ctx};
    std::unique_ptr<InstrumentLink> link;
};

}  // namespace

void AttachSerialPort(MainWindow& window) {
    auto serialPort = std::make_shared<WindowPortLink>(window);
    SerialPort* port = &serialPort->comm;
    // The exit action keeps the link alive: it is a member of the window, so
    // the port goes with the window, before its workspace and state do.
    window.setSerialPort(port, [serialPort] { serialPort->comm.Close(); });
}

}  // namespace tarvosen::ui
