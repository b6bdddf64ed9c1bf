#include "cli/manual_pages.h"

#include <algorithm>
#include <sstream>

#include "app/version.h"
#include "cli/command_help.h"

namespace tarvosen {

namespace {

// Text as roff prints it literally: every minus a minus sign (so options can
// be searched for and copied), quotes and backslashes as themselves, and no
// line taken for a request.
std::string Roff(std::string_view text) {
    std::string out;
    bool lineStart = true;
    for (char c : text) {
        if (lineStart && c == '.') out += "\\&";  // a line that starts with a dot is a request
        lineStart = c == '\n';
        switch (c) {
        case '\\': out += "\\e"; break;
        case '-': out += "\\-"; break;
        case '\'': out += "\\(aq"; break;
        case '`': out += "\\(ga"; break;
        case '~': out += "\\(ti"; break;
        case '^': out += "\\(ha"; break;
        default: out += c;
        }
    }
    return out;
}

// A macro (.B, .I, .SS) applied to the text on the next line, so no quote or
// blank in the text is read as an argument separator.
std::string Macro(std::string_view macro, std::string_view text) {
    return "." + std::string(macro) + "\n" + Roff(text) + "\n";
}

// The page's heading; no date, so the same sources give the same page.
std::string Heading(std::string_view name) {
    return ".TH " + Roff(name) + " 1 \"\" \"Tarvosen " + std::string(kVersionNumber) + " (Build " +
           std::string(kBuildNumber) + ")\" \"Tarvosen Data Processor\"\n"
           // Words are neither hyphenated nor spread, as in --help.
           ".nh\n.ad l\n";
}

std::string DataSections() {
    return ".SH ENVIRONMENT\n"
           ".TP\n.B TARVOSEN_DATA_DIR\n" +
           Roff("A data folder searched before the installed one.\n") +
           ".SH FILES\n"
           ".TP\n.I /usr/share/tarvosen\n" +
           Roff("The data folder: the message catalogue messages.txt, the traverse record-book "
                "template RIZUV.xlsx and sample files in samples/. The programs find it as "
                "share/tarvosen beside the bin folder they are installed in.\n");
}

}  // namespace

std::string CliManualPage() {
    std::ostringstream page;
    page << Heading("TARVOSEN-CLI") << ".SH NAME\n"
         << Roff("tarvosen-cli - the command-line program of the Tarvosen Data Processor\n")
         << ".SH SYNOPSIS\n";
    bool first = true;
    for (std::string_view synopsis : ProgramSynopses()) {
        if (!first) page << ".br\n";
        first = false;
        page << ".B tarvosen\\-cli\n" << Roff(synopsis) << "\n";
    }
    page << ".SH DESCRIPTION\n" << Roff(kProgramDescription);
    page << ".PP\n"
         << Roff("tarvosen-cli list shows every command, tarvosen-cli COMMAND --help its "
                 "options, as below.\n");

    page << ".SH COMMANDS\n";
    for (const CommandRow* row : CliCommands()) {
        page << Macro("SS", row->cliName)
             << Roff(CommandUsage(*row)) << "\n.PP\n"
             << Roff(row->cliSummary) << "\n";
        if (const std::string place = WindowPlaceOf(*row); !place.empty())
            page << ".br\n" << Roff(place) << "\n";
        const auto options = OptionsOf(*row);
        if (options.empty()) continue;
        page << ".PP\nOptions:\n";
        for (const CliOption& option : options)
            page << ".TP\n" << Macro("B", OptionHead(option)) << Roff(option.help) << "\n";
    }
    page << Macro("SS", "Every command") << ".TP\n" << Macro("B", "-o OUTPUT, --output OUTPUT")
         << Roff("the file the result is written to") << "\n"
         << ".TP\n" << Macro("B", "-h, --help")
         << Roff("print the command's usage, summary, menu caption and options") << "\n";

    page << ".SH \"EXIT STATUS\"\n";
    for (const auto& [status, meaning] : ExitStatuses())
        page << ".TP\n.B " << status << "\n" << Roff(meaning) << "\n";
    page << DataSections() << ".SH \"SEE ALSO\"\n.BR tarvosen (1)\n";
    return page.str();
}

std::string DesktopManualPage() {
    std::ostringstream page;
    page << Heading("TARVOSEN") << ".SH NAME\n"
         << Roff("tarvosen - the desktop program of the Tarvosen Data Processor\n")
         << ".SH SYNOPSIS\n.B tarvosen\n[\\-\\-version]\n"
         << ".SH DESCRIPTION\n"
         << Roff("A data processor for surveyors: it downloads a total station's or digital "
                 "level's records over a serial line, converts them between survey record "
                 "formats, builds levelling and traverse record books as spreadsheet workbooks, "
                 "writes input files for adjustment software, and uploads coordinate lists back "
                 "to the instrument. All work is done on one text workspace, the lines shown in "
                 "the window's editor.\n")
         << ".PP\n"
         << Roff("The window starts in Simplified Chinese; the Language menu switches between the "
                 "English, GB and Big5 menu bars.\n")
         << ".SH OPTIONS\n.TP\n.B \\-\\-version\n"
         << Roff("print the version and exit, without opening a window\n");

    // The items in the order of the menus, with their captions in the bars
    // that have them and, where there is one, the command-line command.
    // Items without one are only in the window.
    page << ".SH MENUS\n"
         << Roff("Each item with its captions in the English, GB and Big5 menu bars; an item the "
                 "command-line program offers too names its command there.\n");
    for (const CommandRow& row : CommandTable()) {
        if (row.kind == RowKind::Separator) continue;
        std::vector<std::string> captions;
        for (const MenuPlace* place : {&row.english, &row.gb, &row.big5}) {
            std::string text(place->text);
            std::erase(text, '&');
            if (!text.empty() && std::find(captions.begin(), captions.end(), text) == captions.end())
                captions.push_back(text);
        }
        std::string joined;
        for (const auto& caption : captions) joined += (joined.empty() ? "" : " | ") + caption;
        const bool topLevel = row.english.parent.empty() && row.gb.parent.empty() && row.big5.parent.empty();
        if (row.kind == RowKind::Menu && topLevel) {
            page << Macro("SS", joined);
        } else if (row.kind == RowKind::Menu) {
            page << ".TP\n" << Macro("I", joined) << Roff("a submenu of the items below") << "\n";
        } else {
            page << ".TP\n" << Macro("B", joined);
            if (!row.cliName.empty())
                page << Roff(row.cliSummary) << "\n" << Roff("On the command line: tarvosen-cli ")
                     << Roff(row.cliName) << "\n";
        }
    }

    page << ".SH \"EXIT STATUS\"\n"
         << ".TP\n.B 0\n" << Roff("the window was closed, or the version was printed\n")
         << ".TP\n.B 1\n" << Roff("the program ended with a failure it showed\n")
         << ".TP\n.B 3\n" << Roff("the version could not be written\n")
         << DataSections() << ".SH \"SEE ALSO\"\n.BR tarvosen\\-cli (1)\n";
    return page.str();
}

}  // namespace tarvosen
