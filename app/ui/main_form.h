#pragma once
// MainWindow: the main window. It owns the workspace and the application
// state, shows the workspace in its editor, and runs every command of the
// command table from its menus and toolbar.

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include <QMainWindow>
#include <QStringList>

#include "app/command.h"
#include "app/ui/elided_label.h"
#include "app/ui/menu_bars.h"
#include "app/ui/option_dialog_registry.h"
#include "app/ui/qt_user_interface.h"
#include "i18n/message_catalogue.h"

class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QMenu;
class QPushButton;
class QPrinter;
class QProgressBar;
class QStatusBar;
class QToolBar;

namespace tarvosen {
class SerialPort;
struct SerialLink;
}  // namespace tarvosen

namespace tarvosen::ui {

class BackgroundCommand;
class PortStatus;
class AboutBox;
class FindingsDock;
class ManualWindow;
class SignalLampPanel;
class WorkspaceEditor;

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    // The caption of the form before any command sets one.
    static constexpr const char* kFormCaption = "Tarvosen Data Processor";

    // Loads the message catalogue, remembers the current directory as
    // StartDirectory and selects instrument kind 1.
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Creates every option dialog and the about box once, in their start-up
    // order; they live until the window is destroyed.
    void createDialogs();

    // Runs the command with this key from the command table: writes edited
    // text back into the workspace, runs the handler, shows any failure in an
    // error box and updates the window from the application state.
    CommandStatus runCommand(std::string_view key);

    // A command context over the window's workspace, state and user.
    CommandContext context();

    // Shows a registered option dialog modally over the options of the
    // command that asks (the window's own when none runs in the background);
    // throws NotBuiltError when the dialog has not been built.
    bool runOptionDialog(OptionDialog dialog);

    // Loads a file as Load does, without the file dialog (a dropped file, a
    // recent file); asks first when the text has unsaved changes.
    CommandStatus loadFile(const std::filesystem::path& path);

    // True when the text changed since it was loaded, saved or cleared.
    bool hasUnsavedChanges() const;

    // The settings kept between runs (window_settings.h); restoreSettings is
    // true when it gave the window its last geometry.
    bool restoreSettings();
    void saveSettings();

    // The folder the file dialogs open in, and the files loaded or saved last
    // (newest first).
    QString lastFolder() const { return lastFolder_; }
    void setLastFolder(const QString& folder) { lastFolder_ = folder; }
    const QStringList& recentFiles() const { return recentFiles_; }

    // Shows a command's caption (DocumentCaption) as the window title.
    void showCaption(const std::string& caption);

    // The command running in the background, if any; cancelCommand stops it
    // and leaves the workspace as it was (the Cancel button, Esc).
    BackgroundCommand* backgroundCommand() const { return background_.get(); }
    void cancelCommand();
    QPushButton* cancelButton() const { return cancelButton_; }
    PortStatus* portStatus() const { return portStatus_; }

    // The printing of Print: the whole workspace as one document.
    void printWorkspace(QPrinter& printer);

    // The serial port component. The window passes it to every command and
    // runs closeOnExit when the exit is confirmed.
    void setSerialPort(SerialPort* comm, std::function<void()> closeOnExit);

    // A check's findings in the list beside the editor, counted in the status bar.
    void showFindings(const std::vector<LineFinding>& findings, bool append);
    // The summary line of the last run, in the status line.
    void showNote(const std::string& text);
    FindingsDock* findingsDock() const { return findings_; }
    // The user guide, once Help > Manual has shown it.
    ManualWindow* manualWindow() const { return manual_; }

    // The status-bar progress bar (null when none is shown).
    void progressBegin(int maximum);
    void progressSetPosition(int position);
    void progressEnd();
    QProgressBar* progressBar() const { return progressBar_; }

    Workspace& workspace() { return workspace_; }
    AppState& state() { return state_; }
    OptionsStore& options() { return options_; }
    // The serial subsystem's part of the window's context.
    SerialLink& serialLink();
    const MessageCatalogue& catalogue() const { return catalogue_; }
    QtUserInterface& user() { return user_; }

    // The menu bar of a language (1..3) and the one attached now.
    const CommandMenuBar& menuBarOf(int languageIndex) const;
    QMenuBar* attachedMenuBar() const { return attached_; }

    // The window's parts, named as on the form.
    QToolBar* commandToolBar = nullptr;
    QLabel* instrumentLabel = nullptr;
    SignalLampPanel* signalPanel = nullptr;
    WorkspaceEditor* workspaceEditor = nullptr;
    QObject* editorViewport_ = nullptr;  // the editor's viewport, watched for drops
    QStatusBar* StatusLine = nullptr;
    std::array<ElidedLabel*, 3> StatusPanels{};

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildToolBar();
    void buildStatusLine();
    void attachMenuBar(int languageIndex);
    void updateFromState();
    // The toolbar's tooltips, the instrument label and the panels in the chosen language.
    void showTexts(const CommandContext& ctx);
    // The lamp panel while the port is open, or always when the user asked for it.
    void showSignalPanel();
    void showFindingsCount();
    // The window's own commands: those without a core handler.
    void runWindowCommand(std::string_view key);
    void printerSetup();
    void print();
    QPrinter& printer();
    void showFailure(const std::string& text);
    // Runs a core handler on a worker over copies of the workspace, state and
    // options, and takes them back when it has ended.
    CommandStatus runInBackground(const std::function<CommandStatus(CommandContext&)>& body);
    // Asks whether unsaved changes may go; true when there are none.
    bool mayDiscardChanges();
    void rememberFile(const std::string& path);
    void buildRecentMenus();
    void fillRecentMenus();
    void setBusy(bool busy);

    Workspace workspace_;
    AppState state_;
    OptionsStore options_;
    SubsystemStore subsystems_;
    MessageCatalogue catalogue_;
    QtUserInterface user_{*this};
    std::function<void()> closePort_;

    std::array<CommandMenuBar, 3> menuBars_;
    QMenuBar* attached_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    std::unique_ptr<QPrinter> printer_;
    std::map<OptionDialog, std::unique_ptr<OptionDialogHost>> dialogs_;
    AboutBox* aboutBox_ = nullptr;
    ManualWindow* manual_ = nullptr;
    FindingsDock* findings_ = nullptr;
    QLabel* findingsCount_ = nullptr;
    bool runningCommand_ = false;
    // A command of the command table running on this thread, and whether
    // the user cancelled it.
    bool foregroundRunning_ = false;
    bool foregroundCancelled_ = false;
    std::unique_ptr<BackgroundCommand> background_;
    // Cancelled commands whose workers have not stopped yet.
    std::vector<std::unique_ptr<BackgroundCommand>> abandoned_;
    QPushButton* cancelButton_ = nullptr;
    QProgressBar* activity_ = nullptr;  // moves while a background command runs
    PortStatus* portStatus_ = nullptr;
    bool modified_ = false;  // the workspace changed since Load, Save or Clear
    QString lastFolder_;
    QStringList recentFiles_;
    std::array<QMenu*, 3> recentMenus_{};
};

}  // namespace tarvosen::ui
