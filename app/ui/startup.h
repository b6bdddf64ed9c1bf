#pragma once
// The start-up of the desktop program: the splash window, the main window and
// its dialogs, and the splash's minimum time on screen.

#include <chrono>
#include <memory>

namespace tarvosen::ui {

class MainWindow;

inline constexpr std::chrono::milliseconds kMinimumSplashTime{2000};

// Shows the splash, creates the main window and every dialog, keeps the splash
// up until at least `minimumSplash` has passed since it appeared, then removes
// it. The window is returned unshown.
std::unique_ptr<MainWindow> StartUp(std::chrono::milliseconds minimumSplash = kMinimumSplashTime);

}  // namespace tarvosen::ui
