#include "points/nikon300_raw.h"

#include <array>

#include "app/conversion.h"
#include "i18n/message_catalogue.h"
#include "points/line_issues.h"
#include "points/text_lines.h"
#include "zeiss/fixed_columns.h"

namespace tarvosen::points {

namespace {

// Takes the text up to the next comma of `rest` (or all of it) and moves past
// the comma; `hadComma` tells whether one ended the field.
std::string_view NextField(std::string_view& rest, bool& hadComma) {
    const auto comma = rest.find(',');
    hadComma = comma != std::string_view::npos;
    const auto field = rest.substr(0, comma);
    rest.remove_prefix(hadComma ? comma + 1 : rest.size());
    return field;
}

LineIssue ShortRecords() {
    return LineIssue(msg::kNikonShortRecords,
                     "%1 had a coordinate record without all of its fields name, code, X, Y and Z; "
                     "the missing fields were written empty.");
}

}  // namespace

bool IsNikon300400Signature(std::string_view line) {
    static constexpr std::array<std::size_t, 4> kLimits{4, 4, 9, 9};
    std::array<std::string_view, 4> f;
    for (std::size_t i = 0; i < f.size(); ++i) {
        bool comma = false;
        f[i] = NextField(line, comma);
        if (!comma || f[i].size() > kLimits[i]) return false;
    }
    return Trim(f[0], Blanks::SpacesAndControls) == "2" && f[1] == "9" && f[3] == "NS002";
}

bool IsNikon300400Raw(const Workspace& lines) {
    if (lines.empty()) return false;
    // The four signature fields and their commas fit in 30 characters; the
    // first 64 bytes of the text as it is saved (CR LF line ends) are read.
    std::string head(lines.line(0).substr(0, 64));
    if (head.size() < 64) head += '\r';
    head = head.substr(0, head.find('\x1a'));
    return IsNikon300400Signature(head);
}

RawRecordKind ParseNikon300400Line(std::string_view line, PointRecord& point) {
    bool comma = false;
    NextField(line, comma);  // field 1 is not used
    if (!comma) return RawRecordKind::Unknown;
    const auto type = Trim(NextField(line, comma), Blanks::SpacesAndControls);
    if (type.empty() || type.find_first_not_of("0123456789") != std::string_view::npos)
        return RawRecordKind::Unknown;
    if (type != "1" && type != "3" && type != "4") return RawRecordKind::Other;

    NextField(line, comma);  // field 3 is not used
    std::string* fields[] = {&point.name, &point.code, &point.x, &point.y, &point.z};
    int present = 0;
    for (auto* field : fields) {
        const bool more = comma;  // the previous field ended with a comma
        field->assign(more ? NextField(line, comma) : std::string_view{});
        if (more) ++present;
    }
    return present == 5 ? RawRecordKind::Coordinates : RawRecordKind::Short;
}

std::string ReadNikon300400(const Workspace& in, LineAccount& account, LineIssue& shortLines,
                            const std::function<void(const PointRecord&)>& point,
                            const std::string& file, const MessageTexts& texts) {
    static constexpr PassedOverKind kOtherRecords{msg::kOtherRecordTypesKind,
                                                  "records of other types"};
    TextLines lines(in, account);
    std::string line;
    PointRecord p;
    while (lines.nextNonBlank(line)) {
        const std::size_t number = lines.lineNumber();
        const auto kind = ParseNikon300400Line(line, p);
        if (number == 1) {
            account.passedOver(number, kHeaderLines);  // the signature holds
        } else if (kind == RawRecordKind::Other) {
            account.passedOver(number, kOtherRecords);
        } else if (kind == RawRecordKind::Unknown) {
            account.notUnderstood(number);
        } else {
            if (kind == RawRecordKind::Short) {
                shortLines.add(number);
                account.notUnderstoodReported(number);
            } else {
                account.used(number);
            }
            point(p);
        }
    }
    return lines.ctrlZWarning(file, texts);
}

bool ConvertNikon300400ToPoints(CommandContext& ctx, const Workspace& in) {
    if (!IsNikon300400Raw(in)) {
        RefuseInput(ctx, ctx.message(msg::kNotNikon300400, kNotNikon300400Message) +
                             ctx.message(msg::kNoNikon300400Header,
                                         "\nLine 1 is not the header record of Nikon 300/400 raw "
                                         "data (2,9,...,NS002,...)."));
        return false;
    }
    const std::string file = DocumentFileName(ctx);
    LineAccount account(file);
    LineIssue shortLines = ShortRecords();
    std::size_t points = 0;
    const MessageTexts texts = TextsOf(ctx);
    const std::string afterEnd = ReadNikon300400(in, account, shortLines, [&](const PointRecord& p) {
        std::string out;
        out.reserve(p.name.size() + p.x.size() + p.y.size() + p.z.size() + p.code.size() + 4);
        out.append(p.name).append(",").append(p.x).append(",").append(p.y).append(",");
        out.append(p.z).append(",").append(p.code);
        AppendWorkspaceLine(ctx, std::move(out));
        ++points;
    }, file, texts);
    if (!shortLines.empty()) ctx.user.warning(shortLines.message(file, texts));
    if (!afterEnd.empty()) ctx.user.warning(afterEnd);
    if (!CheckLinesUnderstood(ctx, account)) return false;
    if (points == 0) return RefuseNothingWritten(ctx, account);
    NoteReadSummary(ctx, account,
                    texts(msg::kPointsWritten, "%1 written",
                          {CountText(texts, points, msg::kPointCount, "1 point", "%1 points")}));
    return true;
}

LineAccount AccountNikon300400Lines(const Workspace& in, const std::string& file) {
    LineAccount account(file);
    LineIssue shortLines = ShortRecords();
    ReadNikon300400(in, account, shortLines, [](const PointRecord&) {});
    return account;
}

}  // namespace tarvosen::points
