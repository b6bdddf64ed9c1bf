#include "app/ui/main_form.h"

#include "app/file_commands.h"
#include "app/ui/findings_dock.h"
#include "zeiss/address_continuity.h"

#include <filesystem>

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/data_paths.h"
#include "app/errors.h"
#include "app/ui/about_window.h"
#include "app/ui/signal_lamp_panel.h"
#include "app/ui/text_encoding.h"
#include "app/ui/workspace_editor.h"
#include "app/version.h"
#include "serial/ui/window_port.h"

namespace tarvosen::ui {

namespace {

constexpr int kNormalWidth = 782;
constexpr int kNormalHeight = 430;
constexpr std::array<int, 3> kStatusPanelWidths = {450, 100, 50};
constexpr const char* kPrintJobTitle = "Tarvosen Data File";
constexpr const char* kExitQuestionDefault = "Do you really want to exit the program?";

// The dialogs in the order they are created at start-up; the about box comes
// between the DINI options and the traverse options.
constexpr OptionDialog kDialogsBeforeAbout[] = {OptionDialog::PortSettings, OptionDialog::R5Options,
                                                OptionDialog::CosaExport, OptionDialog::Tolerances};
constexpr OptionDialog kDialogsAfterAbout[] = {OptionDialog::TraverseExport, OptionDialog::GeoBook};

std::string DialogName(OptionDialog dialog) {
    switch (dialog) {
        case OptionDialog::PortSettings:
            return "The communication parameter dialog (TPara)";
        case OptionDialog::R5Options:
            return "The R5 option dialog (TOption)";
        case OptionDialog::CosaExport:
            return "The COSA option dialog (Tkesha)";
        case OptionDialog::Tolerances:
            return "The DINI levelling option dialog (TDINIOption)";
        case OptionDialog::TraverseExport:
            return "The traverse export dialog (TCQKCY)";
        case OptionDialog::GeoBook:
            return "The geological-institute record book dialog (TSHDDY)";
        case OptionDialog::LevelNetwork:
            return "The levelling network dialog";
    }
    return "The option dialog";
}

// A small printer drawn for desktops whose icon theme has none.
QIcon PrinterIcon() {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 2.5, 11, 8));  // paper in
    p.setBrush(QColor(150, 150, 160));
    p.drawRoundedRect(QRectF(2.5, 9.5, 19, 8), 2, 2);  // body
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 14.5, 11, 7));  // paper out
    p.setPen(QColor(120, 120, 120));
    p.drawLine(QPointF(8, 17), QPointF(16, 17));
    p.drawLine(QPointF(8, 19), QPointF(14, 19));
    return QIcon(pixmap);
}

QIcon ToolbarIcon(const QStyle* style, std::string_view key) {
    if (key == "file.load") return style->standardIcon(QStyle::SP_DialogOpenButton);
    if (key == "file.save") return style->standardIcon(QStyle::SP_DialogSaveButton);
    if (key == "transfer.settings") return style->standardIcon(QStyle::SP_ComputerIcon);
    if (key == "transfer.download") return style->standardIcon(QStyle::SP_ArrowDown);
    if (key == "transfer.upload") return style->standardIcon(QStyle::SP_ArrowUp);
    if (key == "file.print") return QIcon::fromTheme("document-print", PrinterIcon());
    return style->standardIcon(QStyle::SP_FileIcon);
}

QString Text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName("MainForm");
    setWindowTitle(kFormCaption);
    resize(kNormalWidth, kNormalHeight);

    // The message catalogue; without it every message keeps its English default.
    if (auto path = FindDataFile(kMessageCatalogueFile)) catalogue_.load(*path);

    // FormCreate
    std::error_code ec;
    state_.startDirectory = std::filesystem::current_path(ec);
    state_.instrumentKind = 1;
    state_.caption = kFormCaption;

    for (int language = 1; language <= 3; ++language) {
        menuBars_[language - 1] =
            BuildMenuBar(language, this, [this](std::string_view key) { runCommand(key); });
        menuBars_[language - 1].bar->setNativeMenuBar(false);
        menuBars_[language - 1].bar->hide();
    }
    attachMenuBar(state_.languageIndex);

    buildToolBar();

    auto* centre = new QWidget(this);
    auto* column = new QVBoxLayout(centre);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    signalPanel = new SignalLampPanel(centre);
    workspaceEditor = new WorkspaceEditor(workspace_, centre);
    column->addWidget(signalPanel);
    column->addWidget(workspaceEditor, 1);
    setCentralWidget(centre);

    buildStatusLine();
    findings_ = new FindingsDock(*workspaceEditor, this);
    addDockWidget(Qt::BottomDockWidgetArea, findings_);
    findingsCount_ = new QLabel(StatusLine);
    findingsCount_->setObjectName("FindingsCount");
    StatusLine->addPermanentWidget(findingsCount_);
    updateFromState();

    // the serial port, closed until the parameter dialog opens it.
    AttachSerialPort(*this);
}

