#pragma once

#include "core/shot/ShotRecord.h"

#include <string>
#include <vector>

namespace kavlon::cli {

// The Measure display's table of a shot: the channels it shows, the rows it fills,
// and their texts, laid out by the same functions that place them in the window.
struct MeasureReport {
    std::vector<int> channels;                   // 1-4
    std::vector<std::string> channelNames;       // "Channel I", ...
    std::vector<std::string> rowNames;           // "Vpp", ...
    std::vector<std::vector<std::string>> cells; // [row][shown channel]
};

MeasureReport measureReport(const ShotRecord& record);

// An aligned table: a heading line, then one line per row.
std::string measureTable(const MeasureReport& report);
// The same as JSON, for scripts; source names where the shot came from.
std::string measureJson(const MeasureReport& report, const std::string& source);

} // namespace kavlon::cli
