#pragma once
// The word layer of Leica GSI files. A line is one block of words; each word
// is 6 characters of word index (WI) and information, a sign and 8 (GSI8) or
// 16 (GSI16) characters of data, then a blank. A GSI16 block starts with '*'
// (some programs leave it out, so the width is also told by where the first
// word's separating blank stands). Words are cut by their fixed width, never
// at blanks: a text word may hold blanks.
//
// The first word of a block is 11 (point id) or 41 (code block); characters
// 3-6 of it hold the block's address. Any other word has a two- or
// three-digit WI (32, 331, 573); character 5 is the input mode and character
// 6 the unit of the value:
//   0 m (last digit 1 mm)       1 ft (1/1000 ft)     2 gon       3 degrees
//   4 degrees DDD.MMSSs          5 mil (6400)         6 m (1/10 mm)
//   7 ft (1/10000 ft)            8 m (1/100 mm)       . no unit
// Angles carry 5 decimals (gon, degrees), DDDMMSSs for 4 and 4 decimals for
// mil; a foot is 0.3048 m.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvosen::leica {

struct GsiWord {
    int index = 0;          // word index: 11, 32, 331, 573
    char inputMode = '.';   // character 5 ('.' in an address word)
    char unit = '.';        // character 6 ('.' in an address word and a text)
    bool negative = false;  // the sign
    std::string_view data;  // the 8 or 16 data characters as written
};

enum class GsiWidth { Gsi8 = 8, Gsi16 = 16 };

struct GsiBlock {
    GsiWidth width = GsiWidth::Gsi16;
    bool starred = false;          // written with the leading '*'
    std::optional<long> address;   // of a block that starts with 11 or 41
    std::vector<GsiWord> words;

    // The first word of this index, or nullptr.
    const GsiWord* find(int index) const;
};

// The block of one line (a trailing CR and blanks ignored), or nothing when
// the line is not a block of GSI words. The words view `line`.
std::optional<GsiBlock> SplitGsiBlock(std::string_view line);
// The same into `block`, whose word list is reused (for long files); false
// when the line is no block.
bool SplitGsiBlock(std::string_view line, GsiBlock& block);

// A point id or text: the data without the zeros and blanks GSI pads it with
// on the left ("000000000000000G" is "G", "0000000000000000" is "0").
std::string GsiText(const GsiWord& word);

// What a number word holds, as its unit says.
enum class GsiQuantity { Length, Angle };

// The unit code is one GSI knows (0-8) or '.'.
bool KnownGsiUnit(char unit);
// The unit code fits the quantity (0, 1, 6, 7, 8 for lengths; 2-5 for angles).
bool GsiUnitFits(char unit, GsiQuantity quantity);

// A length word's value in metres, its text with the decimals its unit gives
// ("1.59977" for 331.08+0000000000159977; feet are turned into metres and
// written with one decimal more than their unit), or nothing when the data
// are not digits or the unit is no length unit.
struct GsiLength {
    std::string text;
    double metres = 0;
};
std::optional<GsiLength> GsiLengthOf(const GsiWord& word);

// An angle word's value in radians, or nothing when the data are not digits,
// the unit is no angle unit, or a DMS angle has 60 or more minutes or seconds.
std::optional<double> GsiAngleOf(const GsiWord& word);

}  // namespace tarvosen::leica
