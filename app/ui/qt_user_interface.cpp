#include "app/ui/qt_user_interface.h"

#include "serial/ui/receive_log_keeper.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QScreen>
#include <QStandardPaths>
#include <QTreeView>
#include <QMessageBox>
#include <QUrl>

#include "app/app_state.h"
#include "app/ui/file_filter.h"
#include "app/ui/main_form.h"
#include "app/ui/text_encoding.h"

namespace tarvosen::ui {

namespace {

// Messages may quote file contents or names in any code page.
QString Shown(const std::string& text) {
    return DecodeLine(text);
}

std::filesystem::path LocalPath(const QString& name) {
    return std::filesystem::path(QFile::encodeName(name).toStdString());
}

// The title of the program's message boxes: its name in the chosen language.
QString BoxTitle(MainWindow& window) {
    return QString::fromStdString(window.context().message(msg::kProgramName, kApplicationTitle));
}

// The instrument formats, offered first by every open dialog.
constexpr const char* kInstrumentFilesFilter =
    "Survey data (*.r5 *.m5 *.dat *.raw *.rec *.txt *.xlsx)|*.r5;*.m5;*.dat;*.raw;*.rec;*.txt;*.xlsx";
constexpr const char* kAllFilesFilter = "All files (*)|*.*";

// Big enough to show the name, size, type and date columns without cutting them.
constexpr QSize kFileDialogSize(960, 560);
constexpr int kNameColumnWidth = 420;

std::optional<std::filesystem::path> RunFileDialog(MainWindow* parent, QFileDialog::AcceptMode mode,
                                                   const std::string& filter) {
    QFileDialog dialog(parent);
    dialog.resize(kFileDialogSize.boundedTo(parent->screen()->availableSize()));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    // Qt's own dialog: it applies the case-blind patterns the same everywhere.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const bool transferLogs = filter.starts_with("Transfer log");
    const MessageTexts texts = TextsOf(parent->context());
    QStringList filters = QtNameFilters(filter, texts);
    if (mode == QFileDialog::AcceptOpen && !transferLogs) {
        filters.prepend(QtNameFilters(kInstrumentFilesFilter, texts).front());
        filters.append(QtNameFilters(kAllFilesFilter, texts).front());
        filters.removeDuplicates();
    }
    dialog.setNameFilters(filters);
    // Transfer logs are listed from the folder the window keeps them in;
    // other files from the folder used last.
    const QString last = parent->lastFolder();
    dialog.setDirectory(transferLogs ? QString::fromStdString(TransferLogFolder().string())
                        : !last.isEmpty() && QDir(last).exists() ? last
                                                                 : QDir::current().path());
    dialog.setViewMode(QFileDialog::Detail);
    if (auto* files = dialog.findChild<QTreeView*>("treeView"))
        files->header()->resizeSection(0, kNameColumnWidth);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    if (!transferLogs) parent->setLastFolder(dialog.directory().absolutePath());
    return LocalPath(dialog.selectedFiles().front());
}

}  // namespace

void QtUserInterface::showMessage(MessageKind kind, const std::string& text) {
    if (answers_) return answers_->showMessage(kind, text);
    const QString title = BoxTitle(window_);
    switch (kind) {
        case MessageKind::Information:
            QMessageBox::information(&window_, title, Shown(text));
            break;
        case MessageKind::Warning:
            QMessageBox::warning(&window_, title, Shown(text));
            break;
        case MessageKind::Error:
            QMessageBox::critical(&window_, title, Shown(text));
            break;
    }
}

void QtUserInterface::showNote(const std::string& text) {
    if (answers_) answers_->showNote(text);
    window_.showNote(text);
}

bool QtUserInterface::confirm(const std::string& question) {
    if (answers_) return answers_->confirm(question);
    return QMessageBox::question(&window_, BoxTitle(window_), Shown(question),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

std::optional<std::filesystem::path> QtUserInterface::chooseSaveFile(const std::string& filter,
                                                                     const std::string& ext) {
    if (answers_) return answers_->chooseSaveFile(filter, ext);
    auto path = RunFileDialog(&window_, QFileDialog::AcceptSave, filter);
    if (path) *path = WithDefaultExtension(*path, ext);
    return path;
}

void QtUserInterface::showLineFindings(const std::vector<LineFinding>& findings, bool append) {
    if (answers_) answers_->showLineFindings(findings, append);
    window_.showFindings(findings, append);
}

std::optional<std::filesystem::path> QtUserInterface::chooseOpenFile(const std::string& filter) {
    if (answers_) return answers_->chooseOpenFile(filter);
    return RunFileDialog(&window_, QFileDialog::AcceptOpen, filter);
}

bool QtUserInterface::showOptionDialog(OptionDialog dialog) {
    if (answers_) return answers_->showOptionDialog(dialog);
    return window_.runOptionDialog(dialog);
}

void QtUserInterface::setCaption(const std::string& caption) {
    window_.showCaption(caption);
    if (answers_) answers_->setCaption(caption);
}

void QtUserInterface::progressBegin(int maximum) {
    window_.progressBegin(maximum);
    if (answers_) answers_->progressBegin(maximum);
}

void QtUserInterface::progressSetPosition(int position) {
    window_.progressSetPosition(position);
    if (answers_) answers_->progressSetPosition(position);
}

void QtUserInterface::progressEnd() {
    window_.progressEnd();
    if (answers_) answers_->progressEnd();
}

void QtUserInterface::openWithDesktop(const std::filesystem::path& path) {
    if (answers_) return answers_->openWithDesktop(path);
    const QString name = QFile::decodeName(path.c_str());
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(name))) return;
    // Without the desktop's opener Qt cannot start any program, though one
    // that opens the file may well be installed: the message says which it is.
    const bool opener = !QStandardPaths::findExecutable("xdg-open").isEmpty();
    const CommandContext ctx = window_.context();
    const std::string text =
        opener ? ctx.message(msg::kNoProgramOpens,
                             "No program on this computer can open the file. It is saved at:\n")
               : ctx.message(msg::kNoDesktopOpener,
                             "This computer has no desktop opener (xdg-open), so no program can be "
                             "started for the file from here. It is saved at:\n");
    QMessageBox::information(&window_, BoxTitle(window_),
                             QString::fromStdString(text) + name);
}

}  // namespace tarvosen::ui
