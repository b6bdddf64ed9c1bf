#include "zeiss/angle_texts.h"

#include "adjustment/angle.h"
#include "zeiss/fixed_columns.h"
#include "zeiss/record_conversions.h"

namespace tarvosen::zeiss {

bool IsGonUnit(std::string_view unit) {
    const auto u = TrimBlanksAndControls(unit);
    return u == "gon" || u == "grd";
}

double R5AngleToRadians(std::string_view value, std::string_view unit) {
    if (IsGonUnit(unit)) {
        double gon = 0;
        ParseDecimal(value, gon);
        return GonToRadians(gon);
    }
    return DmsTextToRadians(value);
}

std::string GonToDmsText(double gon) { return FormatDmsCompact(GonToRadians(gon)); }

}  // namespace tarvosen::zeiss
