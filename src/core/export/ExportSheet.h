#pragma once

#include "core/export/BiffWriter.h"
#include "core/measure/MeasureSignal.h"
#include "core/shot/ShotRecord.h"

#include <string_view>
#include <vector>

namespace kavlon {

// A Measure display as the export sees it: its caption, the text of its source box
// and its result cells.
struct MeasureSheetSource {
    std::string_view caption;
    std::string_view source;
    const MeasureCellTable* cells = nullptr;
};

// Everything a Data display's spreadsheet holds. Texts are UTF-8.
struct ExportContents {
    const ShotRecord* record = nullptr;
    std::string_view dataCaption;
    bool includeMeasures = true;
    // The moment of the export in the user's short date and long time format.
    std::string_view dateTime;
    // The locale's decimal mark, for the voltage cells.
    char decimalSeparator = '.';
    // Every Measure display, in the main window's child order.
    std::vector<MeasureSheetSource> measures;
};

// Names of the 22 measurement rows as the spreadsheet labels them.
extern const std::array<std::string_view, kMeasureRows> kExportMeasureNames;

// The last table column: 4 for a two-channel shot, 8 otherwise.
int lastTableColumn(const ShotRecord& record);

// The first row of measurement block b.
constexpr int measureBlockRow(int block) {
    return 24 * block + 11;
}

// A Measure display adds a block when it measures this Data display's shot.
bool addsMeasureBlock(const MeasureSheetSource& measure, std::string_view dataCaption);

// The channels (1-4) whose measurements a block holds: those on in the shot, of
// the channels the shot's instrument has.
std::vector<int> exportedChannels(const ShotRecord& record);

// The whole sheet, BOF to EOF: the table rows, the date and settings, the blocks.
void writeSheet(const ExportContents& contents, BiffWriter& writer);

} // namespace kavlon
