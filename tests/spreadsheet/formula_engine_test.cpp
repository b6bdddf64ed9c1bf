// The formula engine through SpreadsheetSession: parsing, references and
// ranges, arithmetic and errors, dependency invalidation, copy shifting and
// long chains.

#include <gtest/gtest.h>

#include <cmath>

#include "spreadsheet/spreadsheet_session.h"

namespace tarvosen::spreadsheet {
namespace {

class FormulaEngine : public ::testing::Test {
protected:
    void SetUp() override {
        book.NewWorkbook();
        sheet = book.AddSheet();
    }
    double Eval(std::string_view formula) {
        sheet.Range("Z1").SetFormula(formula);
        return sheet.Range("Z1").Value2();
    }
    std::string Text(std::string_view formula) {
        sheet.Range("Z1").SetFormula(formula);
        return sheet.Range("Z1").ValueText();
    }
    SpreadsheetSession book;
    Sheet sheet;
};

TEST_F(FormulaEngine, ParsesOperatorsWithSpreadsheetPrecedence) {
    EXPECT_DOUBLE_EQ(Eval("=1+2*3"), 7);
    EXPECT_DOUBLE_EQ(Eval("=(1+2)*3"), 9);
    EXPECT_DOUBLE_EQ(Eval("=10-4-3"), 3);
    EXPECT_DOUBLE_EQ(Eval("=8/4/2"), 1);
    EXPECT_DOUBLE_EQ(Eval("=-2^2"), 4);  // the sign binds before ^
    EXPECT_DOUBLE_EQ(Eval("=2^3^2"), 64);
    EXPECT_DOUBLE_EQ(Eval("=--3"), 3);
    EXPECT_DOUBLE_EQ(Eval("= 1 + ( 2 ) "), 3);
    EXPECT_DOUBLE_EQ(Eval("=50%"), 0.5);
    EXPECT_DOUBLE_EQ(Eval("=1.5e2+.5"), 150.5);
    EXPECT_EQ(Text("=1<2"), "TRUE");
    EXPECT_EQ(Text("=\"a\"&1+1"), "a2");
    EXPECT_EQ(Text("=\"say \"\"hi\"\"\""), "say \"hi\"");
}

TEST_F(FormulaEngine, RejectsMalformedFormulasNamingTheCell) {
    for (const char* bad : {"=1+", "=(1", "=1)", "=SUM(1", "=\"open", "=1 2", "=A1:", "=#BAD!",
                            "=Nosheet!A1", "=1,2"}) {
        try {
            sheet.Range("B3").SetFormula(bad);
            ADD_FAILURE() << bad << " was accepted";
        } catch (const SpreadsheetError& error) {
            EXPECT_NE(std::string(error.what()).find("B3"), std::string::npos) << error.what();
        }
    }
    std::string deep = "=" + std::string(100, '(') + "1" + std::string(100, ')');
    EXPECT_THROW(sheet.Range("B3").SetFormula(deep), SpreadsheetError);
    // A rejected formula leaves the cell as it was.
    EXPECT_EQ(sheet.Range("B3").ValueText(), "");
}

TEST_F(FormulaEngine, ReferencesAndRangesReadCells) {
    sheet.Range("A1").SetValue(2.0);
    sheet.Range("A2").SetValue("3");
    sheet.Range("B1").SetValue(4);
    sheet.Range("C5").SetValue("text");
    EXPECT_DOUBLE_EQ(Eval("=A1*B1"), 8);
    EXPECT_DOUBLE_EQ(Eval("=$A$1+A$2+$B1"), 9);
    EXPECT_DOUBLE_EQ(Eval("=sum(A1:B2)"), 9);
    EXPECT_DOUBLE_EQ(Eval("=SUM(B2:A1)"), 9);  // corners in any order
    EXPECT_DOUBLE_EQ(Eval("=Sum(A1+A2, 10)"), 15);
    EXPECT_DOUBLE_EQ(Eval("=SUM(A1:C9)"), 9);  // texts in a range are skipped
    EXPECT_DOUBLE_EQ(Eval("=A7"), 0);          // unwritten cells count as 0
    EXPECT_DOUBLE_EQ(Eval("=A7+1"), 1);
    EXPECT_DOUBLE_EQ(Eval("=SUM(0+C7+C8)/1000"), 0);
    EXPECT_EQ(Text("=C5"), "text");
}

TEST_F(FormulaEngine, FunctionsOfTheRecordBooks) {
    sheet.Range("A1").SetValue(-2.5);
    sheet.Range("A2").SetValue(4.0);
    EXPECT_DOUBLE_EQ(Eval("=ABS(A1)"), 2.5);
    EXPECT_DOUBLE_EQ(Eval("=INT(A1)"), -3);
    EXPECT_DOUBLE_EQ(Eval("=ROUND(2.675,2)"), 2.68);
    EXPECT_DOUBLE_EQ(Eval("=ROUND(-2.5,0)"), -3);
    EXPECT_DOUBLE_EQ(Eval("=ROUND(1234.5,-2)"), 1200);
    EXPECT_DOUBLE_EQ(Eval("=ROUND(0.3*3,1)"), 0.9);
    EXPECT_DOUBLE_EQ(Eval("=MOD(-7,3)"), 2);
    EXPECT_DOUBLE_EQ(Eval("=MOD(7,-3)"), -2);
    EXPECT_DOUBLE_EQ(Eval("=IF(A1<0,1,2)"), 1);
    EXPECT_EQ(Text("=IF(A1>0,1)"), "FALSE");
    EXPECT_DOUBLE_EQ(Eval("=MIN(A1:A2,-7)"), -7);
    EXPECT_DOUBLE_EQ(Eval("=MAX(A1:A2)"), 4);
    EXPECT_DOUBLE_EQ(Eval("=MAX(A9:A10)"), 0);
    EXPECT_DOUBLE_EQ(Eval("=AVERAGE(A1:A3)"), 0.75);  // A3 is empty and does not count
    EXPECT_DOUBLE_EQ(Eval("=SQRT(16)+TRUNC(-1.7)+COUNT(A1:A3)"), 5);
}

TEST_F(FormulaEngine, ErrorsAreValuesThatPropagate) {
    sheet.Range("A1").SetValue("abc");
    EXPECT_EQ(Text("=1/0"), "#DIV/0!");
    EXPECT_EQ(Text("=A1+1"), "#VALUE!");
    EXPECT_EQ(Text("=NOSUCH(1)"), "#NAME?");
    EXPECT_EQ(Text("=foo+1"), "#NAME?");
    EXPECT_EQ(Text("=#REF!+1"), "#REF!");
    EXPECT_EQ(Text("=SQRT(-1)"), "#NUM!");
    EXPECT_EQ(Text("=AVERAGE(B1:B3)"), "#DIV/0!");
    EXPECT_EQ(Text("=MOD(1,0)"), "#DIV/0!");
    EXPECT_EQ(Text("=10^400"), "#NUM!");
    EXPECT_EQ(Text("=IF(1=1,5,1/0)"), "5");  // the branch not taken may be an error
    sheet.Range("B1").SetFormula("=1/0");
    EXPECT_EQ(Text("=SUM(B1:B2)"), "#DIV/0!");
    EXPECT_THROW(sheet.Range("B1").Value2(), SpreadsheetError);
    EXPECT_THROW(sheet.Range("A1").Value2(), SpreadsheetError);
}

TEST_F(FormulaEngine, TextLongerThanACellHoldsIsAnError) {
    // 32,767 characters fit, counted as characters: 点 is three bytes.
    sheet.Range("A1").SetValue(std::string(32766, 'x'));
    EXPECT_EQ(Text("=A1&\"\xe7\x82\xb9\"").size(), 32769u);
    EXPECT_EQ(Text("=A1&\"ab\""), "#VALUE!");
    // Each cell doubling the one before would reach gigabytes.
    sheet.Range("B1").SetValue("xy");
    for (int row = 2; row <= 40; ++row)
        sheet.Cells(row, 2).SetFormula("=B" + std::to_string(row - 1) + "&B" +
                                       std::to_string(row - 1));
    EXPECT_EQ(sheet.Range("B14").ValueText().size(), 16384u);
    EXPECT_EQ(sheet.Range("B15").ValueText(), "#VALUE!");
    EXPECT_EQ(sheet.Range("B40").ValueText(), "#VALUE!");
}

TEST_F(FormulaEngine, CircularReferencesAreErrorsNotHangs) {
    sheet.Range("A1").SetFormula("=B1+1");
    sheet.Range("B1").SetFormula("=C1+1");
    sheet.Range("C1").SetFormula("=A1+1");
    sheet.Range("D1").SetFormula("=C1*2");
    sheet.Range("E1").SetFormula("=E1");
    sheet.Range("F1").SetFormula("=SUM(F1:F3)");
    EXPECT_EQ(sheet.Range("D1").ValueText(), "#CIRCULAR!");
    for (const char* cell : {"A1", "B1", "C1", "E1", "F1"})
        EXPECT_EQ(sheet.Range(cell).ValueText(), "#CIRCULAR!") << cell;
    // Breaking the loop computes everything again.
    sheet.Range("C1").SetValue(5.0);
    EXPECT_DOUBLE_EQ(sheet.Range("A1").Value2(), 7);
    EXPECT_DOUBLE_EQ(sheet.Range("D1").Value2(), 10);
}

TEST_F(FormulaEngine, AWriteRecomputesItsDependentsOnly) {
    sheet.Range("A1").SetValue(1.0);
    sheet.Range("A2").SetFormula("=A1*10");
    sheet.Range("A3").SetFormula("=A2+SUM(A1:A1)");
    sheet.Range("B1").SetFormula("=7");
    EXPECT_DOUBLE_EQ(sheet.Range("A3").Value2(), 11);
    sheet.Range("A1").SetValue(2.0);
    EXPECT_DOUBLE_EQ(sheet.Range("A3").Value2(), 22);
    // Replacing a formula by a value, and a value cell the formula reads by a formula.
    sheet.Range("A2").SetValue(100.0);
    EXPECT_DOUBLE_EQ(sheet.Range("A3").Value2(), 102);
    sheet.Range("A1").SetFormula("=B1");
    EXPECT_DOUBLE_EQ(sheet.Range("A3").Value2(), 107);
    sheet.Range("B1").ClearContents();
    EXPECT_DOUBLE_EQ(sheet.Range("A3").Value2(), 100);
    // A formula put before the cells it reads sees them once written.
    sheet.Range("D1").SetFormula("=SUM(E1:E3)");
    EXPECT_DOUBLE_EQ(sheet.Range("D1").Value2(), 0);
    sheet.Range("E2").SetValue(5);
    EXPECT_DOUBLE_EQ(sheet.Range("D1").Value2(), 5);
    // The old references of a replaced formula no longer invalidate it.
    sheet.Range("D1").SetFormula("=1");
    sheet.Range("E2").SetValue(6);
    EXPECT_DOUBLE_EQ(sheet.Range("D1").Value2(), 1);
}

TEST_F(FormulaEngine, LargeAreasAreReadWithoutTouchingEveryCell) {
    sheet.Range("A1").SetFormula("=SUM(B1:XFD1048576)");
    sheet.Range("A2").SetFormula("=A1+COUNT(C1:C1048576)");
    EXPECT_DOUBLE_EQ(sheet.Range("A2").Value2(), 0);
    sheet.Range("C500000").SetValue(4);
    EXPECT_DOUBLE_EQ(sheet.Range("A2").Value2(), 5);
    sheet.Range("B3").SetFormula("=C500000*2");
    EXPECT_DOUBLE_EQ(sheet.Range("A1").Value2(), 12);
    sheet.Range("C500000").SetValue(1);
    EXPECT_DOUBLE_EQ(sheet.Range("A2").Value2(), 4);
    // Replaced, the formula no longer listens to its old area.
    sheet.Range("A1").SetValue(0.0);
    sheet.Range("C500000").SetValue(2);
    EXPECT_DOUBLE_EQ(sheet.Range("A1").Value2(), 0);
    EXPECT_DOUBLE_EQ(sheet.Range("A2").Value2(), 1);
    sheet.Range("B1:B9").SetFormula("=SUM(B$1:B$1048576)");
    EXPECT_EQ(sheet.Range("B5").ValueText(), "#CIRCULAR!");
    // Operations that write every cell of a range refuse absurd ones.
    EXPECT_THROW(sheet.Range("A1:XFD1048576").SetValue(1), SpreadsheetError);
    EXPECT_THROW(sheet.Range("A1:XFD1048576").SetFontSize(10), SpreadsheetError);
    sheet.Range("A1:XFD1048576").ClearContents();
    EXPECT_EQ(sheet.Range("C500000").ValueText(), "");
    EXPECT_FALSE(sheet.Range("B5").HasFormula());
    sheet.Range("D1:XFD1048576").Merge();
}

TEST_F(FormulaEngine, CopyShiftsRelativeReferencesAndKeepsAbsoluteOnes) {
    sheet.Range("A1").SetValue(1.0);
    sheet.Range("A2").SetValue(2.0);
    sheet.Range("B1").SetFormula("=A1+$A$1+A$1+$A1");
    sheet.Range("B1").CopyTo(sheet.Range("B2"));
    EXPECT_EQ(sheet.Range("B2").Formula(), "=A2+$A$1+A$1+$A2");
    EXPECT_DOUBLE_EQ(sheet.Range("B2").Value2(), 6);
    sheet.Range("B1").CopyTo(sheet.Range("D1"));
    EXPECT_EQ(sheet.Range("D1").Formula(), "=C1+$A$1+C$1+$A1");
    sheet.Range("C3").SetFormula("=SUM(A1:B2)");
    sheet.Range("C3").CopyTo(sheet.Range("C1"));
    EXPECT_EQ(sheet.Range("C1").Formula(), "=SUM(#REF!)");
    EXPECT_EQ(sheet.Range("C1").ValueText(), "#REF!");
}

TEST_F(FormulaEngine, LongChainsEvaluateWithoutRecursion) {
    constexpr int kRows = 100000;
    sheet.Cells(1, 1).SetValue(1.0);
    for (int row = 2; row <= kRows; ++row)
        sheet.Cells(row, 1).SetFormula("=A" + std::to_string(row - 1) + "+1");
    EXPECT_DOUBLE_EQ(sheet.Cells(kRows, 1).Value2(), kRows);
    sheet.Cells(1, 1).SetValue(2.0);
    EXPECT_DOUBLE_EQ(sheet.Cells(kRows, 1).Value2(), kRows + 1);
    // A loop through the whole chain is found, not followed forever.
    sheet.Cells(1, 1).SetFormula("=A" + std::to_string(kRows));
    EXPECT_EQ(sheet.Cells(kRows, 1).ValueText(), "#CIRCULAR!");
}

TEST_F(FormulaEngine, FormulasReferToOtherSheets) {
    Sheet other = book.AddSheet();
    other.SetName("水准线 2");
    other.Range("B2").SetValue(5);
    sheet.Range("A1").SetFormula("='水准线 2'!B2*2");
    EXPECT_DOUBLE_EQ(sheet.Range("A1").Value2(), 10);
    other.Range("B2").SetValue(6);
    EXPECT_DOUBLE_EQ(sheet.Range("A1").Value2(), 12);
    other.SetName("Other");
    EXPECT_EQ(sheet.Range("A1").Formula(), "=Other!B2*2");
}

}  // namespace
}  // namespace tarvosen::spreadsheet
