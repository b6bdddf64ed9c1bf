#pragma once
// Raw data of the Nikon 300/400 series: comma-separated records with numeric
// types. Types 1, 3 and 4 carry coordinates: field 4 name, 5 code, 6 X, 7 Y,
// 8 Z. The file starts "2,9,<any>,NS002,".

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "app/command_context.h"
#include "app/line_account.h"
#include "points/line_issues.h"
#include "points/point_record.h"

namespace tarvosen::points {

// The English text of msg::kNotNikon300400.
inline constexpr const char* kNotNikon300400Message = "This file is not NIKON 300/400 data!";

// The signature test on the first line: fields of at most 4, 4, 9 and 9
// characters, each ended by a comma; the first is "2" once blanks and
// control characters around it are removed, the second exactly "9", the
// fourth exactly "NS002". False for an empty text.
bool IsNikon300400Raw(const Workspace& lines);
bool IsNikon300400Signature(std::string_view firstLine);

// Unknown: the line is no record (no comma, or a record type that is no
// number).
enum class RawRecordKind { Other, Coordinates, Short, Unknown };

// Reads one raw line: a coordinate record fills `point`, every field whole.
// Fields end at a comma or at the end of the line; Short is a coordinate
// record without all of fields 4 to 8; Other a record of another type.
RawRecordKind ParseNikon300400Line(std::string_view line, PointRecord& point);

// Counts every line of the raw data `in`, the coordinate records as used,
// and calls `point` for each of them. The header and records of other types
// are passed over; short records and lines that are no record are not
// understood, short ones named by `shortLines`. Returns the warning about
// lines after a Ctrl-Z, naming `file` (empty when there are none).
std::string ReadNikon300400(const Workspace& in, LineAccount& account, LineIssue& shortLines,
                            const std::function<void(const PointRecord&)>& point,
                            const std::string& file = {}, const MessageTexts& texts = {});

// The ConvertInPlace body: one point line "name,X,Y,Z,code" per coordinate
// record. Stops with kNotNikon300400Message, naming the file, when the
// signature test fails.
bool ConvertNikon300400ToPoints(CommandContext& ctx, const Workspace& in);

// The account of the lines as the conversion reads them.
LineAccount AccountNikon300400Lines(const Workspace& in, const std::string& file);

}  // namespace tarvosen::points
