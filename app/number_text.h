#pragma once
// Number texts as records, option fields and cells hold them. All
// conversions use the point as decimal separator whatever the locale.

#include <optional>
#include <string>
#include <string_view>

#include "app/trim.h"

namespace tarvosen {

// The whole text, the blanks around it allowed, as a plain finite decimal
// number: one optional sign, then digits with an optional point (at least one
// digit), then an optional exponent: "12", " -1.5", ".5", "1e3". Not "",
// "inf", "nan", "0x1A", "1,000" or "+-5".
std::optional<double> ParseWholeNumber(std::string_view text,
                                       Blanks blanks = Blanks::SpacesAndTabs);
// The whole text, blanks around it allowed, as an integer with one optional sign.
std::optional<long> ParseWholeInteger(std::string_view text,
                                      Blanks blanks = Blanks::SpacesAndTabs);

// The number at the start of the text, as the C library's strtod reads it:
// leading white space skipped, an optional sign, then as many characters as
// fit a decimal number; nothing when none do or it is out of range.
std::optional<double> LeadingNumber(std::string_view text);
// LeadingNumber, 0 when there is none; never throws.
double LeadingDecimal(std::string_view text);
// The integer at the start of the text as strtol reads it, saturating; 0
// when there is none. Never throws.
long long LeadingInteger(std::string_view text);

// The shortest text with up to 15 significant digits ("%.15g"): 100, 99.5,
// 1e-05.
std::string FormatGeneral(double value);

// "%.3f".
std::string FormatFixed3(double value);

}  // namespace tarvosen
