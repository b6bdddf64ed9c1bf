#pragma once
// The values of every option dialog as plain structs. They live as long as the
// program: a dialog edits its struct, the command reads it, and the values
// persist between uses (nothing is stored between runs).

#include <array>
#include <chrono>
#include <string>

#include "levelling/network/level_network_options.h"

namespace tarvosen {

std::chrono::year_month_day Today();

// Communication parameters (PortSettingsDialog): positions in the dialog's lists.
struct PortSettings {
    std::string port = "Com1";  // device name as chosen; "Com1".."Com4" map to /dev/ttyS0..3
    int baudRate = 5;           // TBaudRate ordinal, 5 = 9600
    int parity = 0;             // TParity ordinal, 0 = none
    int flowControl = 3;        // TFlowControl ordinal, 3 = XonXoff
    int dataBits = 4;           // TDataBits ordinal, 4 = 8 bits
    int stopBits = 0;           // TStopBits ordinal, 0 = 1 stop bit
};

// R5 options (R5OptionsDialog).
struct R5Options {
    int recordFormat = 0;  // 0 Mem/1, 1 Mem/2, 2 Mem/3
    bool includeCode = true;
    bool reassignPointNames = false;
    bool convertAlphabeticToNumber = true;  // point list -> R5
    bool computeFromObservations() const { return recordFormat == 0; }
};

// How the point list exports read their input: the layout guessed from the
// whole file, or the one the user chose (shown in the R5 option dialog).
enum class PointListLayout {
    Automatic,
    Own,   // name, X, Y, Z, code
    Cass,  // name, code, east (Y), north (X), height
};

struct PointListOptions {
    PointListLayout layout = PointListLayout::Automatic;
};

// COSA export (CosaOptionsDialog): texts exactly as typed.
struct CosaOptions {
    std::string knownPointFile;
    std::string directionError = "2";
    std::string distanceConstant = "2";
    std::string distancePpm = "2";
    bool zeroBacksight = true;  // 角度归零
    bool reduceSlope = true;    // 斜距改平
};

// Levelling class and tolerance limits (ToleranceDialog): field texts as typed.
struct ToleranceOptions {
    int levellingClass = 0;  // 0 一等, 1 二等, 2 三等
    std::array<std::string, 5> limits{"30", "0.5", "1.5", "0.3", "0.4"};
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

// Geological-institute record book (GeoBookDialog).
struct GeoBookOptions {
    std::string observer;
    std::string weather;
    std::string windDirection;
    std::string windForce;
    std::string instrument = "110113";
    std::chrono::year_month_day date = Today();
};

// How the command line drives download and upload, which in the window use
// the port the parameter dialog opened.
struct TransferOptions {
    std::string port;                // not empty: open this port with the port settings first
    double idleTimeoutSeconds = 30;  // download: stop when nothing has arrived for so long
    int instrumentKind = -1;         // upload: 0..6, or -1 for the selected instrument
    std::string transferLog;         // download: not empty: keep the transfer log in this file
};

// The checking commands (check, dini-audit).
struct CheckOptions {
    std::string reportFile;  // not empty: the findings are written here as JSON
};

struct OptionsStore {
    PortSettings portSettings;
    TransferOptions transfer;
    R5Options r5;
    PointListOptions pointList;
    CosaOptions cosa;
    ToleranceOptions tolerances;
    TraverseOptions traverse;
    GeoBookOptions geoBook;
    LevelNetworkOptions levelNetwork;
    CheckOptions check;
};

}  // namespace tarvosen
