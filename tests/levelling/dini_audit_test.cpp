// The DiNi consistency audit: real instrument files pass, copies tampered in
// the ways a made-up file differs from a real one are caught by the right
// check, at the right line.

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "app/data_paths.h"
#include "levelling/dini_audit.h"
#include "tests/levelling/dini_lines.h"
#include "tests/support/test_context.h"

namespace tarvosen::levelling {
namespace {

const AuditLimits& Limits() {
    static const AuditLimits limits = LoadAuditLimits(test::DataFile(kAuditLimitsFile));
    return limits;
}

std::vector<std::string> CorpusLines(const char* name) {
    return test::LinesOfFile(test::CorpusFile(name)).lines();
}

// "check@line" of every finding, for comparing as a set.
AuditResult Audit(const std::vector<std::string>& lines) {
    test::TestContext t;
    t.setLines(lines);
    return AuditDiniLines(t.ctx, t.workspace, "job.dat", Limits());
}

std::set<std::string> Found(const std::vector<std::string>& lines) {
    std::set<std::string> out;
    for (const auto& f : Audit(lines).findings)
        out.insert(f.check + "@" + std::to_string(f.line));
    return out;
}

// Replaces the first occurrence of `from` in line `n` (from 1).
void Edit(std::vector<std::string>& lines, std::size_t n, const std::string& from,
          const std::string& to) {
    auto& line = lines.at(n - 1);
    const auto at = line.find(from);
    ASSERT_NE(at, std::string::npos) << line;
    line.replace(at, from.size(), to);
}

// Writes addresses 1, 2, 3, ... again, as a careful forger would after
// deleting lines.
void Renumber(std::vector<std::string>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        char adr[24];
        std::snprintf(adr, sizeof adr, "%5zu", i + 1);
        lines[i].replace(11, 5, adr);
    }
}

TEST(DiniAudit, RealInstrumentFilesPass) {
    // The bookcode file has error records within stations, a repeated
    // station and line summaries repeated after Cont-Line; the nivtropy files
    // have coarse resolution without times, repeated measurements,
    // continued lines and intermediate sights.
    for (const char* name : {"m5/bookcode-dini03-0624CH67.dat", "m5/nivtropy-dini-push0809.dat",
                             "m5/nivtropy-dini-push1609.dat", "m5/nivtropy-dini-251219.dat"}) {
        const auto result = Audit(CorpusLines(name));
        EXPECT_TRUE(result.findings.empty())
            << name << ": " << result.findings.front().line << " " << result.findings.front().text;
        EXPECT_GT(result.stations, 0u) << name;
    }
}

TEST(DiniAudit, TamperedCopiesAreCaughtByTheRightCheck) {
    const auto real = CorpusLines("m5/bookcode-dini03-0624CH67.dat");

    // One foresight 1 mm higher: the station's mean changes by 0.5 mm, so
    // its Z (line 8) no longer follows; the next stations still do.
    auto reading = real;
    Edit(reading, 5, "1.34729", "1.34829");
    EXPECT_EQ(Found(reading), std::set<std::string>{"height@8"});

    // Station 3 of line 1 (lines 15-19) deleted: its addresses are missing;
    // renumbered, the next Z breaks and the three repeated summaries count
    // 3 stations and shorter sums.
    auto deleted = real;
    deleted.erase(deleted.begin() + 14, deleted.begin() + 19);
    EXPECT_EQ(Found(deleted).count("address@15"), 1u);
    Renumber(deleted);
    const auto renumbered = Found(deleted);
    EXPECT_EQ(renumbered.count("address@15"), 0u);
    EXPECT_EQ(renumbered.count("height@19"), 1u);
    for (const char* summary : {"summary@21", "summary@25", "summary@29"})
        EXPECT_EQ(renumbered.count(summary), 1u) << summary;

    // The times of station 3 shifted 10 minutes back: one step back at its
    // first reading (line 15), and again forward is allowed.
    auto shifted = real;
    for (std::size_t n = 15; n <= 19; ++n) Edit(shifted, n, "05:51:", "05:41:");
    EXPECT_EQ(Found(shifted), std::set<std::string>{"time@15"});

    // The marks of the station that "Station repeated" replaces taken away;
    // an error record without its number.
    auto repeat = real;
    Edit(repeat, 38, "X3#####", "X3     ");
    Edit(repeat, 39, "X5#####", "X5     ");
    Edit(repeat, 11, "Reading E327", "Reading E   ");
    const auto repeatFound = Found(repeat);
    EXPECT_EQ(repeatFound.count("repeat@40"), 1u);
    EXPECT_EQ(repeatFound.count("error-record@11"), 1u);
}

TEST(DiniAudit, AFileGeneratedFromRandomReadingsIsCaught) {
    // A generator that draws readings at the instrument's resolution and
    // writes each station's height from the first back and fore reading
    // (not their means), all sights at the same clock time.
    std::mt19937 random(20);
    std::uniform_real_distribution<double> staff(0.5, 2.5), sight(5, 30), noise(-3e-4, 3e-4);
    test::DiniLines d;
    d.start("7");
    double z = 50;
    d.height("A", z);
    for (int i = 0; i < 10; ++i) {
        const double b = std::round(staff(random) * 1e5) / 1e5;
        const double f = std::round(staff(random) * 1e5) / 1e5;
        const double b2 = std::round((b + noise(random)) * 1e5) / 1e5;
        const double f2 = std::round((f + noise(random)) * 1e5) / 1e5;
        const double db = sight(random), df = sight(random);
        z += b - f;
        const std::string from = "P" + std::to_string(i), to = "P" + std::to_string(i + 1);
        d.sight("Rb", from, b, db, "", "10:00:001");
        d.sight("Rf", to, f, df, "", "10:00:001");
        d.sight("Rf", to, f2, df, "", "10:00:001");
        d.sight("Rb", from, b2, db, "", "10:00:001");
        d.height(to, z);
    }
    d.end();
    std::set<std::string> checks;
    for (const auto& f : Audit(d.lines).findings) checks.insert(f.check);
    EXPECT_EQ(checks, (std::set<std::string>{"height", "station-time"}));
}

}  // namespace
}  // namespace tarvosen::levelling
