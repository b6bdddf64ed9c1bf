#pragma once
// The user guide inside the program: Help > Manual shows the guide of the
// chosen language (manual/index.html, index-gb.html, index-big5.html in the
// data folder) in a window of its own, with a button that opens the same page
// in the desktop's browser.

#include <filesystem>
#include <optional>

#include <QDialog>

class QPushButton;
class QTextBrowser;

namespace tarvosen {
struct CommandContext;
}

namespace tarvosen::ui {

// The guide's page for a language (1..3); the English one when the language
// has none; nothing when the data folder holds no guide at all.
std::optional<std::filesystem::path> ManualPage(int languageIndex);

class ManualWindow : public QDialog {
    Q_OBJECT
  public:
    explicit ManualWindow(QWidget* parent = nullptr);

    // Shows the page in the context's language; "Open in browser" hands the
    // page to the context's user (the desktop's opener).
    void showPage(const std::filesystem::path& page, CommandContext& ctx);

    QTextBrowser* browser() const { return browser_; }
    QPushButton* browserButton() const { return openInBrowser_; }

  private:
    QTextBrowser* browser_;
    QPushButton* openInBrowser_;
    QPushButton* close_;
    std::filesystem::path page_;
};

}  // namespace tarvosen::ui
