#pragma once
// What an export could not use as it stands, gathered while reading the raw
// records and reported as one warning per kind, naming stations and lines.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "app/workspace.h"
#include "i18n/message_catalogue.h"

namespace tarvosen {

struct CommandContext;

// Stations named with the line of their set-up (or of the record at fault).
class StationList {
  public:
    void add(std::string_view station, std::size_t line);
    bool empty() const { return entries_.empty(); }
    std::size_t size() const { return entries_.size(); }
    // "A1 (line 3), B2 (line 9)", at most ten, then "and 4 more".
    std::string describe(const MessageTexts& texts = {}) const;

  private:
    std::vector<std::pair<std::string, std::size_t>> entries_;
};

// "3, 5, 7", at most ten, then "and 4 more".
std::string DescribeLines(const std::vector<std::size_t>& lines, const MessageTexts& texts = {});

struct RecordNotes {
    std::vector<std::size_t> beforeFirstSetUp;  // observation lines
    StationList extraObservations;              // a fifth observation or more
    StationList missingFace;                    // a target without face I or II
    StationList oddObservation;                 // a target with one observation
    StationList moreThanTwoTargets;
    StationList longNames;

    // Warns about the observations left out while reading; `product` names
    // the output in the chosen language ("the adjustment text").
    void reportReading(CommandContext& ctx, std::string_view product) const;
    // Warns about stations whose data are incomplete or do not fit.
    void reportStations(CommandContext& ctx) const;
};

// Said when the raw data hold no set-up record at all; names the first line
// that is no raw record ("ST,...", "CO,..."), when there is one.
std::string NoSetUpMessage(const Workspace& raw, const MessageTexts& texts = {});

}  // namespace tarvosen
