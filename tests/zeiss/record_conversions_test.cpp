#include <gtest/gtest.h>

#include "app/errors.h"
#include "app/workspace.h"
#include "tests/support/test_context.h"
#include "zeiss/record_conversions.h"
#include "zeiss/zeiss_commands.h"

namespace tarvosen::zeiss {
namespace {

using test::CorpusFile;
using test::TestContext;

const std::string kStation =
    "For R5|Adr 0004|KR S     0|X       23.926 m   |Y       46.475 m   |Z        0.000 m   |";
const std::string kOrientation =
    "For R5|Adr 0003|TR        |m     0.999198     |Om     21.9645 grd |                   |";

TEST(R5ToM5, PointAndTextRecordsKeepAddressAndFields) {
    TestContext t;
    t.setLines({kOrientation, kStation, "For R5|Adr 0005|XX junk", "END", "For R5|Adr 0009|TR"});
    t.state.currentDocumentName = "job.r5";
    EXPECT_EQ(R5ToM5Command(t.ctx), CommandStatus::Done);
    ASSERT_EQ(t.workspace.lineCount(), 2u);  // unknown kind: no line; END: stop, no END written
    EXPECT_EQ(t.workspace.line(0),
              "For M5|Adr 00003|TI                             |m        0.999198     |"
              "Om        21.9645 grd |                      | ");
    // The R5 values land, blanks and all, in the last 11 columns of the M5 values.
    EXPECT_EQ(t.workspace.line(1),
              "For M5|Adr 00004|PI1              0          S  |X          23.926 m   |"
              "Y          46.475 m   |Z           0.000 m   | ");
    EXPECT_EQ(t.state.currentDocumentName, "job.r5");
}

TEST(R5ToM5, NotR5StopsWithTheMessageAndKeepsTheWorkspace) {
    TestContext t;
    // An empty line is not skipped: it ends the data with the message.
    const std::vector<std::string> lines{kStation, "", kStation};
    t.setLines(lines);
    EXPECT_EQ(R5ToM5Command(t.ctx), CommandStatus::Stopped);
    ASSERT_EQ(t.user.messages.size(), 1u);
    EXPECT_EQ(t.user.messages[0].text.rfind(std::string("NONAME.TXT: ") + kNotR5Message, 0), 0u);
    EXPECT_NE(t.user.messages[0].text.find("Line 2 is empty"), std::string::npos)
        << t.user.messages[0].text;
    EXPECT_EQ(t.workspace.lines(), lines);

    t.setLines({"For R4|TR OR.COOR"});
    EXPECT_EQ(R5ToM5Command(t.ctx), CommandStatus::Stopped);
    EXPECT_NE(t.user.messages[1].text.find("Line 1 does not begin with \"For R5\""),
              std::string::npos);

    // A bad address is a conversion error naming the line.
    t.setLines({kStation, "For R5|Adr 00A5" + kStation.substr(15)});
    try {
        R5ToM5Command(t.ctx);
        ADD_FAILURE();
    } catch (const ConversionError& e) {
        EXPECT_NE(std::string(e.what()).find("Line 2, columns 12-15"), std::string::npos);
    }
    EXPECT_EQ(t.workspace.lineCount(), 2u);
}

// More than blanks past the 149 characters a reader reads is no record it
// knows: the line is left out and named; blanks past them are dropped.
TEST(R5ToM5, OverlongLinesAreLeftOutAndNamed) {
    TestContext t;
    t.setLines({kStation + std::string(100, 'x'), kStation, kStation + std::string(70, ' ')});
    EXPECT_EQ(R5ToM5Command(t.ctx), CommandStatus::Done);
    EXPECT_EQ(t.workspace.lineCount(), 2u);
    EXPECT_EQ(t.user.texts(MessageKind::Warning),
              std::vector<std::string>{"NONAME.TXT: line 1 is longer than the 149 characters a "
                                       "record can hold; it was left out."});
}

// A digital level's records become M5 measurement (KD1) and text (TO) lines.
TEST(Rec500ToM5, LevellingJobGivesDataAndTextLines) {
    TestContext t;
    t.setLines({
        "    115 Start-Line         BF  1174                                           ",
        "    116      317    1          1174                                Z    0.0000",
        "    117      317    1 14:29:3711174 Rb      0.2326 HD        3.686            ",
        "    126      317    1   4      1174 Db      46.280                            ",
        "END",
    });
    EXPECT_EQ(Rec500ToM5Command(t.ctx), CommandStatus::Done);
    const std::vector<std::string> expected{
        "For M5|Adr 00115|TO  Start-Line         BF  1174|                      |"
        "                      |                      | ",
        // A height alone is still a data line, with its unit.
        "For M5|Adr 00116|KD1      317    1          1174|                  m   |"
        "                  m   |Z          0.0000 m   | ",
        "For M5|Adr 00117|KD1      317    1 14:29:3711174|Rb         0.2326 m   |"
        "HD          3.686 m   |                      | ",
        // One field alone is a text line with blank units.
        "For M5|Adr 00126|TO       317    1   4      1174|Db         46.280     |"
        "                      |                      | ",
    };
    EXPECT_EQ(t.workspace.lines(), expected);
    EXPECT_TRUE(t.user.messages.empty());
}

// A file of both kinds, and angles whose unit a REC500 file does not give,
// are refused naming the file and the lines; the workspace keeps the file.
TEST(Rec500ToM5, MixedJobsAndAnglesAreRefused) {
    TestContext t;
    const std::string station =
        "   0004                 506S        X       63.174 Y      -107.371 Z     0.000 ";
    for (const std::string second :
         {"    117      317    1 14:29:3711174 Rb      0.2326 HD        3.686            ",
          "   0005                 508 0863    SD      12.345 Hz     123.4567 V1  98.7654 "}) {
        t.setLines({station, second});
        EXPECT_EQ(Rec500ToM5Command(t.ctx), CommandStatus::Stopped);
        EXPECT_EQ(t.workspace.lines(), (std::vector<std::string>{station, second}));
    }
    EXPECT_EQ(t.user.texts(MessageKind::Error),
              (std::vector<std::string>{
                  "NONAME.TXT: The file holds levelling records (line 2) and coordinate or polar "
                  "records (line 1); a REC500 file holds one kind of job, so it is not converted.",
                  "NONAME.TXT: Line 2 holds the angle Hz \"123.4567\", but a REC500 file does not "
                  "say whether its angles are in gon or in degrees; its polar observations are not "
                  "converted, as their points would be guessed. Let the instrument write the job "
                  "as R5 or M5."}));
}

TEST(Rec500ToM5, LinesThatAreNotRecordsAreRefused) {
    TestContext t;
    // A heading: the address columns are not an integer.
    t.setLines({"   0001 OR.COOR", "Job 17"});
    EXPECT_THROW(Rec500ToM5Command(t.ctx), ConversionError);
    EXPECT_EQ(t.workspace.lineCount(), 2u);
    // Such a line first is no REC500 file at all: refused, naming the file.
    t.setLines({"Job 17", "   0001 OR.COOR"});
    EXPECT_EQ(Rec500ToM5Command(t.ctx), CommandStatus::Stopped);
    EXPECT_NE(t.user.texts(MessageKind::Error).at(0).find("NONAME.TXT: Not a ZEISS REC500"),
              std::string::npos);
    EXPECT_EQ(t.workspace.lineCount(), 2u);
    // A value that runs past its columns would lose digits.
    t.setLines(
        {"     66     5090    0            101                                   Z   2174.002"});
    try {
        Rec500ToM5Command(t.ctx);
        ADD_FAILURE();
    } catch (const ConversionError& e) {
        EXPECT_NE(std::string(e.what()).find("Line 1: the value in columns 71-78"),
                  std::string::npos);
    }
}

TEST(M5ToR5, ValuesThatDoNotFitAnR5FieldAreRefused) {
    TestContext t;
    t.setLines({FormatM5PointLine(1, "0", "A", {{{"Y ", "5512345.6789", "m   "}, {}, {}}})});
    try {
        M5ToR5Command(t.ctx);
        ADD_FAILURE();
    } catch (const ConversionError& e) {
        EXPECT_NE(std::string(e.what()).find("5512345.6789"), std::string::npos);
    }
}

// Every instrument file of the corpus converts or is refused with a message;
// none crashes or stops without saying why.
TEST(RecordConversions, CorpusFilesConvertOrAreRefusedWithAMessage) {
    struct Case {
        const char* file;
        CommandStatus (*command)(CommandContext&);
        int expectedLines;       // -1: refused with a message, -2: refused with a conversion error
        const char* kinds = "";  // of the M5 lines written from REC500, columns 18-20
    };
    const Case cases[] = {
        {"r5/tops-elta-r55.r5", R5ToM5Command, 149},
        {"r5/tops-elta-r55-R4.r4", R5ToM5Command, -1},
        {"m5/tops-elta-r55-R_E.m5", R5ToM5Command, -1},
        // A total station's coordinate jobs and a digital level's levelling.
        {"rec500/tops-elta-r55-rec500.rec", Rec500ToM5Command, 128, "TI PI1"},
        {"rec500/tops-elta-r55-short.rec", Rec500ToM5Command, 7, "TI PI1"},
        {"rec500/nivtropy-dini-levelling-example.rec", Rec500ToM5Command, 329, "TO KD1"},
        {"excerpts/stardini-testdini-rec500-levelling-excerpt.rec", Rec500ToM5Command, -2},
        {"m5/bookcode-dini03-0624CH67.dat", Rec500ToM5Command, -1},
        {"r5/tops-elta-r55.r5", Rec500ToM5Command, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        TestContext t;
        t.workspace.load(CorpusFile(c.file));
        const auto original = t.workspace.lines();
        if (c.expectedLines == -2) {
            EXPECT_THROW(c.command(t.ctx), ConversionError);
            EXPECT_EQ(t.workspace.lines(), original);
            continue;
        }
        const CommandStatus status = c.command(t.ctx);
        if (c.expectedLines == -1) {
            EXPECT_EQ(status, CommandStatus::Stopped);
            EXPECT_EQ(t.user.messages.size(), 1u);
            EXPECT_EQ(t.workspace.lines(), original);
            continue;
        }
        EXPECT_EQ(status, CommandStatus::Done);
        EXPECT_EQ(t.workspace.lineCount(), static_cast<std::size_t>(c.expectedLines));
        for (const auto& l : t.workspace.lines()) {
            EXPECT_EQ(l.size(), kM5LineLength) << l;
            if (*c.kinds) {
                EXPECT_NE(std::string(c.kinds).find(TrimEnd(l.substr(17, 3), Blanks::Spaces)),
                          std::string::npos)
                    << l;
            }
        }
        EXPECT_TRUE(t.user.texts(MessageKind::Warning).empty());
        EXPECT_TRUE(t.user.texts(MessageKind::Error).empty());
    }
}

}  // namespace
}  // namespace tarvosen::zeiss

namespace tarvosen::zeiss {
namespace {

std::string M5Point(const std::string& value, const std::string& unit) {
    RecordFields fields{{{"SD", "12.345", "m   "}, {"Hz", value, unit}, {"", "", ""}}};
    return FormatM5PointLine(2, "P1", "CODE", fields);
}

TEST(M5ToR5, GonBecomesDegreesMinutesSeconds) {
    struct Case {
        const char* gon;
        const char* r5Value;
    };
    for (const auto& c :
         {Case{"100.0000", "    90.0000"}, Case{"399.99999", "   360.0000"},
          Case{"-100", "   270.0000"}, Case{"0", "     0.0000"}, Case{"50.5555", "    45.3000"}}) {
        SCOPED_TRACE(c.gon);
        const auto r5 = ConvertM5LineToR5(M5Line(M5Point(c.gon, "gon "), 1));
        ASSERT_TRUE(r5);
        const R5Line line(*r5, 1);
        EXPECT_EQ(line.fieldValue(1), c.r5Value);
        EXPECT_EQ(line.fieldUnit(1), "DMS ");
        EXPECT_EQ(line.field(0).value, "     12.345");  // other fields are copied
        EXPECT_EQ(line.fieldUnit(0), "m   ");
    }
    // Only the exact unit "gon " is converted.
    const auto dms = ConvertM5LineToR5(M5Line(M5Point("100.0000", "grd "), 1));
    EXPECT_EQ(R5Line(*dms, 1).fieldValue(1), "   100.0000");
    EXPECT_THROW(ConvertM5LineToR5(M5Line(M5Point("1O0", "gon "), 1)), ConversionError);
}

TEST(M5ToR5, KindsAndTheClosingEnd) {
    TestContext t;
    const std::string kd = FormatM5DataLine(3, "X1", {});
    const std::string to = FormatM5InformationLine(4, "Start-Line", {});
    const std::string ti = FormatM5TextLine(1, "POLAR", {});
    t.setLines({ti, kd, to, M5Point("1.0000", "DMS ")});
    EXPECT_EQ(M5ToR5Command(t.ctx), CommandStatus::Done);
    // KD1 and TO give nothing; the end of the file adds "END" without
    // touching the document name.
    ASSERT_EQ(t.workspace.lineCount(), 3u);
    EXPECT_EQ(t.workspace.line(0).substr(0, 27), "For R5|Adr 0001|TR POLAR  |");
    // The number right-aligned in 22-35, the last three characters of the code.
    EXPECT_EQ(t.workspace.line(1).substr(0, 27), "For R5|Adr 0002|KR ODE  P1|");
    EXPECT_EQ(t.workspace.line(2), "END");
    EXPECT_EQ(t.state.currentDocumentName, "NONAME.TXT");

    // Stopped by an "END" line: no "END" is added.
    t.setLines({ti, "END", ti});
    EXPECT_EQ(M5ToR5Command(t.ctx), CommandStatus::Done);
    EXPECT_EQ(t.workspace.lineCount(), 1u);
}

// An M5 point record whose information block (columns 22-48) holds `words`,
// each given with the column it starts in.
std::string PointRecord(std::initializer_list<std::pair<std::size_t, std::string>> words) {
    std::string line = "For M5|Adr 00001|PI1 " + std::string(27, ' ') + "|";
    for (const auto& [column, word] : words) line.replace(column - 1, word.size(), word);
    for (int i = 0; i < 3; ++i) line += std::string(22, ' ') + "|";
    return line + " ";
}

// The layouts of the point identification besides the Elta R55's (whose file
// is converted below), as R5 code + number.
TEST(M5ToR5, PointNumberAndCodeOfEachLayout) {
    struct Case {
        std::string m5;
        const char* r5Name;  // R5 columns 20-26
    };
    const Case cases[] = {
        // Trimble M3: the code first, the number right-aligned to column 48.
        {PointRecord({{32, "A"}, {48, "0"}}), "A     0"},
        {PointRecord({{47, "26"}}), "     26"},
        {PointRecord({{32, "7"}, {45, "6139"}}), "7  6139"},
        // A number longer than R5's four columns keeps its last four.
        {PointRecord({{32, "0"}, {41, "108-3327"}}), "0  3327"},
        // This program's writer: number right-aligned in 22-35, code in 36-48.
        {FormatM5PointLine(1, "P17", "A B", {}), "A B P17"},
        {PointRecord({}), "       "},
    };
    TestContext t;
    std::vector<std::string> lines;
    for (const auto& c : cases) lines.push_back(c.m5);
    t.setLines(lines);
    ASSERT_EQ(M5ToR5Command(t.ctx), CommandStatus::Done);
    ASSERT_EQ(t.workspace.lineCount(), std::size(cases) + 1);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].m5);
        EXPECT_EQ(R5Line(t.workspace.line(i), i + 1).columns(20, 26), cases[i].r5Name);
        EXPECT_EQ(t.workspace.line(i).size(), kR5LineLength);
    }
    EXPECT_EQ(t.user.texts(MessageKind::Warning),
              std::vector<std::string>{
                  "NONAME.TXT: line 4 holds a point number longer than the 4 columns of an R5 "
                  "point number; its last 4 characters were written."});
}

