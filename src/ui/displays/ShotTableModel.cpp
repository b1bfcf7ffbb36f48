#include "ui/displays/ShotTableModel.h"

#include "ui/DecimalSeparator.h"

#include <QLocale>
#include <QPainter>

namespace kavlon {

ShotTableModel::ShotTableModel(const ShotRecord& record, QObject* parent)
    : QAbstractTableModel(parent), m_record(record), m_decimalSeparator(localeDecimalSeparator()) {}

int ShotTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return std::max(0, m_record.Cells.rowCount() - ShotCells::kHeadingRows);
}

int ShotTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_columns;
}

QString ShotTableModel::cell(int column, int row) const {
    const CellText text = m_record.Cells.cellText(column, row, m_decimalSeparator);
    return QString::fromLatin1(text.chars.data(), qsizetype(text.size));
}

QVariant ShotTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return cell(index.column(), index.row() + ShotCells::kHeadingRows);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant ShotTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return cell(section, 1);
}

QString ShotTableModel::groupHeading(int column) const {
    return cell(column, 0);
}

void ShotTableModel::endReload(int columns) {
    m_columns = std::clamp(columns, 1, ShotCells::kColumns);
    endResetModel();
}

TwoRowHeader::TwoRowHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(false);
    setDefaultAlignment(Qt::AlignCenter);
}

QSize TwoRowHeader::sizeHint() const {
    QSize size = QHeaderView::sizeHint();
    size.setHeight(2 * fontMetrics().height() + 6);
    return size;
}

void TwoRowHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    const auto* shot = qobject_cast<const ShotTableModel*>(model());
    const int half = rect.height() / 2;
    const QRect lower(rect.left(), rect.top() + half, rect.width(), rect.height() - half);

    painter->save();
    painter->fillRect(rect, palette().button());
    painter->setPen(palette().mid().color());
    painter->drawLine(lower.topLeft(), lower.topRight());
    // A value column shares its upper half with its voltage column: no border there.
    const bool joinedAbove = shot && logicalIndex % 2 == 1 && logicalIndex + 1 < shot->columnCount();
    painter->drawLine(joinedAbove ? lower.topRight() : rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    painter->setPen(palette().buttonText().color());
    painter->drawText(lower, Qt::AlignCenter, model()->headerData(logicalIndex, Qt::Horizontal).toString());

    // A channel's heading sits over both of its columns: the value column paints it
    // across itself and its neighbour.
    if (shot && logicalIndex % 2 == 1) {
        QRect upper(rect.left(), rect.top(), rect.width() + sectionSize(logicalIndex + 1), half);
        painter->setClipRect(QRect(rect.left(), rect.top(), rect.width(), half));
        painter->drawText(upper, Qt::AlignCenter, shot->groupHeading(logicalIndex));
    } else if (shot && logicalIndex > 0) {
        QRect upper(rect.left() - sectionSize(logicalIndex - 1), rect.top(),
                    rect.width() + sectionSize(logicalIndex - 1), half);
        painter->setClipRect(QRect(rect.left(), rect.top(), rect.width(), half));
        painter->drawText(upper, Qt::AlignCenter, shot->groupHeading(logicalIndex - 1));
    }
    painter->restore();
}

} // namespace kavlon
