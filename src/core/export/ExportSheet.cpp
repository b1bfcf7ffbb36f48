#include "core/export/ExportSheet.h"

namespace kavlon {

const std::array<std::string_view, kMeasureRows> kExportMeasureNames = {
    "Vpp",    "Vmax",   "Vmin",      "Vavg",      "Vtamp",     "Vtop",      "Vbase",         "Vrms",
    "Vover",  "Vpre",   "Frequency", "Rise Time", "Fall Time", "Period",    "+ Pulse Width", "- Pulse Width",
    "+ Duty", "- Duty", "Phase",     "+ Delay",   "- Delay",   "+/- Delay",
};

namespace {

constexpr std::array<std::string_view, kChannels> kChannelHeadings = {
    "Channel I",
    "Channel II",
    "Channel III",
    "Channel IV",
};

void writeTable(const ShotRecord& record, int lastColumn, char decimalSeparator, BiffWriter& writer) {
    const int rows = record.Cells.rowCount();
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column <= lastColumn; ++column)
            writer.writeLabel(column, row, record.Cells.cellText(column, row, decimalSeparator).view());
}

void writeSettings(const ExportContents& contents, int column, BiffWriter& writer) {
    const ShotRecord& record = *contents.record;
    writer.writeLabel(column, 1, contents.dateTime);
    writer.writeLabel(column, 3, record.TriggerText);
    writer.writeLabel(column, 4, record.TriggerLevelText);
    writer.writeLabel(column, 5, record.TimebaseText);
    writer.writeLabel(column, 6, record.RealTimebaseText);
}

void writeMeasureBlock(const MeasureSheetSource& measure, const std::vector<int>& channels, int firstRow,
                       int namesColumn, BiffWriter& writer) {
    writer.writeLabel(namesColumn, firstRow, measure.caption);
    for (int i = 0; i < kMeasureRows; ++i)
        writer.writeLabel(namesColumn, firstRow + 1 + i, kExportMeasureNames[std::size_t(i)]);
    int column = namesColumn + 2;
    for (int channel : channels) {
        const MeasureColumn& cells = (*measure.cells)[std::size_t(channel - 1)];
        writer.writeLabel(column, firstRow, kChannelHeadings[std::size_t(channel - 1)]);
        for (int i = 0; i < kMeasureRows; ++i)
            writer.writeLabel(column, firstRow + 1 + i, cells[std::size_t(i)]);
        column += 2;
    }
}

} // namespace

int lastTableColumn(const ShotRecord& record) {
    return record.ChannelMode == 2 ? 4 : 8;
}

bool addsMeasureBlock(const MeasureSheetSource& measure, std::string_view dataCaption) {
    return measure.cells != nullptr && measure.caption.starts_with("Measure") &&
           measure.source == dataCaption;
}

std::vector<int> exportedChannels(const ShotRecord& record) {
    // A two-channel shot leaves channels III and IV unanalysed, whatever their flags say.
    const int present = record.ChannelMode == 2 ? 2 : kChannels;
    std::vector<int> channels;
    for (int k = 1; k <= present; ++k)
        if (record.ChannelOn[std::size_t(k - 1)])
            channels.push_back(k);
    return channels;
}

void writeSheet(const ExportContents& contents, BiffWriter& writer) {
    const ShotRecord& record = *contents.record;
    const int lastColumn = lastTableColumn(record);
    writer.writeBOF(0);
    writeTable(record, lastColumn, contents.decimalSeparator, writer);
    writeSettings(contents, lastColumn + 2, writer);
    if (contents.includeMeasures) {
        const std::vector<int> channels = exportedChannels(record);
        int block = 0;
        for (const MeasureSheetSource& measure : contents.measures)
            if (addsMeasureBlock(measure, contents.dataCaption))
                writeMeasureBlock(measure, channels, measureBlockRow(block++), lastColumn + 2, writer);
    }
    writer.writeEOF();
}

} // namespace kavlon
