#include "cli/MeasureReport.h"

#include "cli/TextTable.h"

#include "core/measure/MeasureLayout.h"
#include "core/measure/MeasureSignal.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

namespace kavlon::cli {

namespace {

std::string trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    return std::string(text);
}

} // namespace

MeasureReport measureReport(const ShotRecord& record) {
    const MeasureCopy copy = takeMeasureCopy(record);
    const MeasureResults results = measureResults(copy);
    MeasureCellTable cells;
    MeasureSignal(results, cells);
    const std::vector<int> shown = shownChannels(copy);

    MeasureReport report;
    for (int k : shown) {
        report.channels.push_back(k + 1);
        report.channelNames.emplace_back(kMeasureChannelNames[std::size_t(k)]);
    }
    // The rows the window fills for these channels; the phase and delay rows only with
    // channel I beside another.
    const int rows = shown.empty() ? 0 : showsPhaseRows(shown) ? kMeasureRows : kFirstPhaseRow;
    for (int r = 0; r < rows; ++r) {
        const auto row = std::size_t(r);
        report.rowNames.push_back(trimmed(kMeasureCaptions[row]));
        auto& texts = report.cells.emplace_back();
        auto& values = report.values.emplace_back();
        for (int k : shown) {
            texts.push_back(cells[std::size_t(k)][row]);
            values.push_back(results[std::size_t(k)].rows[row]);
        }
    }
    return report;
}

std::string measureTable(const MeasureReport& report) {
    std::vector<std::vector<std::string>> rows;
    rows.push_back({"Measure"});
    rows.back().insert(rows.back().end(), report.channelNames.begin(), report.channelNames.end());
    for (std::size_t r = 0; r < report.rowNames.size(); ++r) {
        rows.push_back({report.rowNames[r]});
        rows.back().insert(rows.back().end(), report.cells[r].begin(), report.cells[r].end());
    }
    return alignedTable(rows);
}

namespace {

QJsonObject jsonOf(const MeasureReport& report, const std::string& source) {
    QJsonArray channels;
    for (std::size_t k = 0; k < report.channels.size(); ++k) {
        QJsonArray rows;
        for (std::size_t r = 0; r < report.rowNames.size(); ++r) {
            const MeasureResult& result = report.values[r][k];
            // A row without a value says so, even where the window would keep an earlier text.
            const std::string text =
                result.state == MeasureState::Kept ? std::string(kNoValue) : report.cells[r][k];
            rows.append(QJsonObject{{"name", QString::fromUtf8(report.rowNames[r])},
                                    {"value", result.defined() ? QJsonValue(result.value) : QJsonValue()},
                                    {"unit", QString::fromUtf8(unitText(result.unit))},
                                    {"text", QString::fromUtf8(text)}});
        }
        channels.append(QJsonObject{{"channel", report.channels[k]},
                                    {"name", QString::fromUtf8(report.channelNames[k])},
                                    {"measurements", rows}});
    }
    return QJsonObject{{"source", QString::fromUtf8(source)}, {"channels", channels}};
}

} // namespace

std::string measureJson(const MeasureReport& report, const std::string& source) {
    return QJsonDocument(jsonOf(report, source)).toJson(QJsonDocument::Indented).toStdString();
}

std::string measureJsonArray(const std::vector<std::pair<MeasureReport, std::string>>& reports) {
    QJsonArray shots;
    for (const auto& [report, source] : reports)
        shots.append(jsonOf(report, source));
    return QJsonDocument(shots).toJson(QJsonDocument::Indented).toStdString();
}

} // namespace kavlon::cli
