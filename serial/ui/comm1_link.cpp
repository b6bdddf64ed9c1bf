#include "serial/ui/comm1_link.h"

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
    explicit PanelLamps(TSignalPanel& panel) : panel_(panel) {}
    void flash(SignalLamp lamp) override { panel_.flash(PanelLamp(lamp), kLampFlashMilliseconds); }

  private:
    static int PanelLamp(SignalLamp lamp) {
        switch (lamp) {
            case SignalLamp::TxEmpty:
                return TSignalPanel::TxEmpty;
            case SignalLamp::Break:
                return TSignalPanel::Break;
            case SignalLamp::RxChar:
                return TSignalPanel::RxChar;
            case SignalLamp::Rlsd:
                return TSignalPanel::Rlsd;
            case SignalLamp::RxFlag:
                return TSignalPanel::RxFlag;
            case SignalLamp::Error:
                return TSignalPanel::Error;
            case SignalLamp::Ring:
                return TSignalPanel::Ring;
            case SignalLamp::Dsr:
                return TSignalPanel::Dsr;
            case SignalLamp::Cts:
                return TSignalPanel::Cts;
        }
        return TSignalPanel::RxChar;
    }

    TSignalPanel& panel_;
};

// Everything Comm1 needs, destroyed in reverse order: the handlers are
// unbound and the port closed before the context and the hand-over go.
struct Comm1Link {
    explicit Comm1Link(TMainForm& window)
        : events(&window), ctx(window.context()), lamps(*window.Panel1) {
        ConfigureComm1(comm);
        ctx.comm1 = &comm;
        link = std::make_unique<InstrumentLink>(comm, ctx, &lamps);
    }

    QtHandOver events;
    TComm comm{events};
    CommandContext ctx;
    PanelLamps lamps;
    TReceiveLogKeeper logs{ctx};
    std::unique_ptr<InstrumentLink> link;
};

}  // namespace

void AttachComm1(TMainForm& window) {
    auto comm1 = std::make_shared<Comm1Link>(window);
    TComm* port = &comm1->comm;
    // The exit action keeps the link alive: it is a member of the window, so
    // the port goes with the window, before its workspace and state do.
    window.setComm1(port, [comm1] { comm1->comm.Close(); });
}

}  // namespace tarvosen::ui
