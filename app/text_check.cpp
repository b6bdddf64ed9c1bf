#include "app/text_check.h"

#include <cstdint>
#include <cstring>

namespace tarvosen {

namespace {

bool Between(unsigned char c, unsigned char low, unsigned char high) {
    return c >= low && c <= high;
}

// A line in a single-byte encoding (an instrument writing "±" as Latin-1
// 0xB1) is text as long as it holds no control byte: binary data almost always
// does, and such a line is kept byte for byte by every command.
bool IsSingleByteText(std::string_view line) {
    for (const char ch : line) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c < 0x20 && c != '\t' && c != '\r' && c != '\f' && c != 0x1A) || c == 0x7F)
            return false;
    }
    return true;
}

}  // namespace

bool IsValidUtf8(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size()) {
        // Instrument data is mostly ASCII: eight bytes at a time while no
        // byte has its high bit set.
        std::uint64_t eight = 0;
        while (i + 8 <= line.size() &&
               (std::memcpy(&eight, line.data() + i, 8), (eight & 0x8080808080808080u) == 0))
            i += 8;
        if (i >= line.size()) break;
        const auto c = static_cast<unsigned char>(line[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
        if (Between(c, 0xC2, 0xDF)) {
            length = 2;
        } else if (Between(c, 0xE0, 0xEF)) {
            length = 3;
            if (c == 0xE0) low = 0xA0;  // no overlong forms
            if (c == 0xED) high = 0x9F;  // no surrogates
        } else if (Between(c, 0xF0, 0xF4)) {
            length = 4;
            if (c == 0xF0) low = 0x90;
            if (c == 0xF4) high = 0x8F;  // nothing above U+10FFFF
        } else {
            return false;
        }
        if (i + length > line.size()) return false;
        if (!Between(static_cast<unsigned char>(line[i + 1]), low, high)) return false;
        for (std::size_t k = 2; k < length; ++k)
            if (!Between(static_cast<unsigned char>(line[i + k]), 0x80, 0xBF)) return false;
        i += length;
    }
    return true;
}

bool IsValidGb18030(std::string_view line) {
    std::size_t i = 0;
    auto at = [&](std::size_t k) { return static_cast<unsigned char>(line[k]); };
    while (i < line.size()) {
        const unsigned char c = at(i);
        if (c < 0x80) {
            ++i;
        } else if (!Between(c, 0x81, 0xFE) || i + 1 >= line.size()) {
            return false;
        } else if (Between(at(i + 1), 0x40, 0x7E) || Between(at(i + 1), 0x80, 0xFE)) {
            i += 2;
        } else if (Between(at(i + 1), 0x30, 0x39) && i + 3 < line.size() &&
                   Between(at(i + 2), 0x81, 0xFE) && Between(at(i + 3), 0x30, 0x39)) {
            i += 4;
        } else {
            return false;
        }
    }
    return true;
}

std::optional<std::string> WhyNotText(std::string_view bytes, const MessageTexts& texts) {
    std::size_t lineNumber = 1;
    for (std::size_t start = 0; start < bytes.size(); ++lineNumber) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        const std::string_view line = bytes.substr(start, end - start);
        const std::string number = std::to_string(lineNumber);
        if (const auto nul = line.find('\0'); nul != std::string_view::npos)
            return texts(msg::kNulByte, "it holds a NUL byte (line %1, byte %2)",
                         {number, std::to_string(start + nul + 1)});
        if (!IsValidUtf8(line) && !IsValidGb18030(line) && !IsSingleByteText(line))
            return texts(msg::kNeitherUtf8NorGb,
                         "its line %1 (from byte %2) holds control bytes and is neither UTF-8 "
                         "nor GB18030 text",
                         {number, std::to_string(start + 1)});
        start = end + 1;
    }
    return std::nullopt;
}

}  // namespace tarvosen
