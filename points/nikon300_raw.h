#pragma once
// Raw data of the Nikon 300/400 series: comma-separated records with numeric
// types. Types 1, 3 and 4 carry coordinates: field 4 name, 5 code, 6 X, 7 Y,
// 8 Z. The file starts "2,9,<any>,NS002,".

#include <filesystem>
#include <string>
#include <string_view>

#include "app/command_context.h"
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

enum class RawRecordKind { Other, Coordinates, Short };

// Reads one raw line: a coordinate record fills `point`, every field whole.
// Fields end at a comma or at the end of the line; Short is a coordinate
// record without all of fields 4 to 8.
RawRecordKind ParseNikon300400Line(std::string_view line, PointRecord& point);

// The ConvertInPlace body: one point line "name,X,Y,Z,code" per coordinate
// record. Stops with kNotNikon300400Message, naming the file, when the
// signature test fails.
bool ConvertNikon300400ToPoints(CommandContext& ctx, const Workspace& in);

}  // namespace tarvosen::points
