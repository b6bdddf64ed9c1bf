// Reference runs: each entry of tests/reference/runs/ runs one command of the
// command-line program on a real file (or a shipped sample) and compares every
// result with the expected one kept in tests/reference/expected/<entry>/: the
// exit status, standard output and error, and each file written (a workbook as
// the text of its cells). Each entry says how its expected output was verified
// other than by running the program.
//
// With TARVOSEN_REFERENCE_UPDATE=1 the runs write their results as the new
// expected ones instead (scripts/reference-update, which then shows the diff).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_help.h"
#include "spreadsheet/values.h"
#include "spreadsheet/workbook.h"
#include "spreadsheet/xlsx.h"
#include "tests/support/cli_run.h"
#include "tests/support/test_context.h"

namespace tarvosen {
namespace {

namespace fs = std::filesystem;

const fs::path kReferenceDir = TARVOSEN_REFERENCE_DIR;
const fs::path kCorpusDir = TARVOSEN_TEST_CORPUS_DIR;
const fs::path kSamplesDir = fs::path(TARVOSEN_SOURCE_DATA_DIR) / "samples";

struct Entry {
    std::string name;
    std::string verified;
    // One command line per run: line, in order; a later one may read what an
    // earlier one wrote in $OUT. $CORPUS, $SAMPLES and $OUT as written.
    std::vector<std::vector<std::string>> runs;
    std::vector<std::string> badLines;
};

// Named in failure messages by its entry name.
void PrintTo(const Entry& e, std::ostream* os) { *os << e.name; }

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteAll(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// An entry file: "verified: ..." and "run: ARGS", blank lines and # comments.
Entry ReadEntry(const fs::path& file) {
    Entry e;
    e.name = file.stem().string();
    std::istringstream in(ReadAll(file));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (line.starts_with("verified:")) {
            e.verified = line.substr(9);
            e.verified.erase(0, e.verified.find_first_not_of(' '));
        } else if (line.starts_with("run:")) {
            std::istringstream words(line.substr(4));
            e.runs.emplace_back();
            for (std::string w; words >> w;) e.runs.back().push_back(w);
        } else {
            e.badLines.push_back(line);
        }
    }
    return e;
}

std::vector<Entry> Entries() {
    std::vector<Entry> entries;
    const fs::path runs = kReferenceDir / "runs";
    if (!fs::exists(runs)) return entries;
    for (const auto& f : fs::directory_iterator(runs))
        if (f.path().extension() == ".run") entries.push_back(ReadEntry(f.path()));
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return entries;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; !from.empty() && (at = text.find(from, at)) != std::string::npos;
         at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

// The workbook as text: each sheet's name, then one line per cell that holds
// something, with its formula and the value that formula gives.
std::string CellsOf(const fs::path& xlsx) {
    const auto book = spreadsheet::ReadXlsx(xlsx);
    book->EvaluateAll();
    std::ostringstream out;
    for (const auto& sheet : book->sheets) {
        out << "[" << sheet->name << "]\n";
        for (std::size_t r = 0; r < sheet->rows.size(); ++r) {
            for (std::size_t c = 0; c < sheet->rows[r].size(); ++c) {
                const auto& cell = sheet->rows[r][c];
                const bool formula = cell.formula != nullptr;
                const int row = static_cast<int>(r) + 1, column = static_cast<int>(c) + 1;
                const std::string value = spreadsheet::ValueToText(cell.value);
                if (!formula && value.empty()) continue;
                out << spreadsheet::ColumnName(column) << row;
                if (formula) out << "\t" << book->FormulaText(*cell.formula);
                out << "\t" << value << "\n";
            }
        }
    }
    return out.str();
}

// What a run gave, as the files kept in its expected folder.
std::map<std::string, std::string> RunEntry(const Entry& e, const fs::path& outDir) {
    auto shown = [&](std::string text) {
        text = Replace(text, outDir.string(), "$OUT");
        text = Replace(text, kCorpusDir.string(), "$CORPUS");
        return Replace(text, kSamplesDir.string(), "$SAMPLES");
    };
    std::map<std::string, std::string> results;
    for (std::size_t i = 0; i < e.runs.size(); ++i) {
        std::vector<std::string> args;
        for (const auto& a : e.runs[i]) {
            std::string arg = Replace(a, "$CORPUS", kCorpusDir.string());
            arg = Replace(arg, "$SAMPLES", kSamplesDir.string());
            args.push_back(Replace(arg, "$OUT", outDir.string()));
        }
        const auto run = test::RunTool(args);
        const std::string suffix = i == 0 ? "" : "." + std::to_string(i + 1);
        results["status" + suffix] = std::to_string(run.status) + "\n";
        results["stderr" + suffix] = shown(run.err);
        if (!run.out.empty()) results["stdout" + suffix] = shown(run.out);
    }
    for (const auto& f : fs::directory_iterator(outDir)) {
        const std::string name = f.path().filename().string();
        if (f.path().extension() == ".xlsx")
            results["file." + name + ".cells"] = CellsOf(f.path());
        else
            results["file." + name] = shown(ReadAll(f.path()));
    }
    return results;
}

// Where two outputs part: the first line that differs, as both have it.
std::string FirstDifference(const std::string& actual, const std::string& expected) {
    std::istringstream a(actual), e(expected);
    std::string lineA, lineE;
    for (int n = 1;; ++n) {
        const bool moreA = static_cast<bool>(std::getline(a, lineA));
        const bool moreE = static_cast<bool>(std::getline(e, lineE));
        if (!moreA && !moreE) return "they differ only in their last line end";
        if (!moreA || !moreE || lineA != lineE)
            return "line " + std::to_string(n) + ": expected \"" + (moreE ? lineE : "(end)") +
                   "\", the run gave \"" + (moreA ? lineA : "(end)") + "\"";
    }
}

bool Updating() {
    const char* update = std::getenv("TARVOSEN_REFERENCE_UPDATE");
    return update && std::string(update) == "1";
}

class ReferenceRun : public testing::TestWithParam<Entry> {};

TEST_P(ReferenceRun, GivesTheVerifiedOutput) {
    const Entry& e = GetParam();
    test::TestContext t;
    const fs::path outDir = t.dir() / "out";
    fs::create_directories(outDir);
    const auto results = RunEntry(e, outDir);
    const fs::path expectedDir = kReferenceDir / "expected" / e.name;
    if (Updating()) {
        fs::remove_all(expectedDir);
        for (const auto& [name, bytes] : results) WriteAll(expectedDir / name, bytes);
        return;
    }
    ASSERT_TRUE(fs::is_directory(expectedDir))
        << e.name << " has no expected output: run scripts/reference-update and review it";
    std::set<std::string> expectedNames;
    for (const auto& f : fs::directory_iterator(expectedDir))
        expectedNames.insert(f.path().filename().string());
    for (const auto& [name, bytes] : results) {
        EXPECT_TRUE(expectedNames.count(name)) << e.name << " wrote " << name << ", not expected";
        if (!expectedNames.count(name)) continue;
        const std::string expected = ReadAll(expectedDir / name);
        EXPECT_TRUE(bytes == expected)
            << e.name << ": " << name << " differs, " << FirstDifference(bytes, expected)
            << " (scripts/reference-update shows the whole difference)";
    }
    for (const auto& name : expectedNames)
        EXPECT_TRUE(results.count(name)) << e.name << " did not write " << name;
}

INSTANTIATE_TEST_SUITE_P(Corpus, ReferenceRun, testing::ValuesIn(Entries()),
                         [](const testing::TestParamInfo<Entry>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

// The commands that cannot run on a file, each with its reason.
std::map<std::string, std::string> CommandsWithoutRealFiles() {
    std::map<std::string, std::string> reasons;
    std::istringstream in(ReadAll(kReferenceDir / "commands-without-real-files.txt"));
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        const auto colon = line.find(':');
        reasons[line.substr(0, colon)] = colon == std::string::npos ? "" : line.substr(colon + 1);
    }
    return reasons;
}

// Every entry says how it was verified; every command of the table runs on a
// real file in some entry (or is listed, with its reason, as one that cannot);
// every real file of the corpus is read by some entry.
TEST(ReferenceRuns, CoverEveryCommandAndEveryRealFile) {
    const auto entries = Entries();
    ASSERT_FALSE(entries.empty());
    std::set<std::string> commandsOnRealFiles, filesRead;
    for (const auto& e : entries) {
        EXPECT_GE(e.verified.size(), 10u) << e.name << ": say how the output was verified";
        EXPECT_FALSE(e.verified.starts_with("TODO")) << e.name << ": verify the output first";
        for (const auto& bad : e.badLines)
            ADD_FAILURE() << e.name << ": a line that is neither verified: nor run: " << bad;
        ASSERT_FALSE(e.runs.empty()) << e.name << " has no run: line";
        // A command reading what an earlier run made of a real file runs on it too.
        bool onRealFile = false;
        for (const auto& args : e.runs) {
            ASSERT_FALSE(args.empty()) << e.name << " has an empty run: line";
            for (const auto& a : args) {
                const auto at = a.find("$CORPUS/");
                if (at == std::string::npos) continue;
                onRealFile = true;
                filesRead.insert(a.substr(at + 8));
            }
            if (onRealFile) commandsOnRealFiles.insert(args.front());
        }
    }
    const auto exempt = CommandsWithoutRealFiles();
    for (const CommandRow* row : CliCommands()) {
        const std::string command(row->cliName);
        if (exempt.count(command)) {
            EXPECT_GE(exempt.at(command).size(), 10u) << command << ": give the reason";
            continue;
        }
        EXPECT_TRUE(commandsOnRealFiles.count(command))
            << "the command " << command << " has no reference run on a real file";
    }
    for (const auto& f : fs::recursive_directory_iterator(kCorpusDir)) {
        if (!f.is_regular_file() || f.path().extension() == ".md") continue;
        const std::string relative = fs::relative(f.path(), kCorpusDir).generic_string();
        EXPECT_TRUE(filesRead.count(relative)) << "no reference run reads " << relative;
    }
}

}  // namespace
}  // namespace tarvosen
