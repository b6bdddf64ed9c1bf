// Reads the drawing written from a point list with ezdxf, a DXF reader of its
// own, to see that CAD programs get the points, names and codes we meant.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>

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

}  // namespace
}  // namespace tarvosen