MainWindow::~MainWindow() {
    dialogs_.clear();
    progressEnd();
    // The editor observes the workspace, which is gone before the children are.
    delete workspaceEditor;
    workspaceEditor = nullptr;
}

void MainWindow::buildToolBar() {
    commandToolBar = addToolBar("ToolBar1");
    commandToolBar->setObjectName("ToolBar1");
    commandToolBar->setMovable(false);
    commandToolBar->setFloatable(false);
    for (const ToolbarButton& button : ToolbarLayout()) {
        if (button.key.empty()) {
            commandToolBar->addSeparator();
            continue;
        }
        QAction* action = commandToolBar->addAction(ToolbarIcon(style(), button.key), Text(button.hint));
        action->setObjectName(Text(button.key) + "Button");
        action->setToolTip(Text(button.hint));
        const std::string key(button.key);
        connect(action, &QAction::triggered, this, [this, key] { runCommand(key); });
    }
    instrumentLabel = new QLabel(commandToolBar);
    instrumentLabel->setObjectName("InstLabel");
    QFont font("Arial");
    font.setPixelSize(16);
    font.setBold(true);
    instrumentLabel->setFont(font);
    // The toolbar's style would paint a palette colour over; a style sheet stays.
    instrumentLabel->setStyleSheet("color: blue");
    instrumentLabel->setContentsMargins(8, 0, 8, 0);
    commandToolBar->addWidget(instrumentLabel);
}

void MainWindow::buildStatusLine() {
    StatusLine = new QStatusBar(this);
    StatusLine->setObjectName("StatusLine");
    QFont font("Tahoma");
    font.setPixelSize(12);
    StatusLine->setFont(font);
    QPalette pal = StatusLine->palette();
    pal.setColor(QPalette::WindowText, Qt::red);
    StatusLine->setPalette(pal);
    // The third panel shows the bare version number.
    const char* const texts[] = {kStatusVersionText, "Survey Data", kVersionNumber};
    for (std::size_t i = 0; i < StatusPanels.size(); ++i) {
        StatusPanels[i] = new QLabel(texts[i], StatusLine);
        StatusPanels[i]->setFixedWidth(kStatusPanelWidths[i]);
        StatusPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        StatusLine->addWidget(StatusPanels[i]);
    }
    setStatusBar(StatusLine);
}

const CommandMenuBar& MainWindow::menuBarOf(int languageIndex) const {
    return menuBars_[static_cast<std::size_t>(std::clamp(languageIndex, 1, 3) - 1)];
}

void MainWindow::attachMenuBar(int languageIndex) {
    QMenuBar* bar = menuBarOf(languageIndex).bar;
    if (bar == attached_) return;
    if (attached_) {
        // Detach the old bar without letting the window delete it: the three
        // bars live as long as the window.
        layout()->setMenuBar(nullptr);
        attached_->hide();
    }
    setMenuBar(bar);
    bar->show();
    attached_ = bar;
}

void MainWindow::updateFromState() {
    attachMenuBar(state_.languageIndex);
    for (const CommandMenuBar& bar : menuBars_) {
        for (const auto& [key, action] : bar.items) {
            const CommandRow* row = FindCommandByKey(key);
            if (!row) continue;
            if (row->radioGroup == "instrument")
                action->setChecked(row->radioValue == state_.instrumentKind);
            else if (row->radioGroup == "language")
                action->setChecked(row->radioValue == bar.languageIndex);
        }
        if (QAction* view = bar.item("transfer.signal-lamps"))
            view->setChecked(state_.portSignalVisible);
    }
    instrumentLabel->setText(QString::fromUtf8(InstrumentLabel(state_.instrumentKind)));
    signalPanel->setVisible(state_.portSignalVisible);
}

CommandContext MainWindow::context() {
    return CommandContext{workspace_, state_, user_, options_, catalogue_, port_};
}

void MainWindow::showFindings(const std::vector<LineFinding>& findings, bool append) {
    findings_->show(findings, append);
    const int n = findings_->count();
    findingsCount_->setText(n == 0 ? QString() : QString::number(n) + QString::fromUtf8(" findings"));
}

void MainWindow::showFailure(const std::string& text) {
    user_.showMessage(MessageKind::Error, text);
}

