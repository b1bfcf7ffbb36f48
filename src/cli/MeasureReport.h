#pragma once

#include "core/measure/MeasureResults.h"
#include "core/shot/ShotRecord.h"

#include <string>
#include <vector>

namespace kavlon::cli {

// The Measure display's table of a shot: the channels it shows, the rows it fills,
// their numbers and the texts the window shows for them.
struct MeasureReport {
    std::vector<int> channels;                      // 1-4
    std::vector<std::string> channelNames;          // "Channel I", ...
    std::vector<std::string> rowNames;              // "Vpp", ...
    std::vector<std::vector<std::string>> cells;    // [row][shown channel]
    std::vector<std::vector<MeasureResult>> values; // [row][shown channel]
};

MeasureReport measureReport(const ShotRecord& record);

// An aligned table: a heading line, then one line per row.
std::string measureTable(const MeasureReport& report);
// The same as JSON, for scripts: per row its name, its number in the base unit (null
// where the shot defines none), the unit and the text. source names where the shot
// came from.
std::string measureJson(const MeasureReport& report, const std::string& source);
// Several shots' reports as a JSON array, one object per shot as measureJson gives it.
std::string measureJsonArray(const std::vector<std::pair<MeasureReport, std::string>>& reports);

} // namespace kavlon::cli
