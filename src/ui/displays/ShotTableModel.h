#pragma once

#include "core/shot/ShotRecord.h"

#include <QAbstractTableModel>
#include <QHeaderView>

namespace kavlon {

// The sample table of a Data display as a view sees it: rows after the two heading
// rows of the record's cell store, texts made only for the cells on screen.
class ShotTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ShotTableModel(const ShotRecord& record, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Around any change of the record's rows or cells, or of the shown columns:
    // views drop what they hold of the old table first.
    void beginReload() { beginResetModel(); }
    void endReload(int columns);
    int shownColumns() const { return m_columns; }

    // The group heading of a column ("CH I" over columns 1 and 2), from heading row 0.
    QString groupHeading(int column) const;

private:
    QString cell(int column, int row) const;

    const ShotRecord& m_record;
    int m_columns = ShotCells::kColumns;
    char m_decimalSeparator = '.';
};

// A header of two lines: the channel over its value and voltage columns, then the
// column's own heading, as the two fixed rows of the table.
class TwoRowHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit TwoRowHeader(QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

} // namespace kavlon
