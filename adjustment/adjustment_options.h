#pragma once
// The options of the COSA and traverse exports, as their dialogs hold them.

#include <chrono>
#include <string>

#include "app/calendar.h"
#include "app/option_dialog.h"

namespace tarvosen {

// The dialogs of the two exports, which edit CosaOptions and TraverseOptions.
inline constexpr OptionDialog kCosaExportDialog{"adjustment.cosa-export",
                                                "The COSA option dialog"};
inline constexpr OptionDialog kTraverseExportDialog{"adjustment.traverse-export",
                                                    "The traverse export dialog"};

// COSA export (CosaOptionsDialog): texts exactly as typed.
struct CosaOptions {
    std::string knownPointFile;
    std::string directionError = "2";
    std::string distanceConstant = "2";
    std::string distancePpm = "2";
    bool zeroBacksight = true;  // 角度归零
    bool reduceSlope = true;    // 斜距改平
};

// Traverse export (TraverseOptionsDialog).
struct TraverseOptions {
    std::string model = "DTM-330";
    std::string lineName = "DGDX";
    std::string observer = "GCZ";
    std::string heightIncrement = "0.0";
    std::chrono::year_month_day date = Today();
    bool produceText = true;  // 转平差格式
    bool produceBook = true;  // 转电子表格格式 (the command line turns it on with --book)
    std::string templateFile;  // empty: the template is looked up in the usual places
    std::string bookFile;      // the record book's file when already chosen; empty: asked
};

}  // namespace tarvosen