CommandStatus MainWindow::runCommand(std::string_view key) {
    // Commands run to completion one at a time.
    if (runningCommand_) return CommandStatus::Cancelled;
    const CommandRow* row = FindCommandByKey(key);
    if (!row) {
        showFailure("There is no command \"" + std::string(key) + "\"");
        return CommandStatus::Stopped;
    }
    runningCommand_ = true;
    CommandStatus status = CommandStatus::Stopped;
    try {
        workspaceEditor->syncToWorkspace();
        if (row->handler) {
            CommandContext ctx = context();
            status = row->handler(ctx);
            // A loaded record file is checked for lost records at once.
            if (row->handler == LoadFileCommand && status == CommandStatus::Done)
                zeiss::ReportAddressContinuity(ctx, zeiss::DocumentFileName(ctx));
        } else {
            runWindowCommand(key);
            status = CommandStatus::Done;
        }
    } catch (const std::exception& e) {
        showFailure(e.what());
    } catch (...) {
        showFailure("The command ended with an unknown failure");
    }
    runningCommand_ = false;
    workspaceEditor->flushAppends();
    updateFromState();
    return status;
}

void MainWindow::runWindowCommand(std::string_view key) {
    if (key == "file.print-setup") {
        printerSetup();
    } else if (key == "file.print") {
        print();
    } else if (key == "app.exit") {
        close();
    } else if (key == "help.about") {
        if (!aboutBox_) aboutBox_ = new AboutBox(this);
        aboutBox_->exec();
    } else if (key == "window.tile" || key == "window.cascade" || key == "window.arrange-icons") {
        // The Big5 bar's window items have no handler.
    } else {
        ThrowNotBuilt(key);
    }
}

void MainWindow::createDialogs() {
    auto create = [this](OptionDialog id) {
        if (dialogs_.count(id)) return;
        if (auto factory = FindOptionDialogFactory(id)) dialogs_.emplace(id, factory(this));
    };
    for (OptionDialog id : kDialogsBeforeAbout) create(id);
    if (!aboutBox_) aboutBox_ = new AboutBox(this);
    for (OptionDialog id : kDialogsAfterAbout) create(id);
}

bool MainWindow::runOptionDialog(OptionDialog dialog) {
    auto it = dialogs_.find(dialog);
    if (it == dialogs_.end()) {
        // Created on first use when the window was made without the start-up.
        if (auto factory = FindOptionDialogFactory(dialog))
            it = dialogs_.emplace(dialog, factory(this)).first;
    }
    if (it == dialogs_.end() || !it->second)
        throw NotBuiltError(DialogName(dialog) + " is not built yet");
    CommandContext ctx = context();
    return it->second->run(ctx);
}

void MainWindow::setSerialPort(SerialPort* comm, std::function<void()> closeOnExit) {
    port_ = comm;
    closePort_ = std::move(closeOnExit);
}

void MainWindow::progressBegin(int maximum) {
    progressEnd();
    progressBar_ = new QProgressBar(StatusLine);
    progressBar_->setObjectName("ProgressBar");
    progressBar_->setTextVisible(false);
    progressBar_->setGeometry(2, 2, kStatusPanelWidths[0] - 2, StatusLine->height() - 3);
    progressBar_->setRange(0, std::max(0, maximum));
    progressBar_->setValue(0);
    progressBar_->show();
}

void MainWindow::progressSetPosition(int position) {
    if (progressBar_) progressBar_->setValue(position);
}

void MainWindow::progressEnd() {
    delete progressBar_;
    progressBar_ = nullptr;
}

QPrinter& MainWindow::printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void MainWindow::printerSetup() {
    QPageSetupDialog dialog(&printer(), this);
    dialog.exec();
}

void MainWindow::print() {
    QPrintDialog dialog(&printer(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    printWorkspace(printer());
}

void MainWindow::printWorkspace(QPrinter& printer) {
    workspaceEditor->syncToWorkspace();
    QString text;
    for (std::string_view line : workspace_.view()) {
        text += DecodeLine(line);
        text += QChar('\n');
    }
    QTextDocument document;
    QFont font = workspaceEditor->font();
    font.setPointSize(10);  // the editor's pixel size would shrink to nothing on paper
    document.setDefaultFont(font);
    document.setPlainText(text);
    printer.setDocName(kPrintJobTitle);
    document.print(&printer);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    bool yes = false;
    try {
        CommandContext ctx = context();
        yes = user_.confirm(ctx.message(msg::kExitQuestion, kExitQuestionDefault));
    } catch (const std::exception& e) {
        showFailure(e.what());
    }
    if (!yes) {
        event->ignore();
        return;
    }
    if (closePort_) {
        try {
            closePort_();
        } catch (const std::exception& e) {
            showFailure(e.what());
        }
    }
    event->accept();
}

}  // namespace tarvosen::ui
