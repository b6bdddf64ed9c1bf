#pragma once
// The serial subsystem's options: the port settings of the parameter dialog
// and how the command line drives download and upload.

#include <string>

#include "app/option_dialog.h"

namespace tarvosen {

// The communication parameter dialog, which edits PortSettings.
inline constexpr OptionDialog kPortSettingsDialog{"serial.port-settings",
                                                  "The communication parameter dialog"};

// Communication parameters (PortSettingsDialog): positions in the dialog's lists.
struct PortSettings {
    std::string port = "Com1";  // device name as chosen; "Com1".."Com4" map to /dev/ttyS0..3
    int baudRate = 5;           // TBaudRate ordinal, 5 = 9600
    int parity = 0;             // TParity ordinal, 0 = none
    int flowControl = 3;        // TFlowControl ordinal, 3 = XonXoff
    int dataBits = 4;           // TDataBits ordinal, 4 = 8 bits
    int stopBits = 0;           // TStopBits ordinal, 0 = 1 stop bit
};

// How the command line drives download and upload, which in the window use
// the port the parameter dialog opened.
struct TransferOptions {
    std::string port;                // not empty: open this port with the port settings first
    double idleTimeoutSeconds = 30;  // download: stop when nothing has arrived for so long
    int instrumentKind = -1;         // upload: 0..6, or -1 for the selected instrument
    std::string transferLog;         // download: not empty: keep the transfer log in this file
};

}  // namespace tarvosen
