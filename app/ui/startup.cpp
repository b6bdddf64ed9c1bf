#include "app/ui/startup.h"

#include <thread>

#include <QSettings>

#include "app/ui/about_window.h"
#include "app/data_paths.h"
#include "app/ui/main_form.h"
#include "app/ui/window_settings.h"

namespace tarvosen::ui {

std::unique_ptr<MainWindow> StartUp(std::chrono::milliseconds minimumSplash) {
    // The splash speaks the language of the last run.
    MessageCatalogue catalogue;
    if (auto path = FindDataFile(kMessageCatalogueFile)) catalogue.load(*path);
    const int language = std::clamp(OpenWindowSettings()->value("window/language", 2).toInt(), 1, 3);
    auto splash = std::make_unique<SplashWindow>();
    splash->localise(MessageTexts{&catalogue, language});
    splash->showNow();
    const auto start = std::chrono::steady_clock::now();

    auto window = std::make_unique<MainWindow>();
    window->createDialogs();

    // Waits without handling events, as the splash is meant to stay put.
    const auto elapsed = std::chrono::steady_clock::now() - start;
    if (elapsed < minimumSplash) std::this_thread::sleep_for(minimumSplash - elapsed);

    splash->hide();
    splash.reset();
    return window;
}

}  // namespace tarvosen::ui
