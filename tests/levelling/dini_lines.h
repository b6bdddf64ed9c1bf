#pragma once
// Writes DINI levelling data as M5 lines, laid out as the level records
// them: markers ("TO  Start-Line ..."), sights with point name, mark, clock
// time and line number in the information block, and point heights.

#include <cstdio>
#include <string>
#include <vector>

#include "zeiss/m5_line.h"

namespace tarvosen::test {

class DiniLines {
  public:
    std::vector<std::string> lines;

    void start(const std::string& number, const std::string& mode = "BFFB") {
        number_ = number;
        marker("Start-Line      " + mode);
    }
    void end() { marker("End-Line"); }
    void cont() { marker("Cont-Line"); }
    void marker(const std::string& text) {
        lines.push_back(zeiss::FormatM5InformationLine(nextAddress(), info(text), {}));
    }

    // A sight "Rb", "Rf" or "Rz": reading and distance in metres.
    void sight(const std::string& code, const std::string& name, double reading, double distance,
               const std::string& mark = "", const std::string& time = "") {
        zeiss::RecordFields fields{};
        fields[0] = {code, Number("%.5f", reading), "m"};
        if (code != "Rz" || distance > 0) fields[1] = {"HD", Number("%.3f", distance), "m"};
        lines.push_back(zeiss::FormatM5DataLine(nextAddress(), block(name, mark, time), fields));
    }
    // A point-height line ("Z" in block 3, block 1 blank).
    void height(const std::string& name, double z, const std::string& mark = "") {
        zeiss::RecordFields fields{};
        fields[2] = {"Z ", Number("%.5f", z), "m"};
        lines.push_back(zeiss::FormatM5DataLine(nextAddress(), block(name, mark, clock()), fields));
    }
    // One set-up measured back-fore-fore-back, then the fore point's height.
    void station(const std::string& back, const std::string& fore, double b1, double b2, double f1,
                 double f2, double db1, double db2, double df1, double df2, double foreHeight,
                 const std::string& mark = "") {
        sight("Rb", back, b1, db1, mark);
        sight("Rf", fore, f1, df1, mark);
        sight("Rf", fore, f2, df2, mark);
        sight("Rb", back, b2, db2, mark);
        height(fore, foreHeight);
    }

    std::string text() const {
        std::string out;
        for (const auto& l : lines) out += l + "\r\n";
        return out;
    }

  private:
    static std::string Number(const char* format, double v) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, format, v);
        return buffer;
    }
    static std::string Right(const std::string& s, std::size_t width) {
        return s.size() >= width ? s : std::string(width - s.size(), ' ') + s;
    }
    static std::string Left(const std::string& s, std::size_t width) {
        return s.size() >= width ? s : s + std::string(width - s.size(), ' ');
    }
    // The five-digit address wraps to 0 after 99999, as on the level.
    long nextAddress() { return address_++ % 100000; }
    std::string clock() {
        ++seconds_;
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d1", (seconds_ / 3600) % 24,
                      (seconds_ / 60) % 60, seconds_ % 60);
        return buffer;
    }
    // Columns 22-48: name (22-29), mark (30-34), blank, time (36-44), line number (45-48).
    std::string block(const std::string& name, const std::string& mark, std::string time) {
        if (time.empty()) time = clock();
        return Right(name, 8) + Left(mark, 5) + " " + Left(time, 9) + Right(number_, 4);
    }
    std::string info(const std::string& text) const { return Left(text, 23) + Right(number_, 4); }

    long address_ = 1;
    int seconds_ = 6 * 3600;
    std::string number_ = "1";
};

}  // namespace tarvosen::test
