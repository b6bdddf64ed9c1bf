#pragma once
// What an R5 reader could not use, line by line: lines that do not have the
// R5 layout, records of a kind it does not read, and (R5 to points) polar
// observations met before any station. One warning per kind names every such
// line, and a conversion that got nothing out of its lines says why.

#include <cstddef>

#include "app/command_context.h"
#include "i18n/line_ranges.h"
#include "zeiss/r5_line.h"

namespace tarvosen::zeiss {

class R5LineAccount {
  public:
    // True when `line` has the R5 layout; otherwise the line is noted and
    // must not be read, its columns being off.
    bool readable(const R5Line& line);
    // A line of the layout holding nothing this reader uses.
    void passedOver(std::size_t line) { passedOver_.add(line); }
    // A polar observation that gave no point for want of a station.
    void withoutStation(std::size_t line) { withoutStation_.add(line); }

    // The warnings, each naming the file and the lines. `passedOverId` is the
    // catalogue family (singular at +0, plural at +10) of what the reader
    // says about the lines it passed over, with %1 the file and %2 the lines.
    void report(CommandContext& ctx, int passedOverId, const char* passedOverOne,
                const char* passedOverMany) const;

    // After report(), the error of a conversion that wrote nothing from its
    // `lines` R5 lines: the catalogue text `id` with %1 the number of lines,
    // shown and returned.
    static std::string RefuseNothingWritten(CommandContext& ctx, std::size_t lines, int id,
                                     const char* english);

  private:
    LineRanges offLayout_, passedOver_, withoutStation_;
};

}  // namespace tarvosen::zeiss
