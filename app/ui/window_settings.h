#pragma once
// What the window remembers between runs: language, instrument, lamp panel,
// every option dialog's values, the last folder of the file dialogs, the
// recent files and the window's geometry. Kept with QSettings in the user's
// configuration folder (tarvosen/tarvosen.conf).

#include <memory>

#include "app/options_store.h"

class QSettings;

namespace tarvosen::ui {

std::unique_ptr<QSettings> OpenWindowSettings();

// Writes the options into settings (save) or reads back those it holds.
void ExchangeDialogOptions(QSettings& settings, OptionsStore& options, bool save);

}  // namespace tarvosen::ui
