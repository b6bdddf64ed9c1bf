// The rows of the serial subsystem's commands: port settings, download, upload,
// replay and the signal-lamp panel.
// The command table (commands/) places them in the menus.

#include <array>

#include "app/command.h"
#include "serial/serial_commands.h"
#include "serial/transfer_log.h"

namespace tarvosen {

namespace {

using enum RowKind;
using enum CliOutput;

const std::array kRows = std::to_array<CommandRow>({
    {Item, "transfer.settings", {"Communication Parameter", "transfer"}, {"通信参数设定", "transfer"},
     {"通訊參數設定", "transfer"}, CommunicationParameterCommand},
    {Item, "transfer.download", {"Download...", "transfer"}, {"下载到计算机...", "transfer"},
     {"下載到電腦...", "transfer"}, DownloadCommand, {}, 0, "download",
     "Receive data from an instrument on a serial port and save it to OUTPUT.", DownloadCliOptions,
     Workspace, false},
    {Item, "transfer.upload", {"Upload...", "transfer"}, {"上传到仪器...", "transfer"},
     {"上傳到儀器...", "transfer"}, UploadCommand, {}, 0, "upload",
     "Send the lines of INPUT to an instrument on a serial port.", UploadCliOptions, CliOutput::None},
    {Item, "transfer.replay", {"Transfer Logs...", "transfer"}, {"传输记录...", "transfer"},
     {"傳輸記錄...", "transfer"}, ReplayCommand, {}, 0, "replay",
     "Feed a transfer log through the receive path; the lines it gives go to OUTPUT.", nullptr,
     Workspace, true, true},
    {Item, "transfer.signal-lamps", {"View Port Signal", "transfer"}, {"查看通信口信号", "transfer"},
     {"檢視通訊埠訊號", "transfer"}, TogglePortSignalCommand},
});

}  // namespace

std::span<const CommandRow> SerialCommandRows() { return kRows; }

}  // namespace tarvosen
