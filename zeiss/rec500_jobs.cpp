#include "zeiss/rec500_jobs.h"

#include <algorithm>

#include "app/conversion.h"
#include "app/number_text.h"
#include "i18n/message_catalogue.h"
#include "zeiss/m5_line.h"

namespace tarvosen::zeiss {

namespace {

// Each field's type and value columns.
struct FieldColumns {
    std::size_t type, valueFirst, valueLast;
};
constexpr FieldColumns kFields[] = {{37, 40, 50}, {52, 55, 66}, {68, 71, 78}};
// Where the point number of a point record ends within the 27 text columns
// 9-35 (column 27).
constexpr std::size_t kNumberEnd = 27 - 9;

bool OneOf(const std::string& type, std::initializer_list<const char*> types) {
    return std::any_of(types.begin(), types.end(), [&](const char* t) { return type == t; });
}

bool IsLevellingType(const std::string& type) {
    return OneOf(type, {"Rb", "Rf", "Rz", "R ", "Sh", "dz", "Db", "Df", "Sr", "Sv"});
}

bool IsAngleType(const std::string& type) {
    return OneOf(type, {"Hz", "V1", "V2", "V3"});
}

bool IsCoordinateType(const std::string& type) {
    return IsAngleType(type) || OneOf(type, {"X ", "Y ", "E ", "N ", "SD", "th", "ih", "Om", "m "});
}

bool IsLengthType(const std::string& type) {
    return OneOf(type, {"X ", "Y ", "Z ", "E ", "N ", "SD", "HD", "h ", "th", "ih"});
}

}  // namespace

std::optional<Rec500Job> Rec500JobOf(CommandContext& ctx, const Workspace& in) {
    std::size_t levellingLine = 0, coordinateLine = 0, angleLine = 0;
    std::string angleType, angleValue;
    std::size_t number = 0;
    for (const std::string_view text : in.view()) {
        const FixedColumns line(text, ++number);
        if (line.startsAt(1, "END")) break;
        if (!ParseWholeInteger(line.columns(1, 7))) continue;
        for (const FieldColumns& field : kFields) {
            const std::string type = line.columns(field.type, field.type + 1);
            if (IsLevellingType(type) && levellingLine == 0) levellingLine = number;
            if (IsCoordinateType(type) && coordinateLine == 0) coordinateLine = number;
            if (IsAngleType(type) && angleLine == 0) {
                angleLine = number;
                angleType = type;
                angleValue = std::string(
                    Trim(line.columns(field.valueFirst, field.valueLast), Blanks::Spaces));
            }
        }
    }
    const MessageTexts texts = TextsOf(ctx);
    if (levellingLine != 0 && coordinateLine != 0) {
        RefuseInput(ctx, texts(msg::kRec500MixedJob,
                               "The file holds levelling records (line %1) and coordinate or "
                               "polar records (line %2); a REC500 file holds one kind of job, so "
                               "it is not converted.",
                               {std::to_string(levellingLine), std::to_string(coordinateLine)}));
        return std::nullopt;
    }
    if (coordinateLine == 0) return Rec500Job::Levelling;
    if (angleLine != 0) {
        RefuseInput(
            ctx, texts(msg::kRec500AngleUnitUnknown,
                       "Line %1 holds the angle %2 \"%3\", but a REC500 file does not say "
                       "whether its angles are in gon or in degrees; its polar "
                       "observations are not converted, as their points would be "
                       "guessed. Let the instrument write the job as R5 or M5.",
                       {std::to_string(angleLine), Trim(angleType, Blanks::Spaces), angleValue}));
        return std::nullopt;
    }
    return Rec500Job::Coordinates;
}

bool LooksLikeRec500CoordinateJob(const Workspace& in) {
    if (in.lineCount() == 0 || !ParseWholeInteger(FixedColumns(in.line(0), 1).columns(1, 7)))
        return false;
    bool coordinates = false;
    std::size_t number = 0;
    for (const std::string_view text : in.view()) {
        const FixedColumns line(text, ++number);
        if (line.startsAt(1, "END")) break;
        for (const FieldColumns& field : kFields) {
            const std::string type = line.columns(field.type, field.type + 1);
            if (IsLevellingType(type)) return false;
            coordinates = coordinates || IsCoordinateType(type);
        }
    }
    return coordinates;
}

bool Rec500TypesKnown(const FixedColumns& line, Rec500Job job) {
    for (const FieldColumns& field : kFields) {
        const std::string type = line.columns(field.type, field.type + 1);
        const bool known = type == "  " || type == "Z " || type == "HD" ||
                           (job == Rec500Job::Levelling ? IsLevellingType(type)
                                                        : IsCoordinateType(type) || IsLengthType(type));
        if (!known) return false;
    }
    return true;
}

bool IsRec500PointRecord(const std::string& text) {
    return text.size() > kNumberEnd && text[kNumberEnd] != ' ';
}

std::string FormatRec500CoordinateRecordAsM5(long address, const std::string& text,
                                             const std::array<Rec500Field, 3>& fields) {
    RecordFields m5;
    for (std::size_t i = 0; i < fields.size(); ++i)
        m5[i] = {fields[i].type, fields[i].value, IsLengthType(fields[i].type) ? "m   " : "    "};
    // The 27 text columns split where the writer's number and code columns
    // meet; each part fills its columns, so the block stands as it was.
    if (IsRec500PointRecord(text))
        return FormatM5PointLine(address, text.substr(0, 14), text.substr(14), m5);
    return FormatM5TextLine(address, text, m5);
}

}  // namespace tarvosen::zeiss
