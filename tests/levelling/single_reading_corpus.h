#pragma once
// The real DiNi levelling lines of the corpus measured with one reading on
// each staff (method BF), as one download: three M5 files and a REC500
// memory converted to M5, whose early lines record no height after each
// station. Alongside, each line's station height differences worked out
// from the readings alone.

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/test_context.h"
#include "zeiss/zeiss_commands.h"

namespace tarvosen::test {

inline std::vector<std::string> SingleReadingDownload() {
    std::vector<std::string> lines;
    auto append = [&](const TestContext& t) {
        const auto& more = t.workspace.lines();
        lines.insert(lines.end(), more.begin(), more.end());
    };
    for (const char* file : {"m5/nivtropy-dini-push0809.dat", "m5/nivtropy-dini-push1609.dat",
                             "m5/nivtropy-dini-251219.dat"}) {
        TestContext t;
        t.workspace.load(CorpusFile(file));
        append(t);
    }
    TestContext rec;
    rec.workspace.load(CorpusFile("rec500/nivtropy-dini-levelling-example.rec"));
    if (Rec500ToM5Command(rec.ctx) != CommandStatus::Done)
        throw std::runtime_error("REC500 -> REC E failed");
    append(rec);
    return lines;
}

// Sheet name -> back reading minus fore reading of each station in order,
// read straight from the columns: the line number of the last Start-Line,
// voided ("#####") lines passed over, a foresight closing the backsight
// before it.
inline std::map<std::string, std::vector<double>> BackMinusFore(
    const std::vector<std::string>& lines) {
    std::map<std::string, std::vector<double>> out;
    std::string sheet;
    double back = 0;
    bool haveBack = false;
    for (const std::string& l : lines) {
        if (l.size() < 66) continue;
        if (l.compare(17, 14, "TO  Start-Line") == 0) {
            std::string number = l.substr(44, 4);
            number.erase(0, number.find_first_not_of(' '));
            sheet = "水准线" + number;
            haveBack = false;
            continue;
        }
        if (l.compare(29, 5, "#####") == 0) continue;
        const std::string code = l.substr(49, 2);
        if (code == "Rb") {
            back = std::stod(l.substr(52, 14));
            haveBack = true;
        } else if (code == "Rf" && haveBack) {
            out[sheet].push_back(back - std::stod(l.substr(52, 14)));
            haveBack = false;
        }
    }
    return out;
}

}  // namespace tarvosen::test
