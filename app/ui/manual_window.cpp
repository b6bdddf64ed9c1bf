#include "app/ui/manual_window.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/command_context.h"
#include "app/data_paths.h"
#include "i18n/message_catalogue.h"

namespace tarvosen::ui {

namespace {

constexpr QSize kWindowSize(900, 640);

QString Text(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

std::optional<std::filesystem::path> ManualPage(int languageIndex) {
    const char* const own = languageIndex == 2 ? "manual/index-gb.html"
                            : languageIndex == 3 ? "manual/index-big5.html"
                                                 : "manual/index.html";
    if (auto page = FindDataFile(own)) return page;
    return FindDataFile("manual/index.html");
}

ManualWindow::ManualWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("ManualWindow");
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName("ManualText");
    // Links to other sites go to the browser; the guide's own pages stay here.
    browser_->setOpenExternalLinks(true);
    auto* buttons = new QDialogButtonBox(this);
    openInBrowser_ = buttons->addButton("Open in browser", QDialogButtonBox::ActionRole);
    openInBrowser_->setObjectName("OpenInBrowser");
    close_ = buttons->addButton(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* column = new QVBoxLayout(this);
    column->addWidget(browser_);
    column->addWidget(buttons);
    resize(kWindowSize);
}

void ManualWindow::showPage(const std::filesystem::path& page, CommandContext& ctx) {
    setWindowTitle(Text(ctx.message(msg::kManualTitle, "User guide")));
    openInBrowser_->setText(Text(ctx.message(msg::kOpenInBrowser, "Open in browser")));
    openInBrowser_->disconnect();
    UserInterface* user = &ctx.user;
    connect(openInBrowser_, &QPushButton::clicked, this, [user, page] { user->openWithDesktop(page); });
    if (page != page_) {
        browser_->setSource(QUrl::fromLocalFile(QFile::decodeName(page.c_str())));
        page_ = page;
    }
    show();
    raise();
    activateWindow();
}

}  // namespace tarvosen::ui
