#pragma once
// SplashWindow, the splash window shown during start-up, and AboutBox, the about
// box of the Help menu. Both show the program's picture, name and version.

#include <QDialog>

#include "i18n/message_catalogue.h"

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

    // The texts in a language (English until this is called).
    void localise(const MessageTexts& texts);

    QLabel* pRes = nullptr;  // total memory
    QLabel* fRes = nullptr;  // memory left

  private:
    void fillMemoryFigures();
    QLabel* name_ = nullptr;
    QLabel* version_ = nullptr;
    QLabel* totalCaption_ = nullptr;
    QLabel* leftCaption_ = nullptr;
};

class AboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit AboutBox(QWidget* parent = nullptr);
    // The title, name and version in a language (English until this is called).
    void localise(const MessageTexts& texts);

  private:
    QLabel* name_ = nullptr;
    QLabel* version_ = nullptr;
};

}  // namespace tarvosen::ui
