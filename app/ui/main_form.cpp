#include "app/ui/main_form.h"

#include "app/file_commands.h"
#include "app/ui/findings_dock.h"
#include "zeiss/address_continuity.h"

#include <filesystem>

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QSettings>
#include <QMenu>
#include <QLabel>
#include <QFileInfo>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/data_paths.h"
#include "app/errors.h"
#include "app/ui/about_window.h"
#include "app/ui/background_command.h"
#include "app/ui/elided_label.h"
#include "app/ui/manual_window.h"
#include "app/ui/port_status.h"
#include "app/ui/qt_translations.h"
#include "app/ui/window_settings.h"
#include "app/ui/signal_lamp_panel.h"
#include "app/ui/text_encoding.h"
#include "app/ui/workspace_editor.h"
#include "adjustment/adjustment_options.h"
#include "app/version.h"
#include "levelling/levelling_options.h"
#include "serial/serial_commands.h"
#include "serial/serial_link.h"
#include "serial/serial_options.h"
#include "serial/serial_port.h"
#include "serial/ui/window_port.h"
#include "zeiss/r5_options.h"

namespace tarvosen::ui {

namespace {

constexpr int kNormalWidth = 782;
constexpr int kNormalHeight = 430;
constexpr const char* kPrintJobTitle = "Tarvosen Data File";
constexpr const char* kExitQuestionDefault = "Do you really want to exit the program?";

// The dialogs in the order they are created at start-up; the about box comes
// between the DINI options and the traverse options.
constexpr OptionDialog kDialogsBeforeAbout[] = {kPortSettingsDialog, kR5OptionsDialog,
                                                kCosaExportDialog, kTolerancesDialog};
constexpr OptionDialog kDialogsAfterAbout[] = {kTraverseExportDialog, kGeoBookDialog};

std::string DialogName(OptionDialog dialog) {
    return dialog.name.empty() ? "The option dialog" : std::string(dialog.name);
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

// Commands that run on the user-interface thread: they only set the state,
// or they use the serial port, whose events are served by that thread.
bool RunsInForeground(const CommandRow& row) {
    static const CommandHandler kForeground[] = {
        TogglePortSignalCommand, CommunicationParameterCommand, DownloadCommand, UploadCommand};
    if (!row.radioGroup.empty()) return true;
    return std::find(std::begin(kForeground), std::end(kForeground), row.handler) !=
           std::end(kForeground);
}

constexpr int kRecentFileCount = 8;

QString Text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName("MainWindow");
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
    for (CommandMenuBar& bar : menuBars_) {
        const std::pair<const char*, const char*> shortcuts[] = {
            {"file.load", "Ctrl+O"}, {"file.save", "Ctrl+S"}, {"file.save-as", "Ctrl+Shift+S"},
            {"file.print", "Ctrl+P"}};
        for (const auto& [key, sequence] : shortcuts)
            if (QAction* action = bar.item(key)) action->setShortcut(QKeySequence(sequence));
    }
    attachMenuBar(state_.languageIndex);
    buildRecentMenus();
    setAcceptDrops(true);

    buildToolBar();

    auto* centre = new QWidget(this);
    auto* column = new QVBoxLayout(centre);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    signalPanel = new SignalLampPanel(centre);
    workspaceEditor = new WorkspaceEditor(workspace_, centre);
    column->addWidget(signalPanel);
    column->addWidget(workspaceEditor, 1);
    // Files dropped on the editor are loaded, not inserted as text.
    editorViewport_ = workspaceEditor->viewport();
    editorViewport_->installEventFilter(this);
    connect(workspaceEditor, &WorkspaceEditor::workspaceChanged, this, [this] { modified_ = true; });
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
    // While it is open the status line says it is listening, and what came.
    portStatus_ = new PortStatus(state_, serialLink(), catalogue_, StatusLine);
    portStatus_->setComm(serialLink().port);
    StatusLine->addPermanentWidget(portStatus_);
    auto* portTimer = new QTimer(this);
    connect(portTimer, &QTimer::timeout, portStatus_, &PortStatus::refresh);
    connect(portStatus_, &PortStatus::openChanged, this, &MainWindow::showSignalPanel);
    portTimer->start(500);
}

MainWindow::~MainWindow() {
    if (background_) background_->cancel();
    abandoned_.clear();  // waits for workers still running
    dialogs_.clear();
    progressEnd();
    // The editor observes the workspace, which is gone before the children are.
    delete workspaceEditor;
    workspaceEditor = nullptr;
}

void MainWindow::buildToolBar() {
    commandToolBar = addToolBar("CommandToolBar");
    commandToolBar->setObjectName("CommandToolBar");
    commandToolBar->setMovable(false);
    commandToolBar->setFloatable(false);
    for (const ToolbarButton& button : ToolbarLayout()) {
        if (button.key.empty()) {
            commandToolBar->addSeparator();
            continue;
        }
        QAction* action = commandToolBar->addAction(ToolbarIcon(style(), button.key),
                                                    Text(button.hint(state_.languageIndex)));
        action->setObjectName(Text(button.key) + "Button");
        const std::string key(button.key);
        connect(action, &QAction::triggered, this, [this, key] { runCommand(key); });
    }
    instrumentLabel = new QLabel(commandToolBar);
    instrumentLabel->setObjectName("InstrumentLabel");
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
    // The version, what the program is for, the bare version number. They
    // share the line with the port's status: the first takes the room left
    // over, and each gives way (cut short, with its text as a tooltip)
    // rather than widen the window.
    const char* const names[] = {"VersionPanel", "PurposePanel", "VersionNumberPanel"};
    for (std::size_t i = 0; i < StatusPanels.size(); ++i) {
        StatusPanels[i] = new ElidedLabel(StatusLine);
        StatusPanels[i]->setObjectName(names[i]);
        StatusPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        StatusLine->addWidget(StatusPanels[i], i == 0 ? 1 : 0);
    }
    StatusPanels[2]->setText(kVersionNumber);
    // Holds the progress bar while a command shows one.
    auto* progressPlace = new QHBoxLayout(StatusPanels[0]);
    progressPlace->setContentsMargins(0, 0, 0, 0);
    // Shown while a command runs in the background.
    activity_ = new QProgressBar(StatusLine);
    activity_->setObjectName("ActivityBar");
    activity_->setRange(0, 0);
    activity_->setTextVisible(false);
    activity_->setMaximumWidth(120);
    activity_->hide();
    StatusLine->addPermanentWidget(activity_);
    cancelButton_ = new QPushButton(StatusLine);
    cancelButton_->setObjectName("CancelButton");
    cancelButton_->setShortcut(QKeySequence(Qt::Key_Escape));
    cancelButton_->hide();
    connect(cancelButton_, &QPushButton::clicked, this, &MainWindow::cancelCommand);
    StatusLine->addPermanentWidget(cancelButton_);
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
    UseQtTranslations(state_.languageIndex);
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
            view->setChecked(serialLink().signalLampsVisible);
        if (QAction* strict = bar.item("app.read-strictly")) strict->setChecked(state_.strictReading);
    }
    // The window's own texts follow the language of the menu bar.
    const CommandContext ctx = context();
    showTexts(ctx);
    cancelButton_->setText(Text(ctx.message(msg::kCancelCommand, "Cancel")));
    findings_->setWindowTitle(Text(ctx.message(msg::kFindingsTitle, "Findings")));
    showFindingsCount();
    showSignalPanel();
}

void MainWindow::showSignalPanel() {
    const SerialLink& link = serialLink();
    signalPanel->setVisible(link.signalLampsVisible || (link.port && link.port->Enabled()));
}

void MainWindow::showTexts(const CommandContext& ctx) {
    const int language = state_.languageIndex;
    for (const ToolbarButton& button : ToolbarLayout()) {
        if (button.key.empty()) continue;
        if (auto* action = commandToolBar->findChild<QAction*>(Text(button.key) + "Button")) {
            action->setText(Text(button.hint(language)));
            action->setToolTip(Text(button.hint(language)));
        }
    }
    // The instrument as the Instrument menu of this language names it.
    for (const CommandRow& row : CommandTable()) {
        if (row.radioGroup != "instrument" || row.radioValue != state_.instrumentKind) continue;
        const MenuPlace& place = language == 1 ? row.english : language == 3 ? row.big5 : row.gb;
        instrumentLabel->setText(Text(place.text).remove('&'));
    }
    StatusPanels[0]->setText(Text(ctx.message(msg::kStatusVersion, "Version %1 (build %2)"))
                                 .arg(kVersionNumber, kBuildNumber));
    StatusPanels[1]->setText(Text(ctx.message(msg::kStatusSurveyData, "Survey data")));
    static const char* const kLampTexts[] = {"Sent",       "Break", "Received", "Carrier", "Event char",
                                             "Error",      "Ring",  "DSR",      "CTS"};
    std::array<QString, SignalLampPanel::LampCount> lamps;
    for (int i = 0; i < SignalLampPanel::LampCount; ++i)
        lamps[i] = Text(ctx.message(msg::kLampCaptions + 10 * i, kLampTexts[i]));
    signalPanel->setTexts(Text(ctx.message(msg::kLampPanelCaption, "Port signals:")), lamps);
}

SerialLink& MainWindow::serialLink() {
    return subsystems_.get<SerialLink>();
}

CommandContext MainWindow::context() {
    return CommandContext{workspace_, state_, user_, options_, catalogue_, subsystems_};
}

void MainWindow::showNote(const std::string& text) {
    StatusLine->showMessage(QString::fromStdString(text));
}

void MainWindow::showFindings(const std::vector<LineFinding>& findings, bool append) {
    findings_->show(findings, append);
    showFindingsCount();
}

void MainWindow::showFindingsCount() {
    const int n = findings_->count();
    findingsCount_->setText(
        n == 0 ? QString()
               : Text(context().message(msg::kFindingsCount, "%1 findings")).arg(n));
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
    const bool replacesText = row->handler == LoadFileCommand || row->handler == ClearCommand;
    if (replacesText && !mayDiscardChanges()) return CommandStatus::Cancelled;
    runningCommand_ = true;
    const std::optional<DocumentStamp> stampBefore = state_.documentStamp;
    CommandStatus status = CommandStatus::Stopped;
    try {
        workspaceEditor->syncToWorkspace();
        if (row->handler && !RunsInForeground(*row)) {
            const CommandHandler handler = row->handler;
            status = runInBackground([handler](CommandContext& ctx) {
                const CommandStatus done = handler(ctx);
                // A loaded record file is checked for lost records at once.
                if (handler == LoadFileCommand && done == CommandStatus::Done)
                    zeiss::ReportAddressContinuity(ctx, zeiss::DocumentFileName(ctx));
                return done;
            });
        } else if (row->handler) {
            CommandContext ctx = context();
            foregroundRunning_ = true;
            foregroundCancelled_ = false;
            status = row->handler(ctx);
        } else {
            runWindowCommand(key);
            status = CommandStatus::Done;
        }
    } catch (const CommandCancelled&) {
        status = CommandStatus::Cancelled;
    } catch (const std::exception& e) {
        showFailure(FailureText(e, TextsOf(context())));
    } catch (...) {
        showFailure(context().message(msg::kUnknownFailure, "The command ended with an unknown failure"));
    }
    runningCommand_ = false;
    if (foregroundRunning_ && property("commandRunning").toBool()) setBusy(false);
    foregroundRunning_ = false;
    workspaceEditor->flushAppends();
    // The text is as its file holds it when the command loaded or saved it
    // (Load, Save, a conversion that saved its result), and nothing is lost
    // by a Clear.
    const bool loadsOrSaves = row->handler == LoadFileCommand || row->handler == SaveFileCommand ||
                              row->handler == SaveAsCommand;
    const bool stamped =
        DocumentHasFile(state_) && (loadsOrSaves || state_.documentStamp != stampBefore);
    if (status == CommandStatus::Done && (stamped || row->handler == ClearCommand)) {
        modified_ = false;
        if (stamped) rememberFile(state_.currentDocumentName);
    }
    updateFromState();
    return status;
}

CommandStatus MainWindow::loadFile(const std::filesystem::path& path) {
    if (runningCommand_ || !mayDiscardChanges()) return CommandStatus::Cancelled;
    runningCommand_ = true;
    CommandStatus status = CommandStatus::Stopped;
    try {
        status = runInBackground([path](CommandContext& ctx) {
            LoadDocument(ctx, path);
            zeiss::ReportAddressContinuity(ctx, zeiss::DocumentFileName(ctx));
            return CommandStatus::Done;
        });
    } catch (const std::exception& e) {
        showFailure(FailureText(e, TextsOf(context())));
    }
    runningCommand_ = false;
    workspaceEditor->flushAppends();
    if (status == CommandStatus::Done) {
        modified_ = false;
        rememberFile(state_.currentDocumentName);
    }
    updateFromState();
    return status;
}

bool MainWindow::hasUnsavedChanges() const {
    return modified_ || workspaceEditor->userEdited();
}

bool MainWindow::mayDiscardChanges() {
    if (!hasUnsavedChanges()) return true;
    return user_.confirm(context().message(
        msg::kDiscardChanges, "The text has changes that are not saved. Discard them?"));
}

void MainWindow::showCaption(const std::string& caption) {
    setWindowTitle(DecodeLine(caption));
}

void MainWindow::rememberFile(const std::string& path) {
    if (path.empty()) return;
    const QString name = QFile::decodeName(path.c_str());
    recentFiles_.removeAll(name);
    recentFiles_.prepend(name);
    while (recentFiles_.size() > kRecentFileCount) recentFiles_.removeLast();
    lastFolder_ = QFileInfo(name).absolutePath();
    fillRecentMenus();
}

void MainWindow::buildRecentMenus() {
    for (std::size_t i = 0; i < menuBars_.size(); ++i) {
        QAction* load = menuBars_[i].item("file.load");
        if (!load) continue;
        for (QObject* owner : load->associatedObjects()) {
            auto* menu = qobject_cast<QMenu*>(owner);
            if (!menu) continue;
            const int language = menuBars_[i].languageIndex;
            auto* recent = new QMenu(
                Text(catalogue_.lookup(msg::kRecentFiles, language, "Recent &Files")), menu);
            recent->setObjectName("RecentFiles");
            const QList<QAction*> items = menu->actions();
            const qsizetype at = items.indexOf(load);
            QAction* before = at + 1 < items.size() ? items[at + 1] : nullptr;
            menu->insertMenu(before, recent);
            recentMenus_[i] = recent;
            break;
        }
    }
    fillRecentMenus();
}

void MainWindow::fillRecentMenus() {
    for (QMenu* menu : recentMenus_) {
        if (!menu) continue;
        menu->clear();
        for (const QString& name : recentFiles_) {
            QAction* action = menu->addAction(name);
            connect(action, &QAction::triggered, this,
                    [this, name] { loadFile(QFile::encodeName(name).toStdString()); });
        }
        menu->setEnabled(!recentFiles_.isEmpty());
    }
}

bool MainWindow::restoreSettings() {
    auto settings = OpenWindowSettings();
    state_.languageIndex = std::clamp(settings->value("window/language", state_.languageIndex).toInt(), 1, 3);
    state_.instrumentKind = std::clamp(settings->value("window/instrument", state_.instrumentKind).toInt(), 0, 6);
    bool& lamps = serialLink().signalLampsVisible;
    lamps = settings->value("window/portSignal", lamps).toBool();
    state_.strictReading = settings->value("window/strictReading", state_.strictReading).toBool();
    lastFolder_ = settings->value("window/lastFolder", lastFolder_).toString();
    recentFiles_ = settings->value("window/recentFiles").toStringList();
    const bool placed = settings->contains("window/geometry") &&
                        restoreGeometry(settings->value("window/geometry").toByteArray());
    ExchangeDialogOptions(*settings, options_, false);
    fillRecentMenus();
    updateFromState();
    return placed;
}

void MainWindow::saveSettings() {
    auto settings = OpenWindowSettings();
    settings->setValue("window/language", state_.languageIndex);
    settings->setValue("window/instrument", state_.instrumentKind);
    settings->setValue("window/portSignal", serialLink().signalLampsVisible);
    settings->setValue("window/strictReading", state_.strictReading);
    settings->setValue("window/lastFolder", lastFolder_);
    settings->setValue("window/recentFiles", recentFiles_);
    settings->setValue("window/geometry", saveGeometry());
    OptionsStore options = options_;
    ExchangeDialogOptions(*settings, options, true);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && event->mimeData()->urls().front().isLocalFile())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.front().isLocalFile()) return;
    event->acceptProposedAction();
    const std::filesystem::path path = QFile::encodeName(urls.front().toLocalFile()).toStdString();
    // Loaded once the drop has ended, so the source of the drag is not kept waiting.
    QMetaObject::invokeMethod(this, [this, path] { loadFile(path); }, Qt::QueuedConnection);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // Compared with the pointer kept at start: the filter also sees events
    // while the editor is being destroyed, when it can no longer be asked.
    if (watched == editorViewport_) {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (drag->mimeData()->hasUrls()) {
                drag->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            if (drop->mimeData()->hasUrls()) {
                dropEvent(drop);
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

CommandStatus MainWindow::runInBackground(
    const std::function<CommandStatus(CommandContext&)>& body) {
    std::erase_if(abandoned_, [](const auto& command) { return !command->running(); });
    background_ = std::make_unique<BackgroundCommand>(*this, user_, workspace_, state_, options_,
                                                      catalogue_);
    setBusy(true);
    CommandStatus status = CommandStatus::Cancelled;
    try {
        status = background_->run(body);
    } catch (...) {
        // A failed command keeps the workspace as it was; its failure is shown.
        setBusy(false);
        background_.reset();
        throw;
    }
    setBusy(false);
    if (background_->running()) {
        abandoned_.push_back(std::move(background_));
        return CommandStatus::Cancelled;
    }
    if (status != CommandStatus::Cancelled) {
        // Asked before the text is taken, which the command's tracker sees too.
        const bool findingsOutlived = background_->findingsOutlived();
        if (background_->workspaceChanged()) workspace_.takeFrom(background_->workspace());
        // The window's own state is kept where the command does not own it.
        const int language = state_.languageIndex;
        state_ = std::move(background_->state());
        state_.languageIndex = language;
        // Findings belong to the text they were found in.
        if (findingsOutlived) {
            showFindings({}, false);
            state_.shownAddressFindings.clear();
        }
        options_ = std::move(background_->options());
        if (auto caption = background_->caption()) user_.setCaption(*caption);
    }
    background_.reset();
    return status;
}

void MainWindow::cancelCommand() {
    if (foregroundRunning_) {
        foregroundCancelled_ = true;  // the command stops at its next step
        return;
    }
    if (!background_ || background_->cancel()) return;
    // The output is being put in place: the command finishes, and says so
    // rather than seem to ignore the Cancel.
    cancelButton_->setEnabled(false);
    StatusLine->showMessage(Text(context().message(
        msg::kCancelTooLate,
        "Too late to cancel: the output is already being written. The command finishes.")));
}

void MainWindow::setBusy(bool busy) {
    setProperty("commandRunning", busy);
    if (busy) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
    } else {
        QApplication::restoreOverrideCursor();
        progressEnd();
    }
    workspaceEditor->setReadOnly(busy);
    if (attached_) attached_->setEnabled(!busy);
    commandToolBar->setEnabled(!busy);
    activity_->setVisible(busy);
    cancelButton_->setVisible(busy);
    cancelButton_->setEnabled(true);
    if (busy) StatusLine->clearMessage();
    if (busy) cancelButton_->setFocus();
}

void MainWindow::runWindowCommand(std::string_view key) {
    if (key == "file.print-setup") {
        printerSetup();
    } else if (key == "file.print") {
        print();
    } else if (key == "app.exit") {
        close();
    } else if (key == "help.manual") {
        if (auto page = ManualPage(state_.languageIndex)) {
            if (!manual_) manual_ = new ManualWindow(this);
            CommandContext ctx = context();
            manual_->showPage(*page, ctx);
        } else
            showFailure(context().message(msg::kManualMissing,
                                          "The user guide manual/index.html is not in the data folder."));
    } else if (key == "help.about") {
        if (!aboutBox_) aboutBox_ = new AboutBox(this);
        aboutBox_->localise(TextsOf(context()));
        aboutBox_->exec();
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
    if (background_) return it->second->run(background_->context());
    CommandContext ctx = context();
    return it->second->run(ctx);
}

void MainWindow::setSerialPort(SerialPort* comm, std::function<void()> closeOnExit) {
    serialLink().port = comm;
    closePort_ = std::move(closeOnExit);
    if (portStatus_) portStatus_->setComm(comm);
}

void MainWindow::progressBegin(int maximum) {
    progressEnd();
    // Over the first panel, as wide as the window leaves it.
    progressBar_ = new QProgressBar(StatusPanels[0]);
    progressBar_->setObjectName("ProgressBar");
    progressBar_->setTextVisible(false);
    StatusPanels[0]->layout()->addWidget(progressBar_);
    progressBar_->setRange(0, std::max(0, maximum));
    progressBar_->setValue(0);
    progressBar_->show();
}

void MainWindow::progressSetPosition(int position) {
    if (progressBar_) progressBar_->setValue(position);
    // A long command on this thread (an upload, which the port ties to it)
    // lets the window answer between its steps, with Cancel shown; a Cancel
    // stops it at the next step.
    if (!foregroundRunning_) return;
    if (!property("commandRunning").toBool()) setBusy(true);
    QCoreApplication::processEvents();
    if (foregroundCancelled_) throw CommandCancelled{};
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
    // A running command is cancelled first; the window then closes as usual.
    if (background_ || foregroundRunning_) {
        cancelCommand();
        event->ignore();
        return;
    }
    // Asked only when there is something to lose.
    workspaceEditor->syncToWorkspace();
    bool yes = true;
    if (hasUnsavedChanges()) {
        try {
            CommandContext ctx = context();
            yes = user_.confirm(ctx.message(msg::kExitQuestion, kExitQuestionDefault) + "\n" +
                                ctx.message(msg::kUnsavedChanges,
                                            "The text has changes that are not saved."));
        } catch (const std::exception& e) {
            showFailure(FailureText(e, TextsOf(context())));
        }
    }
    if (!yes) {
        event->ignore();
        return;
    }
    if (closePort_) {
        try {
            closePort_();
        } catch (const std::exception& e) {
            showFailure(FailureText(e, TextsOf(context())));
        }
    }
    saveSettings();
    event->accept();
}

}  // namespace tarvosen::ui
