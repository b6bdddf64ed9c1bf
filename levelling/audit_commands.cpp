#include "levelling/audit_commands.h"

#include <filesystem>
#include <nlohmann/json.hpp>

#include "app/command_context.h"
#include "app/errors.h"
#include "app/file_digest.h"
#include "app/format_check.h"
#include "app/trim.h"
#include "app/line_account.h"
#include "app/version.h"
#include "leica/gsi_addresses.h"
#include "levelling/dini_audit.h"
#include "zeiss/address_continuity.h"
#include "levelling/levelling_options.h"

namespace tarvosen {

namespace {

using levelling::AuditFinding;

struct CheckedFile {
    std::string name;
    std::string sha256;
    std::size_t lines = 0;
    bool levelling = false;
    bool refused = false;  // no format reads it, or its reader refused it: the message shown
    std::size_t stations = 0;
    std::vector<AuditFinding> findings;
    std::optional<LineAccount> account;  // what the format's reader did with every line
};

const FormatCheck* FormatOf(const Workspace& lines) {
    for (const FormatCheck& format : FormatChecks())
        if (format.recognises && format.recognises(lines)) return &format;
    return nullptr;
}

void AddressFindings(CheckedFile& f, const Workspace& lines, const MessageTexts& texts) {
    for (const auto& gap : zeiss::CheckAddresses(lines))
        f.findings.push_back({gap.line, "address", gap.text(), gap.text(texts)});
    for (auto& gap : leica::GsiAddressFindings(lines, f.name, texts))
        f.findings.push_back({gap.line, "address", std::move(gap.english), std::move(gap.shown)});
}

void RefuseUnrecognised(CommandContext& ctx, CheckedFile& f, const Workspace& lines) {
    std::size_t n = 0, first = 0;
    std::string text;
    for (std::string_view line : lines.view()) {
        ++n;
        line = Trim(line, Blanks::SpacesAndControls);
        if (!line.empty()) {
            first = n;
            text = std::string(line.substr(0, 60));
            break;
        }
    }
    ctx.user.error(TextsOf(ctx)(msg::kCheckNotRecognised,
                                "%1:%2: no format this program reads recognises the file, so it "
                                "cannot be checked; the line is \"%3\".",
                                {f.name, std::to_string(first), text}));
    f.refused = true;
}

// What the audit (levelling data) or the format's reader and the address
// check (other record files) find.
CheckedFile CheckLines(CommandContext& ctx, std::string name, std::string sha256,
                       const Workspace& lines, bool alwaysAudit,
                       const levelling::AuditLimits& limits) {
    CheckedFile f;
    f.name = std::move(name);
    f.sha256 = std::move(sha256);
    f.lines = lines.lineCount();
    const MessageTexts texts = TextsOf(ctx);
    const FormatCheck* format = FormatOf(lines);
    f.levelling = alwaysAudit || (format && format->account == levelling::AccountDiniLines);
    if (f.levelling) {
        auto audit = levelling::AuditDiniLines(ctx, lines, f.name, limits);
        f.refused = audit.outcome == levelling::ReadOutcome::Refused;
        f.stations = audit.stations;
        f.findings = std::move(audit.findings);
        f.account = std::move(audit.account);
    } else if (format) {
        f.account = format->account(ctx, lines);
        f.refused = !f.account;
        if (f.account) f.account->renameFile(f.name);
        AddressFindings(f, lines, texts);
    } else {
        RefuseUnrecognised(ctx, f, lines);
    }
    return f;
}

// The files to check: the command line's INPUT files, or the workspace under
// the name of its document (with the digest of the file as it was loaded).
std::vector<CheckedFile> CheckAll(CommandContext& ctx, bool alwaysAudit) {
    const levelling::AuditLimits limits = levelling::DefaultAuditLimits();
    std::vector<CheckedFile> out;
    if (!ctx.state.inputFiles.empty()) {
        for (const auto& path : ctx.state.inputFiles) {
            std::string bytes = ReadFileBytes(path);
            std::string sha = Sha256Hex(bytes);
            Workspace lines;
            lines.replaceAllBytes(std::move(bytes));
            out.push_back(CheckLines(ctx, path.filename().string(), std::move(sha), lines,
                                     alwaysAudit, limits));
        }
        return out;
    }
    std::string sha;
    if (ctx.state.sourceFiles.size() == 1) sha = ctx.state.sourceFiles.front().sha256;
    out.push_back(CheckLines(ctx, zeiss::DocumentFileName(ctx), std::move(sha), ctx.workspace,
                             alwaysAudit, limits));
    return out;
}

void WriteReport(const std::filesystem::path& file, const char* command,
                 const std::vector<CheckedFile>& files) {
    nlohmann::ordered_json report;
    report["program"] = std::string("Tarvosen Data Processor ") + kVersionText;
    report["command"] = command;
    report["note"] = levelling::kAuditNote;
    std::size_t total = 0;
    report["files"] = nlohmann::ordered_json::array();
    for (const auto& f : files) {
        nlohmann::ordered_json entry;
        entry["file"] = f.name;
        entry["sha256"] = f.sha256;
        entry["lines"] = f.lines;
        entry["levelling"] = f.levelling;
        entry["stations"] = f.stations;
        entry["findings"] = nlohmann::ordered_json::array();
        for (const auto& finding : f.findings)
            entry["findings"].push_back(
                {{"line", finding.line}, {"check", finding.check}, {"message", finding.text}});
        total += f.findings.size();
        report["files"].push_back(std::move(entry));
    }
    report["finding_count"] = total;
    // Names and messages may hold bytes of another code page.
    WriteFileAtomically(file, report.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) +
                                  "\n");
}

CommandStatus RunChecks(CommandContext& ctx, const char* command, bool alwaysAudit) {
    auto files = CheckAll(ctx, alwaysAudit);
    const MessageTexts texts = TextsOf(ctx);
    bool refused = false;
    for (const auto& f : files) {
        refused = refused || f.refused;
        // The audit names the lines its reader does not understand among its
        // findings; other readers' lines not understood are warned about.
        if (f.account && !f.levelling && !CheckLinesUnderstood(ctx, *f.account)) refused = true;
    }
    std::erase_if(files, [](const CheckedFile& f) { return f.refused; });
    std::vector<LineFinding> shown;
    std::size_t total = 0;
    for (const auto& f : files)
        for (const auto& finding : f.findings)
            shown.push_back({f.name, finding.line, finding.check + ": " + finding.shown});
    if (!shown.empty()) ctx.user.showLineFindings(shown);
    for (const auto& f : files)
        if (f.account)
            NoteReadSummary(ctx, *f.account,
                            texts(msg::kCheckFindingsWritten, "%1 findings",
                                  {std::to_string(f.findings.size())}));
    if (files.empty()) return CommandStatus::Stopped;
    std::string summary;
    for (const auto& f : files) {
        total += f.findings.size();
        if (!summary.empty()) summary += "\n";
        summary += f.findings.empty()
                       ? texts(msg::kAuditNoFindings, "%1: no findings", {f.name})
                       : texts(msg::kAuditFindings, "%1: %2 findings",
                               {f.name, std::to_string(f.findings.size())});
        if (f.levelling)
            summary += texts(msg::kAuditStations, ", %1 stations", {std::to_string(f.stations)});
        if (!f.sha256.empty()) summary += texts(msg::kAuditSha256, ", SHA-256 %1", {f.sha256});
    }
    if (alwaysAudit || std::any_of(files.begin(), files.end(),
                                   [](const CheckedFile& f) { return f.levelling; }))
        summary += "\n" + texts(msg::kAuditNoteText, levelling::kAuditNote);
    ctx.user.information(summary);
    if (!ctx.options.get<CheckOptions>().reportFile.empty())
        WriteReport(ctx.options.get<CheckOptions>().reportFile, command, files);
    if (refused) return CommandStatus::Stopped;
    return total > 0 ? CommandStatus::Found : CommandStatus::Done;
}

constexpr CliOption kCheckOptions[] = {
    {"report", "FILE.json", "also write the findings, with each file's SHA-256, to FILE.json",
     [](OptionsStore& o, const std::string& v) {
         if (v.empty()) throw UsageError("--report needs a file name");
         o.get<CheckOptions>().reportFile = std::filesystem::absolute(v).string();
     }},
};

}  // namespace

CommandStatus CheckRecordsCommand(CommandContext& ctx) {
    return RunChecks(ctx, "check", false);
}

CommandStatus DiniAuditCommand(CommandContext& ctx) {
    return RunChecks(ctx, "dini-audit", true);
}

std::span<const CliOption> CheckCliOptions() {
    return kCheckOptions;
}

}  // namespace tarvosen
