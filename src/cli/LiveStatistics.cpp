#include "cli/LiveStatistics.h"
#include "cli/SettingSteps.h"

#include "cli/ShotRetries.h"
#include "cli/TextTable.h"

#include "core/measure/MeasureLayout.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace kavlon::cli {

namespace {

Outcome measureShots(CommandSession& session, int shots, MeasureStatistics& statistics) {
    for (int shot = 1; shot <= shots; ++shot) {
        ShotRecord record;
        Outcome outcome =
            captureWholeShot(session, record, kDefaultShotRetries, [shot](const std::string& why) {
                std::fprintf(stderr, "kavloncli: shot %d: %s\n", shot, why.c_str());
            });
        if (!outcome.ok()) {
            outcome.message = "shot " + std::to_string(shot) + ": " + outcome.message;
            return outcome;
        }
        const MeasureCopy copy = takeMeasureCopy(record);
        statistics.add(measureResults(copy), shownChannels(copy));
    }
    return Outcome::success();
}

QJsonValue number(std::optional<double> value) {
    return value ? QJsonValue(*value) : QJsonValue();
}

} // namespace

std::string statisticsTable(const MeasureStatistics& statistics) {
    std::vector<std::vector<std::string>> rows;
    rows.emplace_back(kStatisticsHeadings.begin(), kStatisticsHeadings.end());
    for (const StatisticsLine& line : statisticsLines(statistics)) {
        auto& cells = rows.emplace_back();
        for (int c = 0; c < kStatisticsColumns; ++c)
            cells.push_back(statisticsText(statistics, line, StatisticsColumn(c)));
    }
    const std::uint64_t shots = statistics.shots();
    return std::to_string(shots) + (shots == 1 ? " shot\n" : " shots\n") + alignedTable(rows);
}

std::string statisticsJson(const MeasureStatistics& statistics) {
    QJsonArray channels;
    for (int k = 0; k < kChannels; ++k) {
        if (!statistics.includes(k))
            continue;
        QJsonArray rows;
        for (int r = 0; r < kMeasureRows; ++r) {
            const RowStatistics& s = statistics.row(k, r);
            rows.append(QJsonObject{
                {"name",
                 QString::fromUtf8(statisticsText(statistics, {k, r}, StatisticsColumn::Measurement))},
                {"unit", QString::fromUtf8(unitText(kMeasureUnits[std::size_t(r)]))},
                {"last", number(s.last.defined() ? std::optional(s.last.value) : std::nullopt)},
                {"minimum", number(s.values.minimum())},
                {"maximum", number(s.values.maximum())},
                {"mean", number(s.values.mean())},
                {"deviation", number(s.values.deviation())},
                {"count", qint64(s.values.count())},
            });
        }
        channels.append(QJsonObject{{"channel", k + 1},
                                    {"name", QString::fromUtf8(kMeasureChannelNames[std::size_t(k)])},
                                    {"measurements", rows}});
    }
    const QJsonObject root{{"source", "live"}, {"shots", qint64(statistics.shots())}, {"channels", channels}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

int runLiveStatistics(const CommandLine& line, const BackendMaker& makeBackend,
                      const LiveStatisticsJob& job) {
    CommandSession session(makeBackend(line.simulate()), line.sessionOptions());
    MeasureStatistics statistics;
    Outcome outcome = session.connect();
    if (outcome.ok())
        outcome = applyTargets(session, job.targets);
    if (outcome.ok())
        outcome = measureShots(session, job.shots, statistics);
    if (!outcome.ok())
        return finish(outcome);
    if (statisticsLines(statistics).empty())
        return finish(Outcome::failure(ExitCode::Usage, "no channel is on (kavloncli set --channels)"));
    std::fputs((job.json ? statisticsJson(statistics) : statisticsTable(statistics)).c_str(), stdout);
    return int(ExitCode::Ok);
}

} // namespace kavlon::cli
