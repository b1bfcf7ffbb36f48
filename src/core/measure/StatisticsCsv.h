#pragma once

#include "core/files/AtomicFile.h"
#include "core/measure/MeasureStatistics.h"

#include <filesystem>
#include <string>

namespace kavlon {

// The statistics table for a spreadsheet or a script: RFC 4180 (CR LF), UTF-8, a
// heading line, then one line per measurement and channel. The statistics are numbers
// in the row's base unit, named in the Unit column, with '.' as the decimal mark
// whatever the locale, each the shortest text that reads back as the same double; a
// field is empty where there is no number.
std::string statisticsCsv(const MeasureStatistics& statistics);

// Writes it through AtomicFile; the platform's reason on failure.
SaveResult saveStatisticsCsv(const std::filesystem::path& path, const MeasureStatistics& statistics,
                             const FileCalls& calls = {});

} // namespace kavlon
