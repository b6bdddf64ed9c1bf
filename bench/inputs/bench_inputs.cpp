#include "bench/inputs/bench_inputs.h"

#include <cstdio>
#include <fstream>

#include "tests/levelling/dini_lines.h"
#include "zeiss/r5_line.h"

namespace tarvosen::bench {
namespace {

std::string Number(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

}  // namespace

void WriteLargeR5Job(const std::filesystem::path& path, int lines) {
    using namespace zeiss;
    std::ofstream out(path, std::ios::binary);
    auto addr = [](int i) { return static_cast<long>(i % 10000); };
    out << FormatR5CoordinateLine(addr(0), "S  ", "1", "1000.000", "2000.000", "50.000") << "\r\n"
        << FormatR5TextLine(addr(1), "INPUT",
                            {{{"th", "1.500", "m   "}, {"ih", "1.550", "m   "}, {"", "", ""}}})
        << "\r\n"
        << FormatR5TextLine(addr(2), "", {{{"", "", ""}, {"Om", "0.0000", "DMS "}, {"", "", ""}}})
        << "\r\n";
    for (int i = 3; i < lines; ++i) {
        const std::string number = std::to_string(i % 10000);
        if (i % 2) {
            const RecordFields polar{{{"SD", Number(10 + i % 500 * 0.37, 3), "m   "},
                                      {"Hz", Number(i % 360 + 0.3012, 4), "DMS "},
                                      {"V1", Number(85 + i % 10 + 0.1545, 4), "DMS "}}};
            out << FormatR5PointLine(addr(i), "TRE", number, polar) << "\r\n";
        } else {
            out << FormatR5CoordinateLine(addr(i), "FEN", number, Number(900 + i % 977 * 0.1, 3),
                                          Number(1900 + i % 733 * 0.2, 3),
                                          Number(48 + i % 11 * 0.3, 3))
                << "\r\n";
        }
    }
}

std::vector<std::string> LongLevellingLine(int stations) {
    test::DiniLines d;
    d.start("1");
    double z = 100;
    d.height("P0", z);
    for (int i = 0; i < stations; ++i) {
        const double b = 1.2 + (i % 37) * 0.013, f = 1.3 + (i % 23) * 0.011;
        const double db = 18 + (i % 13) * 0.9, df = db + ((i % 7) - 3) * 0.2;
        z += b - f;
        const std::string back = "P" + std::to_string(i), fore = "P" + std::to_string(i + 1);
        d.station(back, fore, b, b + ((i % 5) - 2) * 1e-5, f, f + ((i % 3) - 1) * 1e-5, db,
                  db + 0.01, df, df - 0.01, z);
        if (i % 50 == 0) d.sight("Rz", "Z" + std::to_string(i), 1.1, 9);
    }
    d.end();
    return d.lines;
}

}  // namespace tarvosen::bench
