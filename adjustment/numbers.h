#pragma once
// Number texts as the raw records and the option fields hold them. All
// conversions use the point as decimal separator whatever the locale.

#include <string>
#include <string_view>

namespace tarvosen {

// The number at the start of the text, as the C library's strtod/strtol read
// it: leading blanks skipped, an optional sign, then as many characters as
// fit a decimal number; 0 when none do. Never throws.
double LeadingDecimal(std::string_view text);
long long LeadingInteger(std::string_view text);

// The whole text (blanks around it allowed) as a finite decimal number;
// false when it is anything else, an empty text included.
bool ParseWholeDecimal(std::string_view text, double& value);

// The shortest text with up to 15 significant digits ("%.15g"): 100, 99.5,
// 1e-05.
std::string FormatGeneral(double value);

// "%.3f".
std::string FormatFixed3(double value);

// The text without blanks, tabs and line-end characters at either end.
std::string_view TrimBlanks(std::string_view text);

}  // namespace tarvosen
