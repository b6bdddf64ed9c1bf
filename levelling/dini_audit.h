#pragma once
// The consistency audit of DiNi levelling data (M5 "REC E" lines). A file the
// instrument wrote always passes; a file made up by hand or by a program
// rarely does, because the instrument's records depend on one another:
// addresses run on, clock times only move forward, each station's running
// height Z follows from its readings, the line summary is the sum of the
// stations, and every value has the instrument's resolution. Passing is a
// sign of consistency, not a proof of where the file came from.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/workspace.h"
#include "i18n/message_catalogue.h"
#include "levelling/levelling_model.h"

namespace tarvosen::levelling {

inline constexpr const char* kAuditLimitsFile = "dini-audit.json";
inline constexpr const char* kAuditNote =
    "The audit checks that the records are consistent with one another and with the "
    "instrument's way of writing them; it is not a proof of authenticity.";

struct AuditLimits {
    double stationSecondsMin = 2;
    double stationSecondsMax = 1800;
    double heightTolerance = 0.00001;  // m
    std::vector<int> readingDecimals{5, 4};
    std::vector<int> distanceDecimals{3, 2};
    double staffLength = 4.05;  // m
};

// The limits of a profile file; throws FileError naming the file and the key.
AuditLimits LoadAuditLimits(const std::filesystem::path& file);
// The limits of the data folder's profile, or the built-in ones without it.
AuditLimits DefaultAuditLimits();

struct AuditFinding {
    std::size_t line = 0;  // from 1
    std::string check;     // address, time, station-time, height, summary,
                           // resolution, staff-range, repeat, error-record, record
    std::string text;      // what was found and what was expected, in English
    std::string shown;     // the same in the language of the audit's texts
};

struct AuditResult {
    ReadOutcome outcome = ReadOutcome::Read;
    std::size_t levellingLines = 0;  // Start-Line records
    std::size_t stations = 0;
    std::vector<AuditFinding> findings;  // by line
    LineAccount account;                 // what the reader did with every line
};

// Audits the levelling data of `lines` (named `file`) as the levelling
// reader their content chooses hands it over, with the findings' `shown`
// texts in the command's language. Lines the reader does not understand are
// findings too. When no reader recognises the lines (or one refuses them)
// the outcome is Refused, its message shown.
AuditResult AuditDiniLines(CommandContext& ctx, const Workspace& lines, const std::string& file,
                           const AuditLimits& limits);

// The account of the levelling reader over `lines`, writing nothing; nullopt
// when it refused them (the message shown).
std::optional<LineAccount> AccountDiniLines(CommandContext& ctx, const Workspace& lines);

// True when the lines hold an M5 levelling record (a Start-Line, KD1 or KD2).
bool HoldsDiniLevelling(const Workspace& lines);

}  // namespace tarvosen::levelling
