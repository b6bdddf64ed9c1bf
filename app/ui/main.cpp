// The desktop program: start-up, then the main window's event loop.

#include <exception>

#include <QApplication>
#include <QMessageBox>

#include "app/app_state.h"
#include "app/ui/main_form.h"
#include "app/ui/startup.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("tarvosen");
    const QString title = QString::fromUtf8(tarvosen::kApplicationTitle);
    try {
        auto window = tarvosen::ui::StartUp();
        window->showMaximized();
        return QApplication::exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, title, QString::fromUtf8(e.what()));
    } catch (...) {
        QMessageBox::critical(nullptr, title, "The program ended with an unknown failure");
    }
    return 1;
}
