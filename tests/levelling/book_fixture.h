#pragma once
// Runs a record book over DINI lines and keeps its workbook open, so a test
// can read back cells, formulas and their values.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#include "levelling/record_book.h"
#include "spreadsheet/spreadsheet_session.h"
#include "tests/levelling/dini_lines.h"
#include "tests/support/test_context.h"

namespace tarvosen::test {

namespace ss = tarvosen::spreadsheet;

struct BookRun {
    TestContext t;
    ss::SpreadsheetSession session;
    std::unique_ptr<levelling::RecordBook> book;
    levelling::ReadOutcome outcome{};
    LineAccount account;

    // make(session, context) returns the book.
    template <typename Make>
    void run(const DiniLines& data, Make make) {
        run(data.lines, make);
    }
    template <typename Make>
    void run(const std::vector<std::string>& lines, Make make) {
        session.NewWorkbook();
        t.setLines(lines);
        book = make(session, t.ctx);
        outcome = levelling::ReadLevelling(t.ctx, t.workspace, DocumentFileName(t.ctx), *book, account);
    }

    ss::Sheet sheet(const std::string& name) {
        auto s = session.FindSheet(name);
        if (!s) throw std::runtime_error("no sheet " + name);
        return *s;
    }
};

// The cell's value as text ("" when empty), or its formula.
inline std::string Text(const ss::Sheet& s, const std::string& cell) {
    return s.Range(cell).ValueText();
}
inline std::string FormulaOf(const ss::Sheet& s, const std::string& cell) {
    return s.Range(cell).Formula();
}
// A formula's computed value (needs the formula engine).
inline double Number(const ss::Sheet& s, const std::string& cell) {
    return s.Range(cell).Value2();
}
// A value put into the cell, read as a number (NaN when it is no number).
inline double Put(const ss::Sheet& s, const std::string& cell) {
    const std::string text = s.Range(cell).ValueText();
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    return text.empty() || *end != '\0' ? std::nan("") : v;
}

}  // namespace tarvosen::test
