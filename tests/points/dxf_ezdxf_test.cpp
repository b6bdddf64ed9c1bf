// Reads the drawing written from a point list with ezdxf, a DXF reader of its
// own, to see that CAD programs get the points, names and codes we meant.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <tuple>

#include "points/point_commands.h"
#include "tests/support/test_context.h"

namespace tarvosen {
namespace {

constexpr const char* kPython = "/usr/bin/python3";

std::string RunPython(const std::string& command, int& status) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string out;
    if (!pipe) {
        status = -1;
        return out;
    }
    char buf[4096];
    while (std::size_t n = fread(buf, 1, sizeof buf, pipe.get())) out.append(buf, n);
    status = pclose(pipe.release());
    return out;
}

bool HaveEzdxf() {
    if (!std::filesystem::exists(kPython)) return false;
    int status = 0;
    RunPython(std::string(kPython) + " -c 'import ezdxf' 2>/dev/null", status);
    return status == 0;
}

TEST(PointsToDxfWithEzdxf, EveryPointNameAndCodeIsReadBack) {
    if (!HaveEzdxf()) GTEST_SKIP() << "ezdxf is not installed for " << kPython;
    int status = 0;

    test::TestContext t;
    t.setLines({"P1,3512394.442,498194.127,44.875,TREE", "",
                "   2,   385.641,   186.787,    44.757,", "K3,-12.5,7,-1.25,  ",
                "\xb5\xe3"
                "4,1,2,3,\xb5\xe3"});
    ASSERT_EQ(PointsToDxfCommand(t.ctx), CommandStatus::Done);
    const auto dxf = t.dir() / "points.dxf";
    t.workspace.save(dxf);

    const auto script =
        t.writeFile("read.py",
                    "import sys, ezdxf\n"
                    "doc = ezdxf.readfile(sys.argv[1], encoding='gbk')\n"
                    "for e in doc.modelspace():\n"
                    "    p = e.dxf.location if e.dxftype() == 'POINT' else e.dxf.insert\n"
                    "    t = e.dxf.text if e.dxftype() == 'TEXT' else ''\n"
                    "    h = e.dxf.height if e.dxftype() == 'TEXT' else 0\n"
                    "    sys.stdout.buffer.write(('%s|%s|%.3f|%.3f|%.3f|%s|%g\\n' % (\n"
                    "        e.dxftype(), e.dxf.layer, p.x, p.y, p.z, t, h)).encode('gbk'))\n");
    const auto out =
        RunPython(std::string(kPython) + " " + script.string() + " " + dxf.string(), status);
    ASSERT_EQ(status, 0) << out;
    EXPECT_EQ(out,
              "POINT|PT|3512394.442|498194.127|44.875||0\n"
              "TEXT|PN|3512394.442|498194.127|44.875|P1|1\n"
              "TEXT|CODE|3512394.442|498194.127|44.875|TREE|1\n"
              "POINT|PT|385.641|186.787|44.757||0\n"
              "TEXT|PN|385.641|186.787|44.757|   2|1\n"
              "POINT|PT|-12.500|7.000|-1.250||0\n"
              "TEXT|PN|-12.500|7.000|-1.250|K3|1\n"
              "POINT|PT|1.000|2.000|3.000||0\n"
              "TEXT|PN|1.000|2.000|3.000|\xb5\xe3"
              "4|1\n"
              "TEXT|CODE|1.000|2.000|3.000|\xb5\xe3|1\n");
}

// Each corpus list drawn and read back: every point, with its name and height,
// stands where its own file puts it. The script reads the list by itself:
// CASS lists as name, code, east, north, height drawn east across; the others
// as name, X, Y, Z drawn X across.
TEST(PointsToDxfWithEzdxf, EveryCorpusPointStandsWhereItsFilePutsIt) {
    if (!HaveEzdxf()) GTEST_SKIP() << "ezdxf is not installed for " << kPython;
    test::TestContext t;
    const auto script = t.writeFile(
        "compare.py",
        "import re, sys, ezdxf\n"
        "dxf, source, cass = sys.argv[1], sys.argv[2], sys.argv[3] == 'cass'\n"
        "points = []\n"
        "for line in open(source, encoding='ascii'):\n"
        "    f = re.split(r'[ \\t]+', line.strip()) if ',' not in line else "
        "line.strip().split(',')\n"
        "    if cass: points.append((f[0], float(f[2]), float(f[3]), float(f[4])))\n"
        "    else: points.append((f[0], float(f[1]), float(f[2]), float(f[3])))\n"
        "drawn = [e for e in ezdxf.readfile(dxf).modelspace() if e.dxftype() == 'POINT']\n"
        "names = [e.dxf.text for e in ezdxf.readfile(dxf).modelspace() if e.dxf.layer == 'PN']\n"
        "wrong = 0\n"
        "for (name, x, y, z), p, n in zip(points, drawn, names):\n"
        "    at = p.dxf.location\n"
        "    if n != name or max(abs(at.x - x), abs(at.y - y), abs(at.z - z)) > 1e-6:\n"
        "        wrong += 1\n"
        "print(len(points), len(drawn), len(names), wrong)\n");
    for (const auto& [file, kind, expected] :
         {std::tuple{"pointlist/bookcode-cass-3333.dat", "cass", "126 126 126 0\n"},
          std::tuple{"pointlist/bookcode-cass-campus.dat", "cass", "380 380 380 0\n"},
          std::tuple{"pointlist/taheoport-333-space-sep.dat", "own", "370 370 370 0\n"},
          std::tuple{"pointlist/bezitopo-topo0-pnezd.asc", "own", "1311 1311 1311 0\n"}}) {
        const auto source = test::CorpusFile(file);
        t.workspace.load(source);
        ASSERT_EQ(PointsToDxfCommand(t.ctx), CommandStatus::Done) << file;
        const auto dxf = t.dir() / "points.dxf";
        t.workspace.save(dxf);
        int status = 0;
        const auto out = RunPython(std::string(kPython) + " " + script.string() + " " +
                                       dxf.string() + " " + source.string() + " " + kind,
                                   status);
        EXPECT_EQ(status, 0) << out;
        EXPECT_EQ(out, expected) << file;
    }
}

}  // namespace
}  // namespace tarvosen
