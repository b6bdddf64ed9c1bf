#pragma once
// Numbered message texts in three languages. The catalogue is a UTF-8 text
// file shipped in data/ ("messages.txt"): one message per line, the id, a tab
// and the text; "\n" in a text stands for a line break; lines starting with
// "#" are comments. Text id = base + language index (1 English, 2 GB, 3 Big5).
// A missing catalogue is not an error: every lookup then gives its default.

#include <filesystem>
#include <initializer_list>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvosen {

class MessageCatalogue {
public:
    // Loads the catalogue file; false (and an empty catalogue) when it
    // cannot be read. Malformed lines are skipped.
    bool load(const std::filesystem::path& path);
    void loadFromText(std::string_view text);

    bool loaded() const { return loaded_; }

    // The text of id base + languageIndex, if the catalogue has it.
    std::optional<std::string> find(int base, int languageIndex) const;

    // As find, falling back to englishDefault.
    std::string lookup(int base, int languageIndex, std::string_view englishDefault) const;

private:
    std::map<int, std::string> texts_;
    bool loaded_ = false;
};

// Puts values[0], values[1], ... in the places of "%1", "%2", ... (up to %9)
// of text; any other "%" stays as it is.
std::string FillIn(std::string_view text, std::span<const std::string_view> values);
inline std::string FillIn(std::string_view text, std::initializer_list<std::string_view> values) {
    return FillIn(text, std::span(values.begin(), values.size()));
}

// The texts of one language: the catalogue's where it has them, the English
// defaults otherwise (and always without a catalogue). Code that has no
// command context at hand takes one of these; the default is English.
struct MessageTexts {
    const MessageCatalogue* catalogue = nullptr;
    int languageIndex = 1;

    // The text base + languageIndex (or englishDefault) with its places filled in.
    std::string operator()(int base, std::string_view englishDefault,
                           std::initializer_list<std::string_view> values = {}) const;
    std::string operator()(int base, std::string_view englishDefault,
                           const std::vector<std::string>& values) const;

private:
    std::string filledIn(int base, std::string_view englishDefault,
                         std::span<const std::string_view> values) const;
};