// The Elta R55 wrote the same job as M5 and as R5: converted, the M5 file
// gives the instrument's own R5 lines.
TEST(M5ToR5, EltaR55FileGivesTheR5FileOfTheSameJob) {
    TestContext t;
    t.workspace.load(CorpusFile("r5/tops-elta-r55.r5"));
    auto r5 = t.workspace.lines();
    while (!R5Line(r5.back(), 0).isEnd()) r5.pop_back();
    r5.pop_back();  // the padded END: the M5 file's own END stops the conversion

    t.workspace.load(CorpusFile("m5/tops-elta-r55-R_E.m5"));
    ASSERT_EQ(M5ToR5Command(t.ctx), CommandStatus::Done);
    EXPECT_EQ(t.workspace.lines(), r5);
    EXPECT_TRUE(t.user.messages.empty());
}

// Every M5 file of the corpus converts: one R5 line per TI or PI record, each
// point's number and code found in its own information block.
TEST(M5ToR5, CorpusM5FilesConvertWithTheirPointNumbers) {
    int files = 0;
    for (const char* folder : {"m5", "excerpts"}) {
        for (const auto& entry : std::filesystem::directory_iterator(CorpusFile(folder))) {
            if (entry.path().extension() != ".m5" && entry.path().extension() != ".dat") continue;
            SCOPED_TRACE(entry.path().string());
            ++files;
            TestContext t;
            t.workspace.load(entry.path());
            std::vector<std::string> records;  // TI and PI lines up to END
            for (const auto& l : t.workspace.lines()) {
                if (l.rfind("END", 0) == 0) break;
                if (l.compare(17, 2, "TI") == 0 || l.compare(17, 2, "PI") == 0)
                    records.push_back(l);
            }
            // Levelling data has no TI or PI record: refused (the excerpt with its own column widths is not understood at all).
            if (records.empty()) {
                EXPECT_EQ(M5ToR5Command(t.ctx), CommandStatus::Stopped);
                const auto errors = t.user.texts(MessageKind::Error);
                ASSERT_EQ(errors.size(), 1u);
                EXPECT_TRUE(errors[0].find("holds levelling readings") != std::string::npos ||
                            entry.path().filename() == "stardini-feet-excerpt.m5")
                    << errors[0];
                continue;
            }
            ASSERT_EQ(M5ToR5Command(t.ctx), CommandStatus::Done);
            ASSERT_GE(t.workspace.lineCount(), records.size());
            for (std::size_t i = 0; i < records.size(); ++i) {
                const R5Line r5(t.workspace.line(i), i + 1);
                EXPECT_EQ(r5.raw().size(), kR5LineLength);
                if (r5.kind() != "KR") continue;
                const std::string block = records[i].substr(21, 27);
                const std::string number(Trim(r5.pointNumber(), Blanks::SpacesAndControls));
                const std::string code(Trim(r5.code(), Blanks::SpacesAndControls));
                EXPECT_FALSE(number.empty()) << block;
                EXPECT_NE(block.find(number), std::string::npos) << block;
                EXPECT_NE(block.find(code), std::string::npos) << block;
            }
        }
    }
    EXPECT_EQ(files, 15);
}

