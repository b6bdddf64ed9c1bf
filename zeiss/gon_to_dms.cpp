#include "app/command.h"
#include "zeiss/record_conversions.h"

namespace tarvosen::zeiss {

std::string GonToDmsText(double) {
    ThrowNotBuilt("gon to DMS");
}

}  // namespace tarvosen::zeiss
