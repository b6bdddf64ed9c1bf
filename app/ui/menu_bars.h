#pragma once
// The three menu bars, built from the command table: MainMenu (English),
// MainMenu1 (Simplified Chinese, GB) and MainMenu2 (Traditional Chinese, Big5).

#include <functional>
#include <map>
#include <string>
#include <string_view>

class QAction;
class QMenuBar;
class QWidget;

namespace tarvosen::ui {

struct CommandMenuBar {
    QMenuBar* bar = nullptr;
    int languageIndex = 0;
    std::map<std::string, QAction*, std::less<>> items;  // by command key

    QAction* item(std::string_view key) const;
};

// Builds the bar of one language (1 English, 2 GB, 3 Big5); choosing an item
// calls run with its command key. In the bar the item of its own language is
// the checked one of the language group.
CommandMenuBar BuildMenuBar(int languageIndex, QWidget* parent,
                            const std::function<void(std::string_view key)>& run);

}  // namespace tarvosen::ui
