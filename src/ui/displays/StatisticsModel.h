#pragma once

#include "core/measure/MeasureStatistics.h"

#include <QAbstractTableModel>

#include <vector>

namespace kavlon {

// A Measure display's statistics as a table view sees them: a row per measurement and
// channel, a column per statistic, texts made only for the cells on screen.
class StatisticsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit StatisticsModel(const MeasureStatistics& statistics, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The statistics changed. True when rows came or went (the view's selection and
    // column widths then start afresh); otherwise the cells change in place.
    bool refresh();

private:
    const MeasureStatistics& m_statistics;
    std::vector<StatisticsLine> m_lines;
    char m_decimalSeparator = '.';
};

} // namespace kavlon
