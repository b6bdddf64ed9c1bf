#pragma once
// A REC500 record file holds one of two kinds of job: a digital level's
// levelling (readings Rb, Rf, Rz, R and the line sums Sh, dz, Db, Df, Sr, Sv)
// or a total station's coordinate or polar job (X, Y, SD, Hz, V1, th, ih, Om,
// m). The kind is told from the field types of its records; heights (Z) and
// distances (HD) belong to both.

#include <array>
#include <optional>
#include <string>

#include "app/command_context.h"
#include "zeiss/fixed_columns.h"

namespace tarvosen::zeiss {

enum class Rec500Job { Levelling, Coordinates };

// The job of the REC500 lines `in`, up to an END line; lines without an
// address are passed over (the conversion says what is wrong with them). A
// file with no record of either kind counts as levelling. Refused (nullopt,
// after the message naming the file) when it holds records of both kinds, or
// angles, whose unit a REC500 file does not give.
std::optional<Rec500Job> Rec500JobOf(CommandContext& ctx, const Workspace& in);

// A cheap look at the lines, saying nothing: true when the first line has a
// REC500 address and the records hold coordinate or polar field types and
// no levelling ones.
bool LooksLikeRec500CoordinateJob(const Workspace& in);

// One REC500 field of a record: type and value columns as they stand.
struct Rec500Field {
    std::string type, value;
};

// A record of a coordinate job as M5, as the Elta R55 writes its own M5
// files: a point record (a number that ends at column 27 of the text block,
// its flag A or S and code after it) as a PI1 line whose information block
// holds the 27 text columns as they stand, so the number ends at column 40;
// any other record as a TI line with its text. Lengths get the unit "m",
// other values none.
std::string FormatRec500CoordinateRecordAsM5(long address, const std::string& text,
                                             const std::array<Rec500Field, 3>& fields);

// True when every field type of the record `line` is blank or one a record
// of `job` holds.
bool Rec500TypesKnown(const FixedColumns& line, Rec500Job job);

// True when a record of a coordinate job is a point record (see above).
bool IsRec500PointRecord(const std::string& text);

}  // namespace tarvosen::zeiss