TEST(M5ToR5, RoundTripFromR5KeepsAddressesPointNamesAndFields) {
    for (const auto& file :
         {test::DataFile("samples/polar-survey.r5"), CorpusFile("r5/tops-elta-r55.r5")}) {
        SCOPED_TRACE(file.string());
        TestContext t;
        t.workspace.load(file);
        auto original = t.workspace.lines();
        while (!R5Line(original.back(), 0).isEnd()) original.pop_back();  // lines after END
        ASSERT_EQ(R5ToM5Command(t.ctx), CommandStatus::Done);
        ASSERT_EQ(M5ToR5Command(t.ctx), CommandStatus::Done);
        const auto& back = t.workspace.lines();
        ASSERT_EQ(back.size(), original.size());  // the END line comes back too
        for (std::size_t i = 0; i + 1 < back.size(); ++i) {
            const R5Line a(original[i], i + 1), b(back[i], i + 1);
            EXPECT_EQ(a.address(), b.address());
            EXPECT_EQ(a.kind(), b.kind());
            // Code and number, or the text, come back with their blanks ("S  "
            // marks the station).
            EXPECT_EQ(a.columns(20, 26), b.columns(20, 26));
            for (int f = 0; f < 3; ++f) {
                EXPECT_EQ(a.fieldType(f), b.fieldType(f));
                if (a.fieldUnit(f) == "gon ") {
                    EXPECT_EQ(b.fieldUnit(f), "DMS ");
                    EXPECT_EQ(b.fieldValue(f), "   " + GonToDmsText(a.fieldNumber(f)));
                } else {
                    EXPECT_EQ(a.fieldValue(f), b.fieldValue(f));
                    EXPECT_EQ(a.fieldUnit(f), b.fieldUnit(f));
                }
            }
        }
    }
}

