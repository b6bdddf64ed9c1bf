#pragma once
// TAbout, the splash window shown during start-up, and TAboutBox, the about
// box of the Help menu. Both show the program's picture, name and version.

#include <QDialog>

class QLabel;

namespace tarvosen::ui {

// The picture behind both windows: a drawing of a surveying instrument.
class TAboutPicture : public QWidget {
  public:
    explicit TAboutPicture(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

class TAbout : public QWidget {
    Q_OBJECT
  public:
    explicit TAbout(QWidget* parent = nullptr);

    // Fills the memory figures, centres the window on the screen, shows it
    // and paints it at once.
    void showNow();

    QLabel* pRes = nullptr;  // total memory
    QLabel* fRes = nullptr;  // memory left

  private:
    void fillMemoryFigures();
};

class TAboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit TAboutBox(QWidget* parent = nullptr);
};

}  // namespace tarvosen::ui
