#pragma once

#include "cli/CommandLine.h"
#include "cli/SettingTargets.h"

#include "core/measure/MeasureStatistics.h"

#include <string>

namespace kavlon::cli {

// kavloncli measure --live --stats: the Measure display's statistics over shots taken
// in a row, as its statistics window shows them.
struct LiveStatisticsJob {
    int shots = 10;
    bool json = false;
    // Applied before the first shot.
    SettingTargets targets;
};
constexpr int kMostStatisticsShots = 100000;

// Takes the shots (one that lost frames is asked for once more), measures each and
// prints the statistics; the exit status.
int runLiveStatistics(const CommandLine& line, const BackendMaker& makeBackend, const LiveStatisticsJob& job);

// The statistics as aligned text: a line with the count of shots, the headings, then a
// line per measurement and channel, '.' the decimal mark.
std::string statisticsTable(const MeasureStatistics& statistics);
// The same as JSON for scripts: per channel and measurement the unit, the statistics as
// numbers in that unit (null where there is none) and the count of shots that defined it.
std::string statisticsJson(const MeasureStatistics& statistics);

} // namespace kavlon::cli
