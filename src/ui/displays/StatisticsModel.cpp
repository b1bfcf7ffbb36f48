#include "ui/displays/StatisticsModel.h"

#include "ui/DecimalSeparator.h"

namespace kavlon {

StatisticsModel::StatisticsModel(const MeasureStatistics& statistics, QObject* parent)
    : QAbstractTableModel(parent), m_statistics(statistics), m_lines(statisticsLines(statistics)),
      m_decimalSeparator(localeDecimalSeparator()) {}

int StatisticsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_lines.size());
}

int StatisticsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kStatisticsColumns;
}

QVariant StatisticsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(m_lines.size()) || index.column() >= kStatisticsColumns)
        return {};
    const auto column = StatisticsColumn(index.column());
    if (role == Qt::TextAlignmentRole) {
        const bool words = column == StatisticsColumn::Measurement || column == StatisticsColumn::Channel;
        return QVariant::fromValue(Qt::AlignVCenter | (words ? Qt::AlignLeft : Qt::AlignRight));
    }
    if (role != Qt::DisplayRole)
        return {};
    return QString::fromStdString(
        statisticsText(m_statistics, m_lines[std::size_t(index.row())], column, m_decimalSeparator));
}

QVariant StatisticsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= kStatisticsColumns)
        return QAbstractTableModel::headerData(section, orientation, role);
    const std::string_view heading = kStatisticsHeadings[std::size_t(section)];
    return QString::fromUtf8(heading.data(), qsizetype(heading.size()));
}

bool StatisticsModel::refresh() {
    std::vector<StatisticsLine> lines = statisticsLines(m_statistics);
    if (lines == m_lines) {
        if (!m_lines.empty())
            Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, kStatisticsColumns - 1), {Qt::DisplayRole});
        return false;
    }
    beginResetModel();
    m_lines = std::move(lines);
    endResetModel();
    return true;
}

} // namespace kavlon
