#include "app/ui/about_window.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QVBoxLayout>

#include "app/ui/memory_status.h"
#include "app/version.h"

namespace tarvosen::ui {

namespace {

constexpr int kClientWidth = 459;
constexpr int kClientHeight = 268;

QFont PixelFont(const QString& family, int pixels, bool bold) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QLabel* PlacedLabel(QWidget* parent, const QString& text, const QFont& font, const QColor& colour,
                    int x, int y) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
    label->move(x, y);
    label->adjustSize();
    return label;
}

// Name and version over the picture.
std::pair<QLabel*, QLabel*> AddTexts(QWidget* picture) {
    return {PlacedLabel(picture, "Tarvosen Data Processor", PixelFont("Arial", 14, true), Qt::blue, 24, 24),
            PlacedLabel(picture, kVersionText, PixelFont("Arial", 12, true), Qt::black, 24, 48)};
}

void SetText(QLabel* label, const std::string& text) {
    label->setText(QString::fromStdString(text));
    label->adjustSize();
}

void LocaliseTexts(QLabel* name, QLabel* version, const MessageTexts& texts) {
    SetText(name, texts(msg::kProgramName, "Tarvosen Data Processor"));
    SetText(version, texts(msg::kStatusVersion, "Version %1 (build %2)", {kVersionNumber, kBuildNumber}));
}

}  // namespace

AboutPicture::AboutPicture(QWidget* parent) : QWidget(parent) {
    setFixedSize(kClientWidth, kClientHeight);
}

void AboutPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect();
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0, QColor(214, 232, 250));
    sky.setColorAt(0.65, QColor(250, 250, 240));
    sky.setColorAt(1, QColor(196, 214, 170));
    p.fillRect(r, sky);
    // Hills on the horizon.
    QPainterPath hills;
    hills.moveTo(0, r.height() * 0.72);
    hills.cubicTo(r.width() * 0.25, r.height() * 0.58, r.width() * 0.45, r.height() * 0.80,
                  r.width() * 0.7, r.height() * 0.66);
    hills.cubicTo(r.width() * 0.85, r.height() * 0.60, r.width() * 0.95, r.height() * 0.68,
                  r.width(), r.height() * 0.66);
    hills.lineTo(r.width(), r.height());
    hills.lineTo(0, r.height());
    p.fillPath(hills, QColor(150, 180, 120));
    // A total station on its tripod at the right.
    const QPointF head(r.width() * 0.78, r.height() * 0.38);
    p.setPen(QPen(QColor(90, 70, 40), 3));
    p.drawLine(head + QPointF(0, 22), head + QPointF(-34, 120));
    p.drawLine(head + QPointF(0, 22), head + QPointF(34, 120));
    p.drawLine(head + QPointF(0, 22), head + QPointF(0, 124));
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(QColor(240, 200, 40));
    p.drawRoundedRect(QRectF(head + QPointF(-20, -12), QSizeF(40, 34)), 4, 4);
    p.setBrush(QColor(60, 60, 60));
    p.drawRect(QRectF(head + QPointF(-6, -26), QSizeF(12, 16)));
    p.drawEllipse(head + QPointF(-30, -4), 6, 6);
    // Sight line to a prism.
    p.setPen(QPen(QColor(200, 0, 0), 1, Qt::DashLine));
    p.drawLine(head + QPointF(-36, -4), QPointF(r.width() * 0.2, r.height() * 0.55));
}

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("About");
    setFixedSize(kClientWidth, kClientHeight);
    auto* picture = new AboutPicture(this);
    std::tie(name_, version_) = AddTexts(picture);
    const QFont figures = PixelFont("Times New Roman", 16, true);
    totalCaption_ = PlacedLabel(picture, "Total memory:", figures, Qt::black, 24, 190);
    leftCaption_ = PlacedLabel(picture, "Memory left:", figures, Qt::black, 24, 216);
    pRes = PlacedLabel(picture, "", figures, Qt::darkBlue, 160, 190);
    fRes = PlacedLabel(picture, "", figures, Qt::darkBlue, 160, 216);
}

void SplashWindow::localise(const MessageTexts& texts) {
    LocaliseTexts(name_, version_, texts);
    SetText(totalCaption_, texts(msg::kSplashTotalMemory, "Total memory:"));
    SetText(leftCaption_, texts(msg::kSplashMemoryLeft, "Memory left:"));
}

void SplashWindow::fillMemoryFigures() {
    const MemoryStatus status = ReadMemoryStatus();
    pRes->setText(QString::fromStdString(FormatKilobytes(status.totalKilobytes)));
    fRes->setText(QString::fromStdString(FormatPercentLeft(status)));
    pRes->adjustSize();
    fRes->adjustSize();
}

void SplashWindow::showNow() {
    fillMemoryFigures();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    show();
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("AboutBox");
    setWindowTitle("About Tarvosen Data Processor");
    auto* picture = new AboutPicture(this);
    std::tie(name_, version_) = AddTexts(picture);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picture);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutBox::localise(const MessageTexts& texts) {
    setWindowTitle(QString::fromStdString(texts(msg::kAboutTitle, "About Tarvosen Data Processor")));
    LocaliseTexts(name_, version_, texts);
}

}  // namespace tarvosen::ui
