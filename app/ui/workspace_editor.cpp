#include "app/ui/workspace_editor.h"

#include <unordered_map>

#include <QElapsedTimer>
#include <QFontDatabase>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>

#include "app/ui/text_encoding.h"

namespace tarvosen::ui {

namespace {

// Lines are shown in slices of this many; slices follow one another until
// kSliceTime has passed, then the event loop runs before the next.
constexpr std::size_t kSliceLines = 1024;
constexpr qint64 kSliceTime = 25;  // milliseconds

// Shows a run of workspace lines joined by line breaks.
QString JoinDecoded(const WorkspaceLines& lines, std::size_t first, std::size_t end) {
    std::size_t size = 0;
    for (std::size_t i = first; i < end; ++i) size += lines[i].size() + 1;
    QString text;
    text.reserve(static_cast<qsizetype>(size));
    for (std::size_t i = first; i < end; ++i) {
        if (i > first) text += QChar('\n');
        text += DecodeLine(lines[i]);
    }
    return text;
}

QFont EditorFont() {
    // A fixed-pitch font; the CJK monospace family keeps Chinese columns aligned.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamilies({"Fixedsys", "Noto Sans Mono CJK SC", "DejaVu Sans Mono", font.family()});
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPixelSize(13);
    return font;
}

}  // namespace

WorkspaceEditor::WorkspaceEditor(Workspace& workspace, QWidget* parent)
    : QPlainTextEdit(parent), workspace_(workspace) {
    setObjectName("WorkspaceEditor");
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFont(EditorFont());
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (!updating_ && (removed != 0 || added != 0)) userEdited_ = true;
    });
    workspace_.setObserver(this);
    showWholeWorkspace();
}

WorkspaceEditor::~WorkspaceEditor() {
    workspace_.setObserver(nullptr);
}

void WorkspaceEditor::linesAppended(std::size_t, std::size_t) {
    emit workspaceChanged();
    if (syncing_) return;
    scheduleFlush();
}

void WorkspaceEditor::workspaceReset() {
    emit workspaceChanged();
    if (syncing_) {
        shownLines_ = workspace_.lineCount();
        return;
    }
    showWholeWorkspace();
}

void WorkspaceEditor::scheduleFlush() {
    if (flushScheduled_) return;
    flushScheduled_ = true;
    QTimer::singleShot(0, this, [this] { flushAppends(); });
}

void WorkspaceEditor::showWholeWorkspace() {
    updating_ = true;
    setPlainText(QString());  // the undo history goes with the old text
    updating_ = false;
    shownLines_ = 0;
    userEdited_ = false;
    keepTop_ = true;
    showPending(false);
}

void WorkspaceEditor::flushAppends() {
    showPending(false);
}

void WorkspaceEditor::showAll() {
    showPending(true);
}

bool WorkspaceEditor::filling() const {
    return shownLines_ < workspace_.lineCount();
}

void WorkspaceEditor::showPending(bool all) {
    flushScheduled_ = false;
    QElapsedTimer clock;
    clock.start();
    const std::size_t count = workspace_.lineCount();
    while (shownLines_ < count) {
        appendShown(std::min(count, shownLines_ + kSliceLines));
        if (!all && clock.elapsed() >= kSliceTime) break;
    }
    if (shownLines_ < count)
        scheduleFlush();
    else
        keepTop_ = false;
}

void WorkspaceEditor::appendShown(std::size_t end) {
    const WorkspaceLines lines = workspace_.view();
    QScrollBar* bar = verticalScrollBar();
    const bool atBottom = !keepTop_ && bar->value() == bar->maximum();
    QString text = JoinDecoded(lines, shownLines_, end);
    if (shownLines_ > 0 || !document()->isEmpty()) text.prepend(QChar('\n'));
    updating_ = true;
    // Undoing the user's typing must never undo received lines, so the
    // history ends here.
    document()->setUndoRedoEnabled(false);
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    document()->setUndoRedoEnabled(true);
    updating_ = false;
    shownLines_ = end;
    if (atBottom) bar->setValue(bar->maximum());
}

std::vector<std::string> WorkspaceEditor::editedLines() const {
    const WorkspaceLines old = workspace_.view();
    std::vector<QString> blocks;
    if (!document()->isEmpty()) {
        blocks.reserve(static_cast<std::size_t>(document()->blockCount()));
        for (QTextBlock b = document()->begin(); b.isValid(); b = b.next())
            blocks.push_back(b.text());
    }
    std::vector<std::string> result;
    result.reserve(blocks.size());

    // Unchanged lines at the start and at the end keep their bytes.
    std::size_t head = 0;
    while (head < blocks.size() && head < old.size() && blocks[head] == DecodeLine(old[head]))
        ++head;
    std::size_t tail = 0;
    while (tail < blocks.size() - head && tail < old.size() - head &&
           blocks[blocks.size() - 1 - tail] == DecodeLine(old[old.size() - 1 - tail]))
        ++tail;

    // In between, a line that is shown exactly as some old line was (moved or
    // untouched) takes that line's bytes; typed text is encoded the way the
    // rest of the text is: GB18030 when any line is, UTF-8 otherwise.
    std::unordered_map<QString, std::size_t> byText;
    for (std::size_t i = head; i < old.size() - tail; ++i) byText.emplace(DecodeLine(old[i]), i);
    LineEncoding encoding = LineEncoding::Utf8;
    for (std::string_view line : old) {
        if (EncodingOf(line) == LineEncoding::Gb18030) {
            encoding = LineEncoding::Gb18030;
            break;
        }
    }

    for (std::size_t i = 0; i < head; ++i) result.emplace_back(old[i]);
    for (std::size_t i = head; i < blocks.size() - tail; ++i) {
        if (auto it = byText.find(blocks[i]); it != byText.end()) {
            result.emplace_back(old[it->second]);
            continue;
        }
        // Shift+Enter puts a line separator inside a block: it too ends a line.
        for (const QString& part : blocks[i].split(QChar::LineSeparator))
            result.push_back(EncodeLine(part, encoding));
    }
    for (std::size_t i = old.size() - tail; i < old.size(); ++i) result.emplace_back(old[i]);
    return result;
}

void WorkspaceEditor::syncToWorkspace() {
    // Unchanged, the workspace is the text: a fill still running goes on.
    if (!userEdited_) return;
    showAll();
    std::vector<std::string> lines = editedLines();
    syncing_ = true;
    workspace_.replaceAll(std::move(lines));
    syncing_ = false;
    userEdited_ = false;
}

}  // namespace tarvosen::ui
