#pragma once
// The manual pages of both programs, written in roff from the command table
// and the command-line program's help texts.

#include <string>

namespace tarvosen {

// tarvosen-cli(1): every command with its usage, caption, summary and options
// exactly as `tarvosen-cli COMMAND --help` prints them, and the exit statuses.
std::string CliManualPage();

// tarvosen(1): the desktop program and every item of its menus.
std::string DesktopManualPage();

}  // namespace tarvosen
