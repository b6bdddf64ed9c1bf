#include "zeiss/angle_texts.h"

#include "adjustment/angle.h"
#include "zeiss/fixed_columns.h"
#include "zeiss/record_conversions.h"

namespace tarvosen::zeiss {

bool IsGonUnit(std::string_view unit) {
    const auto u = Trim(unit, Blanks::SpacesAndControls);
    return u == "gon" || u == "grd";
}

double R5AngleToRadians(std::string_view value, std::string_view unit) {
    // The number the value starts with: a garbled angle is refused before
    // a point is computed from it.
    if (IsGonUnit(unit)) return GonToRadians(LeadingDecimal(value));
    if (Trim(unit, Blanks::SpacesAndControls) == "DEG") return LeadingDecimal(value) * kPi / 180;
    return DmsTextToRadians(value);
}

std::string GonToDmsText(double gon) { return FormatDmsCompact(GonToRadians(gon)); }

}  // namespace tarvosen::zeiss
