// Takes the picture of the main window in docs/: a sample R5 job loaded, the
// GB menu bar open on the Convert menu. Run under an X server (Xvfb):
//   tarvosen_screenshot SAMPLE OUTPUT.png

#include <filesystem>

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

#include "app/file_commands.h"
#include "app/ui/main_form.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        fprintf(stderr, "usage: tarvosen_screenshot SAMPLE OUTPUT.png\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[2]);
    tarvosen::ui::MainWindow window;
    tarvosen::CommandContext ctx = window.context();
    tarvosen::LoadDocument(ctx, std::filesystem::path(argv[1]));
    window.setGeometry(QApplication::primaryScreen()->availableGeometry());
    window.show();

    QTimer::singleShot(800, [&] {
        QMenuBar* bar = window.menuBar();
        for (QAction* top : bar->actions())
            if (top->text().contains("[&C]")) bar->setActiveAction(top);
    });
    int status = 1;
    QTimer::singleShot(2000, [&] {
        const QPixmap shot = QApplication::primaryScreen()->grabWindow(0);
        status = shot.save(output) ? 0 : 1;
        if (status) fprintf(stderr, "cannot write %s\n", argv[2]);
        QApplication::exit();
    });
    QApplication::exec();
    return status;
}
