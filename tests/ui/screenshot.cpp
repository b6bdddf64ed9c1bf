// Takes a picture of the main window for docs/: a sample R5 job loaded, the
// menu bar of the language (en, gb or big5; gb when not given) open on the
// Convert menu. Run under an X server (Xvfb):
//   tarvosen_screenshot SAMPLE OUTPUT.png [LANGUAGE]

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
    if (argc != 3 && argc != 4) {
        fprintf(stderr, "usage: tarvosen_screenshot SAMPLE OUTPUT.png [en|gb|big5]\n");
        return 2;
    }
    const std::string language = argc == 4 ? argv[3] : "gb";
    const QString output = QString::fromLocal8Bit(argv[2]);
    tarvosen::ui::MainWindow window;
    tarvosen::CommandContext ctx = window.context();
    tarvosen::LoadDocument(ctx, std::filesystem::path(argv[1]));
    window.runCommand(language == "en"     ? "language.english"
                      : language == "big5" ? "language.big5"
                                           : "language.gb");
    window.setGeometry(QApplication::primaryScreen()->availableGeometry());
    window.show();

    QTimer::singleShot(800, [&] {
        QMenuBar* bar = window.menuBar();
        for (QAction* top : bar->actions())
            if (top->text().contains("[&C]") || top->text() == "&Convert") bar->setActiveAction(top);
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
