// A workbook of 1,000,000 cells, a third of them formulas reading earlier
// rows like the running sums of the record books: building it, computing
// every formula, saving it as .xlsx, and the three in one run.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "spreadsheet/spreadsheet_session.h"
#include "spreadsheet/workbook.h"

namespace tarvosen::spreadsheet {
namespace {

constexpr int kColumns = 9;
constexpr int kRows = 1'000'000 / kColumns;  // 111,111 rows, 999,999 cells
constexpr std::int64_t kCells = std::int64_t{kRows} * kColumns;

// Per row: a station number, a point name, four readings as the instrument
// texts, a number, and three formulas: the reading difference, a running sum
// over the sheet and a SUM over the row.
void Build(SpreadsheetSession& book) {
    book.NewWorkbook();
    Sheet sheet = book.AddSheet();
    sheet.SetName("水准线1");
    char text[32];
    for (int r = 1; r <= kRows; ++r) {
        std::string n = std::to_string(r);
        sheet.Cells(r, 1).SetValue(r);
        sheet.Cells(r, 2).SetValue("'P" + n);
        std::snprintf(text, sizeof text, "%.5f", 1.5 + (r % 1000) * 1e-4);
        sheet.Cells(r, 3).SetValue(text);
        std::snprintf(text, sizeof text, "%.5f", 1.5002 + (r % 997) * 1e-4);
        sheet.Cells(r, 4).SetValue(text);
        sheet.Cells(r, 5).SetValue(30.0 + (r % 17) * 0.1);
        sheet.Cells(r, 6).SetValue(29.5 + (r % 13) * 0.1);
        sheet.Cells(r, 7).SetFormula("=(C" + n + "-D" + n + ")*1000");
        sheet.Cells(r, 8).SetFormula(r == 1 ? std::string("=G1")
                                            : "=H" + std::to_string(r - 1) + "+G" + n);
        sheet.Cells(r, 9).SetFormula("=SUM(E" + n + ":F" + n + ")/2");
    }
}

std::filesystem::path Target() {
    return std::filesystem::temp_directory_path() /
           ("tarvosen_bench_" + std::to_string(::getpid()) + ".xlsx");
}

void Finish(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * kCells);
    state.SetLabel("1,000,000 cells, 333,333 formulas");
}

void BM_WorkbookBuild(benchmark::State& state) {
    for (auto _ : state) {
        SpreadsheetSession book;
        Build(book);
        state.PauseTiming();
        book.Close();
        state.ResumeTiming();
    }
    Finish(state);
}
BENCHMARK(BM_WorkbookBuild)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_WorkbookEvaluate(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        SpreadsheetSession book;
        Build(book);
        state.ResumeTiming();
        book.Engine().EvaluateAll();
        benchmark::DoNotOptimize(book.ActiveSheet().Cells(kRows, 8).Value2());
        state.PauseTiming();
        book.Close();
        state.ResumeTiming();
    }
    Finish(state);
}
BENCHMARK(BM_WorkbookEvaluate)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_WorkbookSave(benchmark::State& state) {
    std::filesystem::path target = Target();
    for (auto _ : state) {
        state.PauseTiming();
        SpreadsheetSession book;
        Build(book);
        book.Engine().EvaluateAll();
        state.ResumeTiming();
        book.SaveAs(target);
        state.PauseTiming();
        book.Close();
        state.ResumeTiming();
    }
    std::filesystem::remove(target);
    Finish(state);
}
BENCHMARK(BM_WorkbookSave)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_WorkbookBuildEvaluateSave(benchmark::State& state) {
    std::filesystem::path target = Target();
    for (auto _ : state) {
        SpreadsheetSession book;
        Build(book);
        book.SaveAs(target);  // computes every formula first
        book.Close();
    }
    std::filesystem::remove(target);
    Finish(state);
}
BENCHMARK(BM_WorkbookBuildEvaluateSave)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace tarvosen::spreadsheet
