#pragma once
// The main window's serial port: its events queued into the
// window's event loop, its handlers (TakeReceivedBytes and the lamps of signalPanel)
// bound to the window's workspace and state.

namespace tarvosen::ui {

class MainWindow;

// Gives the window its serial port. The window passes it to every command and
// closes it when the exit is confirmed; the port lives as long as the window.
void AttachSerialPort(MainWindow& window);

}  // namespace tarvosen::ui
