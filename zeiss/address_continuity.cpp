#include "zeiss/address_continuity.h"

#include <filesystem>

#include "app/command_context.h"

namespace tarvosen::zeiss {

namespace {

// One past the largest address the field holds; 0 where it never wraps.
long WrapModulus(AddressedFormat format) {
    switch (format) {
        case AddressedFormat::R5: return 10000;
        case AddressedFormat::M5: return 100000;
        default: return 0;
    }
}

// A step back from near the top of the field to near 0 is a wrap (possibly
// with records missing across it), not a jump back.
constexpr long kWrapWindow = 100;

bool ParseDigits(std::string_view text, long& value) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    if (i == text.size()) return false;
    value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

// Addresses first..last missing between the two lines, as one address or a range.
std::string Missing(const MessageTexts& texts, long first, long last, bool acrossWrap,
                    const std::string& fromLine, const std::string& toLine) {
    if (first == last) {
        return acrossWrap ? texts(msg::kAddressMissingWrap,
                                  "address %1 is missing (across the wrap to 0) between line %2 "
                                  "and line %3",
                                  {std::to_string(first), fromLine, toLine})
                          : texts(msg::kAddressMissing,
                                  "address %1 is missing between line %2 and line %3",
                                  {std::to_string(first), fromLine, toLine});
    }
    const std::vector<std::string> values{std::to_string(first), std::to_string(last), fromLine,
                                          toLine};
    return acrossWrap ? texts(msg::kAddressesMissingWrap,
                              "addresses %1-%2 are missing (across the wrap to 0) between line %3 "
                              "and line %4",
                              values)
                      : texts(msg::kAddressesMissing,
                              "addresses %1-%2 are missing between line %3 and line %4", values);
}

}  // namespace

AddressedRecord ReadRecordAddress(std::string_view line) {
    AddressedRecord r;
    long value = 0;
    if (line.starts_with("For R5|Adr ") && line.size() > 15 && line[15] == '|' &&
        ParseDigits(line.substr(11, 4), value)) {
        r = {AddressedFormat::R5, value};
    } else if (line.starts_with("For M5|Adr ") && line.size() > 16 && line[16] == '|' &&
               ParseDigits(line.substr(11, 5), value)) {
        r = {AddressedFormat::M5, value};
    } else if (line.size() > 8 && line[7] == ' ' && line[6] != ' ' &&
               ParseDigits(line.substr(0, 7), value)) {
        // REC500: the line number right-aligned in columns 1-7.
        r = {AddressedFormat::Rec500, value};
    }
    return r;
}

std::string AddressFinding::text(const MessageTexts& texts) const {
    const std::string fromLine = std::to_string(previousLine), toLine = std::to_string(line);
    switch (kind) {
        case Kind::Gap: {
            if (address > previous)
                return Missing(texts, previous + 1, address - 1, false, fromLine, toLine);
            // Across the wrap to 0.
            const long first = modulus && previous + 1 >= modulus ? 0 : previous + 1;
            const long last = address > 0 ? address - 1 : modulus - 1;
            return Missing(texts, first, last, true, fromLine, toLine);
        }
        case Kind::Repeat:
            return texts(msg::kAddressRepeated,
                         "address %1 repeated at line %2 (line %3 has it too)",
                         {std::to_string(address), toLine, fromLine});
        case Kind::Backward:
            return texts(msg::kAddressGoesBack,
                         "address goes back from %1 to %2 between line %3 and line %4",
                         {std::to_string(previous), std::to_string(address), fromLine, toLine});
    }
    return {};
}

std::optional<AddressFinding> AddressTracker::add(std::string_view line, std::size_t lineNumber) {
    const AddressedRecord record = ReadRecordAddress(line);
    if (record.format == AddressedFormat::None) return std::nullopt;
    std::optional<AddressFinding> finding;
    if (addressed_ > 0 && record.format == format_) {
        const long modulus = WrapModulus(format_);
        AddressFinding f{AddressFinding::Kind::Gap, lineNumber, previousLine_, previous_,
                         record.address, modulus};
        long expected = previous_ + 1;
        if (modulus) expected %= modulus;
        if (record.address == expected) {
            // in sequence
        } else if (record.address == previous_) {
            f.kind = AddressFinding::Kind::Repeat;
            finding = f;
        } else if (record.address > previous_) {
            finding = f;
        } else if (modulus && previous_ >= modulus - kWrapWindow && record.address < kWrapWindow) {
            finding = f;  // records lost across the wrap
        } else {
            f.kind = AddressFinding::Kind::Backward;
            finding = f;
        }
    }
    format_ = record.format;
    previous_ = record.address;
    previousLine_ = lineNumber;
    ++addressed_;
    return finding;
}

std::vector<AddressFinding> CheckAddresses(const Workspace& lines) {
    AddressTracker tracker;
    std::vector<AddressFinding> out;
    std::size_t n = 0;
    for (std::string_view line : lines.view())
        if (auto f = tracker.add(line, ++n)) out.push_back(*f);
    return out;
}

void ReportAddressContinuity(CommandContext& ctx, const std::string& file) {
    const MessageTexts texts = TextsOf(ctx);
    std::vector<LineFinding> shown;
    std::string signature = file;
    for (const auto& f : CheckAddresses(ctx.workspace)) {
        shown.push_back({file, f.line, f.text(texts)});
        signature += '\n' + shown.back().text;
    }
    if (signature == ctx.state.shownAddressFindings) return;
    ctx.state.shownAddressFindings = signature;
    if (!shown.empty()) ctx.user.showLineFindings(shown);
}

}  // namespace tarvosen::zeiss
