#pragma once
// PortSettingsDialog, the communication parameter dialog: the port and the line settings
// as six lists. It keeps its own selections between showings (Cancel keeps
// what the user changed in the lists; the next OK applies it).

#include <QDialog>
#include <optional>

#include "app/command_context.h"

class QComboBox;
class QLabel;
class QTabWidget;

namespace tarvosen::ui {

class PortSettingsDialog : public QDialog {
    Q_OBJECT
  public:
    explicit PortSettingsDialog(QWidget* parent = nullptr);

    // Shows the dialog modally; on OK the selections go into ctx.options.get<PortSettings>().
    bool run(CommandContext& ctx);

  private:
    void localise(const CommandContext& ctx);
    void showOptions(const PortSettings& portSettings);
    PortSettings selection() const;

    QTabWidget* page_;
    QLabel *portLabel_, *baudLabel_, *parityLabel_, *flowLabel_, *dataLabel_, *stopLabel_;
    QComboBox *portList_, *baudList_, *parityList_, *flowList_, *dataBitsList_, *stopBitsList_;
    // The values last taken from or given to the options: the lists are
    // reloaded only when someone else changed the options since.
    std::optional<PortSettings> synced_;
};

}  // namespace tarvosen::ui