// Catalogue ids of the messages and dialog texts.
namespace msg {
inline constexpr int kPortSettingPage = 2000;
inline constexpr int kPortLabel = 2100;
inline constexpr int kBaudRateLabel = 2200;
inline constexpr int kParityLabel = 2300;
inline constexpr int kFlowControlLabel = 2400;
inline constexpr int kDataBitLabel = 2500;
inline constexpr int kStopBitLabel = 2600;
inline constexpr int kParameterSetupCaption = 2700;
inline constexpr int kOptionCaption = 3000;
inline constexpr int kR5RecordFormatGroup = 3100;
inline constexpr int kIncludeCode = 3200;
inline constexpr int kReassignPointName = 3300;
inline constexpr int kCoordinateNote = 3400;
inline constexpr int kExitQuestion = 11000;
inline constexpr int kDownloadNotice = 12000;
inline constexpr int kUploadNothingToSend = 13000;
inline constexpr int kUploadStart = 14000;
// Refusals and notices of Load, the conversions and the books.
inline constexpr int kNotTextFile = 30000;
inline constexpr int kShowItAllTheSame = 30100;
inline constexpr int kNoDataForConversion = 30200;
inline constexpr int kNoNikonRawDataForConversion = 30300;
inline constexpr int kNoDiniData = 30400;
inline constexpr int kNotDini = 30500;
inline constexpr int kNotNikon300400 = 30600;
inline constexpr int kNoKnownPoints = 30700;
inline constexpr int kBookSavedIn = 30800;     // "the result is saved in: " + path
inline constexpr int kBookSavedAfter = 30900;  // what follows the path
inline constexpr int kOpenBookQuestion = 31000;
inline constexpr int kWrote = 31100;           // + path, on the command line
inline constexpr int kLimitsExceeded = 31200;  // %1 count, after a checked book
// Why a file is refused: not text, or none of the records a reader wants.
inline constexpr int kNulByte = 32000;              // %1 line, %2 byte
inline constexpr int kNeitherUtf8NorGb = 32100;     // %1 line, %2 byte
inline constexpr int kNotR5 = 32200;
inline constexpr int kNotM5 = 32300;
inline constexpr int kNotRec500 = 32400;
inline constexpr int kLineIsEmpty = 32500;          // %1 line
inline constexpr int kLineDoesNotBegin = 32600;     // %1 line, %2 what it should begin with
inline constexpr int kNoRec500Address = 32700;      // %1 columns 1-7
inline constexpr int kNoNikon300400Header = 32800;
inline constexpr int kNotPointList = 32900;         // %1 layouts, %2 first lines
inline constexpr int kOwnLayout = 33000;
inline constexpr int kCassLayout = 33100;
inline constexpr int kEitherLayout = 33200;         // %1 or %2
inline constexpr int kNoLevellingLine = 33300;
inline constexpr int kNoSetUp = 33400;
inline constexpr int kNoRawRecordAt = 33500;        // %1 line
// How a point list was read.
inline constexpr int kPointListReadIn = 33600;      // %1 layout, %2 separator, %3 ending
inline constexpr int kCommas = 33700;
inline constexpr int kBlanksOrTabs = 33800;
inline constexpr int kAsChosen = 33900;
inline constexpr int kFullStop = 34000;
inline constexpr int kFitsCassAsWell = 34100;
inline constexpr int kMostLinesNoPoints = 34700;    // %1 of %2 lines, %3 layout, %4 separator, %5 lines
// The levelling network.
inline constexpr int kNoNetworkFile = 34200;
inline constexpr int kNetworkFileNotM5 = 34300;        // %1 file
inline constexpr int kNetworkFileWithoutLine = 34400;  // %1 file
inline constexpr int kNetworkWithoutLine = 34500;
inline constexpr int kFirstPointHeld = 34600;          // %1 point
inline constexpr int kFirstPointOfEachPartHeld = 34800; // %1 parts, %2 points
// The window's own texts.
inline constexpr int kDiscardChanges = 40000;
inline constexpr int kUnsavedChanges = 40100;
inline constexpr int kRecentFiles = 40200;
inline constexpr int kListening = 40300;            // %1 port, %2 settings, %3 lines, %4 bytes
inline constexpr int kStopListening = 40400;
inline constexpr int kCancelCommand = 40500;
inline constexpr int kNoProgramOpens = 40600;       // + path
inline constexpr int kFindingsCount = 40700;        // %1 count
inline constexpr int kFindingsTitle = 40800;
inline constexpr int kManualMissing = 40900;
inline constexpr int kUnknownFailure = 41000;
// The window's cancel, save and download texts.
inline constexpr int kCancelTooLate = 75000;
inline constexpr int kFileChangedOnDisk = 75100;     // %1 path
inline constexpr int kFileChangedNotSaved = 75200;   // %1 path
inline constexpr int kBytesAfterEnd = 75300;         // %1 bytes, %2 line of END
// The option dialogs' texts.
inline constexpr int kConversionOptions = 50000;
inline constexpr int kKnownPointFileLabel = 50100;
inline constexpr int kBrowse = 50200;
inline constexpr int kNetworkAccuracyGroup = 50300;
inline constexpr int kDirectionErrorLabel = 50400;
inline constexpr int kSecondsUnit = 50500;
inline constexpr int kDistanceConstantLabel = 50600;
inline constexpr int kDistancePpmLabel = 50700;
inline constexpr int kZeroBacksight = 50800;
inline constexpr int kZeroBacksightTip = 50900;
inline constexpr int kReduceSlope = 51000;
inline constexpr int kKnownPointFileMissing = 51100;   // %1 file
inline constexpr int kAccuracyNoNumber = 51200;        // %1 what was typed
inline constexpr int kProduceAdjustmentText = 51300;
inline constexpr int kProduceSpreadsheet = 51400;
inline constexpr int kInstrumentModelLabel = 51500;
inline constexpr int kTraverseLineLabel = 51600;
inline constexpr int kObserverLabel = 51700;
inline constexpr int kHeightIncrementLabel = 51800;
inline constexpr int kObservationDateLabel = 51900;
inline constexpr int kStartConversion = 52000;
inline constexpr int kHeightIncrementNoNumber = 52100; // %1 what was typed
inline constexpr int kWeatherLabel = 52200;
inline constexpr int kWindDirectionLabel = 52300;
inline constexpr int kWindForceLabel = 52400;
inline constexpr int kInstrumentNumberLabel = 52500;
inline constexpr int kDateLabel = 52600;
inline constexpr int kDiniOptionsCaption = 52700;
inline constexpr int kLevellingClassLabel = 52800;
inline constexpr int kToleranceLimitsGroup = 52900;
inline constexpr int kLevellingClassNames = 53000;     // + 100 * class (first, second, third order)
inline constexpr int kLimitLabels = 53300;             // + 100 * limit field, in dialog order
inline constexpr int kLimitNoNumber = 53800;           // %1 limit, %2 what was typed
inline constexpr int kLevelNetworkCaption = 53900;
inline constexpr int kAddFiles = 54000;
inline constexpr int kRemoveFiles = 54100;
inline constexpr int kToleranceProfileLabel = 54200;
inline constexpr int kKnownHeightsFileLabel = 54300;
inline constexpr int kBenchmarksFileLabel = 54400;
inline constexpr int kWeightingLabel = 54500;
inline constexpr int kWeightingNames = 54600;          // + 100 * choice (distance, set-ups)
inline constexpr int kFileCannotBeRead = 54800;        // %1 file
// Failures that end a command (thrown, shown where the command ends).
inline constexpr int kCannotOpenFile = 60000;       // %1 file, %2 reason
inline constexpr int kCannotReadFile = 60100;       // %1 file, %2 reason
inline constexpr int kCannotOpenFolder = 60200;     // %1 folder
inline constexpr int kCannotWriteFolder = 60300;    // %1 folder
inline constexpr int kCannotWriteFile = 60400;      // %1 file, %2 reason
inline constexpr int kExpectedNameAndHeight = 60500;// %1 file, %2 line
inline constexpr int kHeightGivenTwice = 60600;     // %1 file, %2 line, %3 point
inline constexpr int kExpectedOnePointName = 60700; // %1 file, %2 line
inline constexpr int kNoKnownHeightReaches = 60800; // %1 points
inline constexpr int kNormalEquationsUnsolvable = 60900;
inline constexpr int kNoPackedAngle = 61000;        // %1 line, %2 angle, %3 lines, %4 seconds, %5 file
inline constexpr int kNoPackedAngleMinutes = 61050; // %1 line, %2 angle, %3 lines, %4 minutes, %5 file
inline constexpr int kUnknownUnits = 61100;         // %1 line, %2 text, %3 units read, %4 file
inline constexpr int kTemplateMissing = 61200;      // %1 file
inline constexpr int kTemplateNotFound = 61300;     // %1 template, %2 folders
inline constexpr int kIntermediateSightNoNumber = 61400;// %1 line, %2 reading, %3 file
inline constexpr int kCannotReadProfile = 61500;    // %1 file
inline constexpr int kProfileNotObject = 61600;     // %1 file
inline constexpr int kProfileNeedsNumber = 61700;   // %1 file, %2 key
inline constexpr int kProfileNumberNotAboveZero = 61800;// %1 file, %2 key
inline constexpr int kProfileNeedsName = 61900;     // %1 file
inline constexpr int kNotJson = 62000;              // %1 file, %2 reason
inline constexpr int kCannotWrite = 62100;          // %1 file
inline constexpr int kAuditLimitNotNumber = 62200;  // %1 file, %2 key
inline constexpr int kAuditLimitNotWholeNumbers = 62300;// %1 file, %2 key
inline constexpr int kNotAuditLimits = 62400;       // %1 file
inline constexpr int kToleranceLimitNotNumber = 62600;// %1 what was typed, %2 limit
inline constexpr int kFileLineWhat = 62700;         // %1 file, %2 line, %3 what
// The serial link: downloads, uploads and replays (in steps of 50, to fit its range).
inline constexpr int kUploadLineTooLong = 35000;       // %1 line, %2 characters, %3 limit
inline constexpr int kNikonNothingToUpload = 35050;
inline constexpr int kNikonUploadDone = 35100;         // %1 points
inline constexpr int kPlainUploadDone = 35150;         // %1 lines
inline constexpr int kPortAlreadyOpen = 35200;         // %1 port
inline constexpr int kDownloadDeviceLost = 35250;      // %1 lines
inline constexpr int kDownloadUnendedTail = 35300;     // %1 bytes
inline constexpr int kDownloadEndedWithEnd = 35350;    // %1 lines
inline constexpr int kDownloadNothingArrived = 35400;  // %1 port, %2 seconds
inline constexpr int kDownloadIdleWithoutEnd = 35450;  // %1 seconds, %2 lines
inline constexpr int kSerialDeviceWentAway = 35500;    // %1 device, %2 reason, %3 tail or ""
inline constexpr int kWentAwayUnendedTail = 35550;     // %1 bytes
inline constexpr int kReplaySummary = 35600;  // %1 bursts, %2 file, %3 port, %4 start, %5 end
inline constexpr int kUploadFailed = 35650;            // %1 sent, %2 lines, %3 reason
inline constexpr int kUploadFailedAtHeader = 35700;    // %1 sent, %2 lines, %3 reason
inline constexpr int kUploadFailedAtClosing = 35750;   // %1 sent, %2 lines, %3 reason
inline constexpr int kNoSerialPortHere = 35800;
inline constexpr int kNotTransferLogLine = 35850;      // %1 file, %2 line, %3 what
inline constexpr int kNotTransferLog = 35900;          // %1 file
inline constexpr int kCannotWriteTransferLog = 35950;  // %1 file, %2 reason
// Lists of lines and stations inside the warnings below. A family's other
// forms (the plural, a longer list) sit at +10, +20, ... of its base.
inline constexpr int kListComma = 36000;
inline constexpr int kListAnd = 36010;              // %1 the first items, %2 the last
inline constexpr int kAndMore = 36020;              // %1 the named items, %2 how many more
inline constexpr int kStationAtLine = 36100;        // %1 station, %2 line
inline constexpr int kWorkspaceLine = 36200;        // %1 line, %2 file
inline constexpr int kWorkspaceLines = 36210;       // %1 lines, %2 file
// What the traverse and COSA exports leave out or change.
inline constexpr int kAdjustmentTextProduct = 36300;
inline constexpr int kObservationFileProduct = 36310;
inline constexpr int kRecordBookProduct = 36320;
inline constexpr int kBeforeFirstSetUpLine = 36400;   // %1 product, %2 line
inline constexpr int kBeforeFirstSetUpLines = 36410;  // %1 product, %2 lines
inline constexpr int kExtraObservations = 36500;      // %1 product, %2 stations
inline constexpr int kMissingFace = 36600;            // %1 stations
inline constexpr int kOddObservation = 36700;         // %1 stations
inline constexpr int kMoreThanTwoTargets = 36800;     // %1 stations
inline constexpr int kLongStationNames = 36900;       // %1 stations
inline constexpr int kKnownPointFileUnreadable = 37000;  // %1 the system's words, %2 file
// What the levelling books and the record readers leave out or cut.
inline constexpr int kBeforeFirstStartLine = 37100;   // %1 file, %2 line
inline constexpr int kBeforeFirstStartLines = 37110;  // %1 file, %2 lines
inline constexpr int kLeftOutLine = 37200;            // %1 file and sheet, %2 line, %3 why
inline constexpr int kLeftOutLines = 37210;           // %1 file and sheet, %2 lines, %3 why
inline constexpr int kBeforeFirstPointHeight = 37300;
inline constexpr int kThirdReadingAtSetUp = 37310;
inline constexpr int kThirdReadingAtStation = 37320;
inline constexpr int kOutsideCompleteStation = 37330;
inline constexpr int kCutLine = 37400;                // %1 line, %2 limit
inline constexpr int kCutLines = 37410;               // %1 first line, %2 limit, %3 more lines
// The record conversions and the point exports.
inline constexpr int kPointNumberCut = 37500;         // %1 columns, %2 line
inline constexpr int kPointNumbersCut = 37510;        // %1 columns, %2 first line, %3 more lines
inline constexpr int kNoTextOrPointRecord = 37600;    // %1 records
inline constexpr int kR5LongNames = 37700;            // %1 lines
inline constexpr int kR5LongCodes = 37800;            // %1 lines
inline constexpr int kR5AddressesOverflow = 37900;    // %1 points
// R5 lines the readers could not use; values the R5 writers had to fit.
// The plural of a family sits at +10.
inline constexpr int kR5LineOffLayout = 71000;             // %1 file, %2 line(s)
inline constexpr int kR5PointsPassedOver = 71020;          // %1 file, %2 line(s)
inline constexpr int kR5M5PassedOver = 71040;              // %1 file, %2 line(s)
inline constexpr int kR5ObservationsWithoutStation = 71060;// %1 file, %2 line(s)
inline constexpr int kR5NoPointRead = 71080;               // %1 lines
inline constexpr int kR5NoM5LineWritten = 71090;           // %1 lines
inline constexpr int kR5ValuesRounded = 71100;             // %1 lines
inline constexpr int kR5ValueDoesNotFit = 71110;           // %1 point, %2 line, %3 value
inline constexpr int kR5TextsCut = 71120;                  // %1 file, %2 line(s)
inline constexpr int kDxfZNotNumber = 38000;          // %1 lines
inline constexpr int kNikonShortRecords = 38100;      // %1 lines
inline constexpr int kCtrlZEndsData = 38200;          // %1 line, %2 lines after it, %3 file
// The summary of the data consistency check.
inline constexpr int kAuditNoFindings = 38300;        // %1 file
inline constexpr int kAuditFindings = 38310;          // %1 file, %2 count
inline constexpr int kAuditStations = 38320;          // %1 count
inline constexpr int kAuditSha256 = 38330;            // %1 digest
inline constexpr int kAuditNoteText = 38400;
// Point list lines that could not be read as they stand. %1 lines
inline constexpr int kFewerThanThreeCommas = 38500;
inline constexpr int kMisfitLines = 38600;  // +10 blanks or tabs, +20 CASS
// Record address findings and failures of the record readers and conversions.
inline constexpr int kAddressMissing = 63000;         // %1 address, %2 %3 lines
inline constexpr int kAddressesMissing = 63010;       // %1-%2 addresses, %3 %4 lines
inline constexpr int kAddressMissingWrap = 63020;     // %1 address, %2 %3 lines
inline constexpr int kAddressesMissingWrap = 63030;   // %1-%2 addresses, %3 %4 lines
inline constexpr int kAddressRepeated = 63040;        // %1 address, %2 line, %3 earlier line
inline constexpr int kAddressGoesBack = 63050;        // %1 %2 addresses, %3 %4 lines
inline constexpr int kValueWiderThanR5 = 63100;       // %1 line, %2-%3 columns, %4 value
inline constexpr int kValueRunsOnRec500 = 63110;      // %1 line, %2-%3 columns, %4 value, %5 file
inline constexpr int kLineNoRec500Address = 63120;    // %1 line, %2 columns 1-7, %3 file
inline constexpr int kColumnsNotNumber = 63130;       // %1 line, %2-%3 columns, %4 text
inline constexpr int kColumnsNotInteger = 63140;      // %1 line, %2-%3 columns, %4 text
inline constexpr int kPointNumberComma = 63150;       // %1 line, %2 point number
inline constexpr int kSlopeDistanceNoNumber = 63160;  // %1 line, %2 distance, %3 point
// The Nikon raw reader and the COSA export.
inline constexpr int kUnknownRawSetting = 70000;          // %1 line, %2 text, %3 settings read, %4 file
inline constexpr int kElevationBeyondRightAngle = 70100;  // %1 line, %2 angle, %3 file
inline constexpr int kNotKnownPoint = 70200;              // %1 file, %2 line, %3 text
inline constexpr int kMpPointTwice = 70300;   // %1 file, %2 %3 lines, %4 point, %5-%8 coordinates
inline constexpr int kMpPointsUnusable = 70400;           // %1 file, %2 lines
inline constexpr int kKnownPointsFromMp = 70500;          // %1 file, %2 count, %3 lines
// What the Nikon raw, Nikon 300/400 and point list readers pass over, and
// what their runs wrote.
inline constexpr int kNotesKind = 79000;
inline constexpr int kSettingsKind = 79010;
inline constexpr int kCoordinateRecordsKind = 79020;
inline constexpr int kStakeOutRecordsKind = 79030;
inline constexpr int kBacksightRecordsKind = 79040;
inline constexpr int kDeletedRecordsKind = 79050;
inline constexpr int kEndOfFileMarksKind = 79060;
inline constexpr int kOtherRecordTypesKind = 79070;
inline constexpr int kObservationsBeyondFourKind = 79080;
inline constexpr int kCosaWritten = 79100;          // %1 stations, %2 observations, %3 known points
inline constexpr int kTraverseTextWritten = 79110;  // %1 stations
inline constexpr int kTraverseBookWritten = 79120;  // %1 stations
inline constexpr int kTraverseBothWritten = 79130;  // %1 stations
inline constexpr int kPointsWritten = 79140;        // %1 points
// Counted nouns: the one at the id, the many (%1) at id + 10.
inline constexpr int kStationCount = 79300;
inline constexpr int kObservationCount = 79320;
inline constexpr int kKnownPointCount = 79340;
inline constexpr int kPointCount = 79360;
inline constexpr int kNoKnownPointsInData = 79200;  // %1 file
inline constexpr int kKnownPointDiffers = 70600;  // %1 point, %2 %3 X Y, %4 file, %5 line, %6-%9
inline constexpr int kUnnamedStations = 70700;            // %1 file, %2 lines
inline constexpr int kSetUpsWithoutBacksight = 70800;     // %1 file, %2 lines
inline constexpr int kUnnamedObservations = 70900;        // %1 file, %2 lines
// Points of polar observations, and REC500 coordinate jobs.
inline constexpr int kOffsetNotApplied = 72000;       // %1 type, %2 value, %3 point
inline constexpr int kObservationsWithoutDistance = 72010;  // %1 lines
inline constexpr int kRec500MixedJob = 72020;         // %1 levelling line, %2 coordinate line
inline constexpr int kRec500AngleUnitUnknown = 72030; // %1 line, %2 type, %3 value
inline constexpr int kRec500CoordinateJob = 72040;    // %1 point records, %2 text records
// The findings of the DiNi consistency audit.
inline constexpr int kAuditNotM5Record = 65000;
inline constexpr int kAuditNotDiniFile = 65010;         // %1 the first line
inline constexpr int kAuditNoLevellingLine = 65020;
inline constexpr int kAuditLineEndsOpen = 65030;        // %1 line
inline constexpr int kAuditRepeatNotVoided = 65040;     // %1 record text
inline constexpr int kAuditStationRepeatedLeaves = 65050;// %1 line
inline constexpr int kAuditErrorRecordMalformed = 65060;// %1 record text
inline constexpr int kAuditErrorRecordOutside = 65070;  // %1 record text
inline constexpr int kAuditReadingDecimals = 65080;     // %1 decimals, %2 allowed ones
inline constexpr int kAuditDistanceDecimals = 65090;    // %1 decimals, %2 allowed ones
inline constexpr int kAuditReadingDecimalsDiffer = 65100;// %1 decimals, %2 the file's
inline constexpr int kAuditDistanceDecimalsDiffer = 65110;// %1 decimals, %2 the file's
inline constexpr int kAuditOr = 65120;                  // %1 the first items, %2 the last
inline constexpr int kAuditTimeBackwards = 65130;       // %1 time, %2 the previous one
inline constexpr int kAuditReadingNotNumber = 65140;    // %1 reading
inline constexpr int kAuditOutsideStaff = 65150;        // %1 reading, %2 to %3 range
inline constexpr int kAuditOutsideInvertedStaff = 65160;// %1 reading, %2 to %3 range
inline constexpr int kAuditIntermediateHeight = 65170;  // %1 Z, %2 computed
inline constexpr int kAuditNoBacksight = 65180;         // %1 line
inline constexpr int kAuditNoForesight = 65190;         // %1 line
inline constexpr int kAuditStationHeight = 65200;       // %1 Z, %2 previous Z, %3 line, %4 computed
inline constexpr int kAuditStationTime = 65210;         // %1 line, %2 s, %3 %4 times, %5 %6 limits
inline constexpr int kAuditSummaryWithoutStart = 65220;
inline constexpr int kAuditShSum = 65230;               // %1 Sh, %2 sum
inline constexpr int kAuditDzEndHeight = 65240;         // %1 dz, %2 end height, %3 computed
inline constexpr int kAuditDistanceSum = 65250;         // %1 Db or Df, %2 value, %3 sum
inline constexpr int kAuditStationCount = 65260;        // %1 count written, %2 counted
inline constexpr int kAuditLastZ = 65270;               // %1 Z, %2 last station height
inline constexpr int kAuditDataEndsOpen = 65280;        // %1 line
// What a reader did with the lines of its input (app/line_account.h).
inline constexpr int kReadSummaryOneLine = 77000;      // %1 file, %2 what was written
inline constexpr int kReadSummary = 77010;             // %1 lines, %2 file, %3 what was written
inline constexpr int kReadSummaryFiles = 77020;        // %1 lines, %2 files, %3 what was written
inline constexpr int kSummaryPassedOverOne = 77030;    // %1 kind
inline constexpr int kSummaryPassedOverMany = 77040;   // %1 lines, %2 kinds
inline constexpr int kSummaryNotUnderstoodOne = 77050; // %1 line
inline constexpr int kSummaryNotUnderstoodMany = 77060;// %1 count, %2 lines
inline constexpr int kNotUnderstoodOne = 77070;        // %1 file, %2 line
inline constexpr int kNotUnderstoodMany = 77080;       // %1 file, %2 lines, %3 count
inline constexpr int kNotUnderstoodStrict = 77090;     // %1 file, %2 lines
inline constexpr int kNothingWritten = 77120;
inline constexpr int kSummaryNotUnderstoodCount = 77130; // %1 count (lines named per file)
// The levelling model's readers and the levelling commands' accounts.
inline constexpr int kAfterEndLine = 80000;             // %1 file, %2 lines
inline constexpr int kLevellingUnitNotMetres = 80010;   // %1 file, %2 line, %3 value, %4 unit
inline constexpr int kNoLevellingReader = 80020;        // %1 file, %2 line, %3 its text
inline constexpr int kAbandonedStation = 80030;         // %1 file, %2 levelling line, %3 line
inline constexpr int kLevellingSheetsWritten = 80040;   // %1 count
inline constexpr int kLevellingSheetWritten = 80070;
inline constexpr int kNetworkSectionsWritten = 80050;   // %1 sections, %2 runs
inline constexpr int kAuditLineNotUnderstood = 80060;
inline constexpr int kTextRecordsKind = 80100;
inline constexpr int kMarkerRecordsKind = 80110;
inline constexpr int kVoidedRecordsKind = 80120;
inline constexpr int kLineSummariesKind = 80130;
inline constexpr int kOutsideLineKind = 80140;
inline constexpr int kEndRecordsKind = 80150;
inline constexpr int kCheckNotRecognised = 80200;       // %1 file, %2 line, %3 its text
inline constexpr int kCheckFindingsWritten = 80210;     // %1 count
inline constexpr int kBlankLinesKind = 77100;
inline constexpr int kHeaderLinesKind = 77110;
// The account of the Zeiss readers' lines: their settings, what they wrote,
// the kinds of line they pass over.
inline constexpr int kRecordUnitUnknown = 78000;     // %1 file, %2 line, %3 type, %4 unit
inline constexpr int kVerticalAngleUnknown = 78010;  // %1 file, %2 line, %3 type
inline constexpr int kScaleNotApplied = 78020;       // %1 file, %2 line, %3 scale, %4 line
inline constexpr int kM5HoldsLevelling = 78030;      // %1 file, %2 records
inline constexpr int kLongLineLeftOut = 78040;       // %1 file, %2 line, %3 limit
inline constexpr int kLongLinesLeftOut = 78050;      // %1 file, %2 lines, %3 limit
inline constexpr int kR5NumberCutOne = 78060;        // %1 file, %2 line, %3 columns
inline constexpr int kR5NumberCutMany = 78070;       // %1 file, %2 lines, %3 columns
inline constexpr int kInFile = 78080;                // %1 file, %2 failure
inline constexpr int kPointWritten = 78100;
inline constexpr int kPointsWrittenCount = 78110;         // %1 points
inline constexpr int kR5LineWritten = 78120;
inline constexpr int kR5LinesWritten = 78130;        // %1 lines
inline constexpr int kM5LineWritten = 78140;
inline constexpr int kM5LinesWritten = 78150;        // %1 lines
inline constexpr int kFromEndOnKind = 78200;
inline constexpr int kStationSettingsKind = 78220;
inline constexpr int kDirectionsOnlyKind = 78230;
inline constexpr int kNotComputedKind = 78240;
inline constexpr int kBeforeStationKind = 78250;
inline constexpr int kReplacedObservationsKind = 78260;
inline constexpr int kUnappliedOffsetsKind = 78270;
inline constexpr int kLevellingRecordsKind = 78280;
// Line ranges, and what the levelling books leave out and where.
inline constexpr int kLineRange = 73000;                // %1 first line, %2 last line
inline constexpr int kFileAndSheet = 73010;             // %1 file, %2 sheet
inline constexpr int kIntermediateSightLeftOut = 73020; // %1 file, %2 line
inline constexpr int kIntermediateSightsLeftOut = 73030;// %1 file, %2 count, %3 lines
inline constexpr int kPointNamesDifferInCase = 74000;  // %1 %2 file, line, %3 name, %4 other, %5 %6 its file, line
inline constexpr int kGamaSectionBackToStart = 74100;  // %1 %2 file, line, %3 point, %4 Gama file
// The window's panels, labels, file types and the lists of the port dialog.
inline constexpr int kStatusVersion = 76000;        // %1 version, %2 build
inline constexpr int kStatusSurveyData = 76010;
inline constexpr int kLampPanelCaption = 76020;
inline constexpr int kLampCaptions = 76030;         // + 10 per lamp, 9 lamps from TxEmpty to CTS
inline constexpr int kAboutTitle = 76120;
inline constexpr int kNoDesktopOpener = 76130;      // + path
inline constexpr int kManualTitle = 76140;
inline constexpr int kOpenInBrowser = 76150;
inline constexpr int kSplashTotalMemory = 76160;
inline constexpr int kSplashMemoryLeft = 76170;
inline constexpr int kLettersToNumbers = 76180;
inline constexpr int kPointListLayoutGroup = 76190;
inline constexpr int kLayoutAutomatic = 76200;
inline constexpr int kLayoutOwn = 76210;
inline constexpr int kLayoutCass = 76220;
inline constexpr int kProgramName = 76230;
inline constexpr int kSurveyDataFiles = 76300;
inline constexpr int kTextFiles = 76310;
inline constexpr int kDataFiles = 76320;
inline constexpr int kAllFiles = 76330;
inline constexpr int kDxfFiles = 76340;
inline constexpr int kCorFiles = 76350;
inline constexpr int kOrgFiles = 76360;
inline constexpr int kIn2Files = 76370;
inline constexpr int kWorkbookFiles = 76380;
inline constexpr int kTransferLogFiles = 76390;
inline constexpr int kParityNames = 76400;          // + 10 per parity: none, odd, even, mark, space
inline constexpr int kFlowDefault = 76450;
// Leica GSI.
inline constexpr int kGsiUnknownUnit = 81000;        // %1 file, %2 line, %3 word index, %4 code
inline constexpr int kGsiBadValue = 81010;           // %1 file, %2 line, %3 word, %4 code, %5 data
inline constexpr int kGsiUnknownMethod = 81020;      // %1 file, %2 line, %3 method code
inline constexpr int kNotGsiJob = 81030;
inline constexpr int kGsiCodeBlocksKind = 81040;
inline constexpr int kGsiPointIdsKind = 81050;
inline constexpr int kGsiCheckAdjustKind = 81060;
inline constexpr int kGsiOtherReadingsKind = 81070;
inline constexpr int kGsiDirectionsKind = 81080;
inline constexpr int kGsiWithoutStationKind = 81090;
inline constexpr int kGsiPointsWritten = 81100;      // %1 count
inline constexpr int kGsiStationsWritten = 81110;    // %1 count
inline constexpr int kGsiDownloads = 81120;          // %1 file, %2 count, %3 lines
}  // namespace msg

// Items joined by the language's list comma, the last two by its "and" when
// `andLast` and all are named ("3, 5 and 7"); `more` items left unnamed are
// told after them ("3, 5, 7 and 4 more").
std::string ListOf(const std::vector<std::string>& items, const MessageTexts& texts, bool andLast,
                   std::size_t more = 0);

// The catalogue shipped with the program, found through FindDataFile.
inline constexpr const char* kMessageCatalogueFile = "messages.txt";

}  // namespace tarvosen
