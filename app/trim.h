#pragma once
// Taking blanks off the ends of a text. Which characters count as blanks
// depends on where the text comes from, so each caller names its set.

#include <string_view>

namespace tarvosen {

enum class Blanks {
    Spaces,           // ' ' only
    SpacesAndTabs,    // ' ' and '\t': fixed-column record fields, cell texts
    WhiteSpace,       // ' ', '\t', '\n', '\v', '\f', '\r', as C's isspace
    SpacesAndControls // every byte up to ' ', and DEL
};

// Inline: record fields are trimmed in the inner loops of conversions.
constexpr bool IsBlank(char c, Blanks blanks) {
    switch (blanks) {
        case Blanks::Spaces: return c == ' ';
        case Blanks::SpacesAndTabs: return c == ' ' || c == '\t';
        case Blanks::WhiteSpace: return c == ' ' || (c >= '\t' && c <= '\r');
        case Blanks::SpacesAndControls: return static_cast<unsigned char>(c) <= ' ' || c == 127;
    }
    return false;
}

// The text without the blanks at its end.
constexpr std::string_view TrimEnd(std::string_view text, Blanks blanks) {
    while (!text.empty() && IsBlank(text.back(), blanks)) text.remove_suffix(1);
    return text;
}

// The text without the blanks at either end.
constexpr std::string_view Trim(std::string_view text, Blanks blanks) {
    while (!text.empty() && IsBlank(text.front(), blanks)) text.remove_prefix(1);
    return TrimEnd(text, blanks);
}

}  // namespace tarvosen
