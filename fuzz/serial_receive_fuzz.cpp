// Received bytes in bursts of varying sizes through ReceiveBytes, the part of
// TakeReceivedBytes that takes what the port delivered. The input is a sequence of
// bursts, each a length byte followed by that many bytes (the last one may be
// short). A length 0 is an event on which the port yields nothing, handled by
// TakeReceivedBytes itself (the port is closed, so its Read fails): it must light
// the RxChar lamp and change nothing else. Afterwards the workspace must hold
// exactly the received lines: the bytes other than NUL and Ctrl-Z, cut at every
// CR, LF, CR LF and LF CR, in order, whatever the burst boundaries, except that
// the rest of a burst after an END line is left out with one warning; what
// follows the last line end waits in PendingLine; and the document name is
// reset exactly when an END line arrived.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_context.h"
#include "i18n/message_catalogue.h"
#include "serial/instrument_link.h"
#include "serial/serial_link.h"

namespace {

using namespace tarvosen;

// Remembers the caption; every other request is refused.
class CaptionUser final : public UserInterface {
  public:
    void showMessage(MessageKind kind, const std::string&) override {
        if (kind != MessageKind::Warning) std::abort();
        ++warnings;
    }
    bool confirm(const std::string&) override { std::abort(); }
    std::optional<std::filesystem::path> chooseSaveFile(const std::string&,
                                                        const std::string&) override {
        std::abort();
    }
    std::optional<std::filesystem::path> chooseOpenFile(const std::string&) override {
        std::abort();
    }
    bool showOptionDialog(OptionDialog) override { std::abort(); }
    void setCaption(const std::string& text) override { caption = text; }
    void progressBegin(int) override { std::abort(); }
    void progressSetPosition(int) override { std::abort(); }
    void progressEnd() override { std::abort(); }

    std::string caption = "unchanged";
    std::size_t warnings = 0;
};

class CountingLamps final : public SignalLamps {
  public:
    void flash(SignalLamp lamp) override {
        if (lamp != SignalLamp::RxChar) std::abort();
        ++rxChar;
    }
    std::size_t rxChar = 0;
};

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    Workspace workspace;
    AppState state;
    state.startDirectory = "/start";
    const std::string document = "/data/job.txt";
    state.currentDocumentName = document;
    CaptionUser user;
    OptionsStore options;
    MessageCatalogue catalogue;
    SubsystemStore subsystems;
    CommandContext ctx{workspace, state, user, options, catalogue, subsystems};
    TaskQueue events;
    SerialPort port(events);
    CountingLamps lamps;
    InstrumentLink link(port, ctx, &lamps);
    std::size_t emptyEvents = 0;

    // A line from before the download stays where it is.
    workspace.append("earlier");
    std::vector<std::string> bursts;
    std::size_t reported = 0;
    for (std::size_t at = 0; at < input.size();) {
        const std::size_t length = static_cast<std::uint8_t>(input[at++]);
        if (length == 0) {
            link.TakeReceivedBytes(port, 1);
            ++emptyEvents;
            continue;
        }
        const std::string_view burst = input.substr(at, length);
        at += burst.size();
        bursts.emplace_back(burst);
        reported += ReceiveBytes(ctx, burst);
    }

    // The expected lines, worked out burst by burst: line ends are first made
    // one CR each (a CR LF or LF CR pair may span two bursts), then cut.
    std::vector<std::string> expected{"earlier"};
    std::string pending;
    bool end = false;
    std::size_t warnings = 0;
    char previousEnd = 0;  // the line end just seen, while nothing else came after it
    for (const std::string& burst : bursts) {
        std::string kept;
        for (const char c : burst) {
            if (c == '\0' || c == '\x1a') continue;
            const bool lineEnd = c == '\r' || c == '\n';
            const bool second = lineEnd && previousEnd && previousEnd != c;
            previousEnd = lineEnd && !second ? c : 0;
            if (!second) kept += lineEnd ? '\r' : c;
        }
        for (std::size_t i = 0; i < kept.size(); ++i) {
            if (kept[i] != '\r') {
                pending += kept[i];
                continue;
            }
            const bool isEnd = IsEndLine(pending);
            expected.push_back(std::move(pending));
            pending.clear();
            if (!isEnd) continue;
            end = true;
            // Left out: the rest of the burst; a warning when it held text.
            if (kept.find_first_not_of('\r', i + 1) != std::string::npos) ++warnings;
            break;
        }
    }
    Check(workspace.lines() == expected);
    Check(SerialLinkOf(ctx).pendingLine == pending);
    Check(reported == expected.size() - 1);
    Check(lamps.rxChar == emptyEvents);
    Check(user.warnings == warnings);
    if (end) {
        Check(state.currentDocumentName == ResetDocumentName(state));
        Check(user.caption == DocumentCaption(state.currentDocumentName));
    } else {
        Check(state.currentDocumentName == document);
        Check(user.caption == "unchanged");
    }
    return 0;
}
