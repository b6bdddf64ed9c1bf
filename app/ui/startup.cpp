#include "app/ui/startup.h"

#include <thread>

#include "app/ui/about_window.h"
#include "app/ui/main_form.h"

namespace tarvosen::ui {

std::unique_ptr<MainWindow> StartUp(std::chrono::milliseconds minimumSplash) {
    auto splash = std::make_unique<SplashWindow>();
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
