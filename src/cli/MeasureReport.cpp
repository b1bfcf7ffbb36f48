#include "cli/MeasureReport.h"

#include "core/measure/MeasureLayout.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace kavlon::cli {

namespace {

// Characters on a terminal, not bytes: µ and ° take two bytes each in UTF-8.
std::size_t width(const std::string& text) {
    return std::size_t(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string padded(const std::string& text, std::size_t to) {
    return text + std::string(to > width(text) ? to - width(text) : 0, ' ');
}

std::string trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    return std::string(text);
}

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

MeasureReport measureReport(const ShotRecord& record) {
    const MeasureCopy copy = takeMeasureCopy(record);
    MeasureCellTable cells;
    MeasureSignal(copy, cells);
    const std::vector<int> shown = shownChannels(copy);

    MeasureReport report;
    for (int k : shown)
        report.channels.push_back(k + 1);
    const auto heading = headingTexts(shown);
    for (std::size_t i = 1; i < heading.size(); ++i)
        report.channelNames.emplace_back(heading[i].text);
    // The window's placement tells which cell goes in which row and column.
    report.rowNames.resize(kMeasureRows);
    report.cells.assign(kMeasureRows, std::vector<std::string>(shown.size()));
    std::vector<bool> filled(kMeasureRows, false);
    for (const PlacedText& t : tableTexts(shown, cells)) {
        const auto row = std::size_t((t.y - 1) / kMeasureRowHeight);
        if (t.x == kMeasureCaptionX) {
            report.rowNames[row] = trimmed(t.text);
        } else {
            report.cells[row][std::size_t((t.x - kMeasureFirstValueX) / kMeasureColumnWidth)] = t.text;
            filled[row] = true;
        }
    }
    // Rows the window leaves empty for these channels (phase and delay) are left out.
    for (std::size_t r = kMeasureRows; r-- > 0;) {
        if (!filled[r]) {
            report.rowNames.erase(report.rowNames.begin() + std::ptrdiff_t(r));
            report.cells.erase(report.cells.begin() + std::ptrdiff_t(r));
        }
    }
    return report;
}

std::string measureTable(const MeasureReport& report) {
    std::size_t nameWidth = std::string_view("Measure").size();
    for (const auto& name : report.rowNames)
        nameWidth = std::max(nameWidth, width(name));
    std::vector<std::size_t> columns;
    for (std::size_t k = 0; k < report.channelNames.size(); ++k) {
        std::size_t w = width(report.channelNames[k]);
        for (const auto& row : report.cells)
            w = std::max(w, width(row[k]));
        columns.push_back(w);
    }
    auto line = [&](const std::string& first, const std::vector<std::string>& texts) {
        std::string out = padded(first, nameWidth);
        for (std::size_t k = 0; k < texts.size(); ++k)
            out += "  " + padded(texts[k], columns[k]);
        out.erase(out.find_last_not_of(' ') + 1);
        return out + "\n";
    };
    std::string table = line("Measure", report.channelNames);
    for (std::size_t r = 0; r < report.rowNames.size(); ++r)
        table += line(report.rowNames[r], report.cells[r]);
    return table;
}

std::string measureJson(const MeasureReport& report, const std::string& source) {
    QJsonArray channels;
    for (std::size_t k = 0; k < report.channels.size(); ++k) {
        QJsonArray rows;
        for (std::size_t r = 0; r < report.rowNames.size(); ++r)
            rows.append(QJsonObject{{"name", qt(report.rowNames[r])}, {"value", qt(report.cells[r][k])}});
        channels.append(QJsonObject{
            {"channel", report.channels[k]}, {"name", qt(report.channelNames[k])}, {"measurements", rows}});
    }
    const QJsonObject root{{"source", qt(source)}, {"channels", channels}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

} // namespace kavlon::cli