// The Elta R55 wrote the same job as R5 and as M5: the text records of the
// R5 file become the instrument's own TI lines, text from column 22.
TEST(R5ToM5, TextRecordsAreWrittenAsTheInstrumentWritesThem) {
    auto textRecords = [](const std::vector<std::string>& lines) {
        std::vector<std::string> ti;
        for (const auto& l : lines)
            if (l.size() > 20 && l.compare(17, 3, "TI ") == 0) ti.push_back(l);
        return ti;
    };
    TestContext t;
    t.workspace.load(CorpusFile("m5/tops-elta-r55-R_E.m5"));
    const auto instrument = textRecords(t.workspace.lines());
    ASSERT_EQ(instrument.size(), 4u);
    t.workspace.load(CorpusFile("r5/tops-elta-r55.r5"));
    ASSERT_EQ(R5ToM5Command(t.ctx), CommandStatus::Done);
    EXPECT_EQ(textRecords(t.workspace.lines()), instrument);
}

// A TI text is read where it stands: from column 22 (the Elta R55, this
// program), after four blanks (the Trimble M3), or right-aligned to column 48
// (this program's earlier versions). R5 holds 7 characters of it.
TEST(M5ToR5, TextIsReadWhereItStands) {
    auto ti = [](std::size_t column, const std::string& text) {
        std::string line = FormatM5TextLine(1, "", {});
        return line.replace(column - 1, text.size(), text);
    };
    TestContext t;
    t.state.currentDocumentName = "job.m5";
    t.setLines({ti(22, "OR.COOR"), ti(22, "IN PUT"), ti(26, "INPUT"), ti(26, "DR"),
                ti(44, "POLAR"), ti(22, "COMMENTS"), ti(22, "")});
    ASSERT_EQ(M5ToR5Command(t.ctx), CommandStatus::Done);
    std::vector<std::string> texts;
    for (std::size_t i = 0; i + 1 < t.workspace.lineCount(); ++i)
        texts.push_back(R5Line(t.workspace.line(i), i + 1).text());
    EXPECT_EQ(texts, (std::vector<std::string>{"OR.COOR", "IN PUT ", "INPUT  ", "DR     ",
                                               "POLAR  ", "COMMENT", "       "}));
    EXPECT_EQ(t.user.texts(MessageKind::Warning),
              std::vector<std::string>{"job.m5: line 6 holds a text longer than the 7 characters "
                                       "of an R5 text record; its first 7 were written."});
}

}  // namespace
}  // namespace tarvosen::zeiss
