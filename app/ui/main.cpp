// The desktop program: start-up, then the main window's event loop.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>

#include <QApplication>
#include <QMessageBox>

#include "app/app_state.h"
#include "app/ui/main_form.h"
#include "app/ui/startup.h"
#include "app/version.h"

int main(int argc, char** argv) {
    // Answered before Qt starts, so it needs no display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("tarvosen %s\n", tarvosen::kVersionText);
        if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return 0;
        std::fprintf(stderr, "error: Cannot write to standard output: %s\n", std::strerror(errno));
        return 3;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("tarvosen");
    QApplication::setOrganizationName("tarvosen");
    QApplication::setApplicationVersion(tarvosen::kVersionNumber);
    const QString title = QString::fromUtf8(tarvosen::kApplicationTitle);
    try {
        auto window = tarvosen::ui::StartUp();
        // The size and place of the last run, or the whole screen the first time.
        if (window->restoreSettings())
            window->show();
        else
            window->showMaximized();
        return QApplication::exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, title, QString::fromUtf8(e.what()));
    } catch (...) {
        QMessageBox::critical(nullptr, title, "The program ended with an unknown failure");
    }
    return 1;
}
