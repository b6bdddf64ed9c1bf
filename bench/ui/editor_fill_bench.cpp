// How long the editor keeps the window from answering while it shows a large
// text: a 100 MB file of R5 records is put into the workspace, and a timer
// that should fire every 10 ms records the longest pause of the event loop
// until the editor shows every line. Prints the figures; exits 1 when the
// editor does not end up showing every line.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include <QApplication>
#include <QElapsedTimer>
#include <QTextDocument>
#include <QTimer>

#include "app/ui/workspace_editor.h"
#include "app/workspace.h"

namespace {

std::string R5Text(std::size_t bytes) {
    std::string text;
    text.reserve(bytes + 128);
    char line[160];
    for (long i = 0; text.size() < bytes; ++i) {
        std::snprintf(line, sizeof line,
                      "For R5|Adr %04ld|KR A %5ld|X %12.3f m   |Y %12.3f m   |Z %12.3f m   |\r\n",
                      i % 10000, 200 + i % 90000, 1000.0 + i * 0.01, 2000.0 - i * 0.02,
                      50.0 + (i % 100) * 0.001);
        text += line;
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::size_t megabytes = argc > 1 ? std::stoul(argv[1]) : 100;
    tarvosen::Workspace workspace;
    tarvosen::ui::WorkspaceEditor editor(workspace);
    editor.resize(800, 600);
    editor.show();
    // Read as a command reads a file, away from the window's workspace.
    tarvosen::Workspace loaded;
    std::string text = R5Text(megabytes << 20);
    const std::size_t bytes = text.size();
    loaded.replaceAllBytes(std::move(text));

    QElapsedTimer clock;
    qint64 last = 0, longest = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    ticker.start(10);
    clock.start();
    workspace.takeFrom(loaded);  // as the window takes a command's result
    const qint64 returned = clock.elapsed();
    longest = std::max(longest, returned);
    last = returned;
    const auto lines = static_cast<int>(workspace.lineCount());
    while (editor.document()->blockCount() < lines && clock.elapsed() < 600000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const qint64 shown = clock.elapsed();
    std::printf("%.1f MB, %d lines: call returned after %lld ms, all lines shown after %lld ms, "
                "longest pause of the event loop %lld ms\n",
                bytes / 1048576.0, lines, static_cast<long long>(returned),
                static_cast<long long>(shown), static_cast<long long>(longest));
    return editor.document()->blockCount() == lines ? 0 : 1;
}
