#pragma once
// Comm1 in the main window: the serial port, its events queued into the
// window's event loop, its handlers (Comm1RxChar and the lamps of Panel1)
// bound to the window's workspace and state.

namespace tarvosen::ui {

class TMainForm;

// Gives the window its Comm1. The window passes it to every command and
// closes it when the exit is confirmed; the port lives as long as the window.
void AttachComm1(TMainForm& window);

}  // namespace tarvosen::ui
