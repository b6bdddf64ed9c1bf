#pragma once
// SplashWindow, the splash window shown during start-up, and AboutBox, the about
// box of the Help menu. Both show the program's picture, name and version.

#include <QDialog>

class QLabel;

namespace tarvosen::ui {

// The picture behind both windows: a drawing of a surveying instrument.
class AboutPicture : public QWidget {
  public:
    explicit AboutPicture(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

class SplashWindow : public QWidget {
    Q_OBJECT
  public:
    explicit SplashWindow(QWidget* parent = nullptr);

    // Fills the memory figures, centres the window on the screen, shows it
    // and paints it at once.
    void showNow();

    QLabel* pRes = nullptr;  // total memory
    QLabel* fRes = nullptr;  // memory left

  private:
    void fillMemoryFigures();
};

class AboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit AboutBox(QWidget* parent = nullptr);
};

}  // namespace tarvosen::ui
