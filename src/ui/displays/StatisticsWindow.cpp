#include "ui/displays/StatisticsWindow.h"

#include "ui/DecimalSeparator.h"
#include "ui/dialogs/OutputFolders.h"
#include "ui/dialogs/UserDialogs.h"
#include "ui/displays/DataDisplay.h"
#include "ui/displays/DisplayHost.h"
#include "ui/displays/StatisticsModel.h"

#include "core/measure/MeasureStatistics.h"
#include "core/measure/StatisticsCsv.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace kavlon {

namespace {

QPushButton* button(const QString& name, const QString& caption, const QString& tip, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setStatusTip(tip);
    b->setToolTip(tip);
    return b;
}

} // namespace

StatisticsWindow::StatisticsWindow(DisplayHost& host, const MeasureStatistics& statistics,
                                   const QString& measureCaption, QWidget* owner)
    : QWidget(owner, Qt::Window), m_host(host), m_statistics(statistics), m_measureCaption(measureCaption) {
    setObjectName("StatisticsWindow");
    setWindowTitle(QString("Statistics of %1").arg(measureCaption));

    Shots_lb = new QLabel(this);
    Shots_lb->setObjectName("Shots_lb");
    ResetBtn = button("ResetBtn", "Reset", "Forget every shot so far and start again", this);
    CopyBtn = button("CopyBtn", "Copy", "Put the table on the clipboard as tab-separated text", this);
    SaveBtn = button("SaveBtn", "Save...", "Write the table to a CSV file", this);
    auto* row = new QHBoxLayout;
    row->addWidget(Shots_lb, 1);
    for (QPushButton* b : {ResetBtn, CopyBtn, SaveBtn})
        row->addWidget(b);

    m_model = new StatisticsModel(statistics, this);
    StatisticsSG = new QTableView(this);
    StatisticsSG->setObjectName("StatisticsSG");
    StatisticsSG->setModel(m_model);
    StatisticsSG->verticalHeader()->hide();
    StatisticsSG->verticalHeader()->setDefaultSectionSize(StatisticsSG->fontMetrics().height() + 6);
    StatisticsSG->setAlternatingRowColors(true);
    StatisticsSG->setSelectionBehavior(QAbstractItemView::SelectRows);

    auto* column = new QVBoxLayout(this);
    column->addLayout(row);
    column->addWidget(StatisticsSG);
    connect(ResetBtn, &QPushButton::clicked, this, &StatisticsWindow::resetRequested);
    connect(CopyBtn, &QPushButton::clicked, this, &StatisticsWindow::CopyBtnClick);
    connect(SaveBtn, &QPushButton::clicked, this, &StatisticsWindow::SaveBtnClick);
    refresh();
    fitColumns();
}

void StatisticsWindow::fitColumns() {
    StatisticsSG->resizeColumnsToContents();
    // Figures change from shot to shot: room for the widest a number can be, so the
    // columns do not cut them later.
    const int figure = StatisticsSG->fontMetrics().horizontalAdvance("-888.8 mV") + 12;
    for (int c = int(StatisticsColumn::Last); c <= int(StatisticsColumn::Deviation); ++c)
        StatisticsSG->setColumnWidth(c, std::max(StatisticsSG->columnWidth(c), figure));
    fitWidth();
}

void StatisticsWindow::fitWidth() {
    // As wide as the columns, so the figures of a line stay together; no wider than
    // the screen.
    int width = 2 * StatisticsSG->frameWidth() + StatisticsSG->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < m_model->columnCount(); ++c)
        width += StatisticsSG->columnWidth(c);
    const QMargins margins = layout()->contentsMargins();
    width = std::max(width + margins.left() + margins.right(), minimumSizeHint().width());
    if (const QScreen* screen = this->screen())
        width = std::min(width, screen->availableGeometry().width());
    resize(width, isVisible() ? height() : 520);
}

StatisticsWindow::~StatisticsWindow() {
    StatisticsSG->setModel(nullptr);
}

void StatisticsWindow::refresh() {
    const std::uint64_t shots = m_statistics.shots();
    Shots_lb->setText(shots == 1 ? QString("1 shot since the last reset")
                                 : QString("%1 shots since the last reset").arg(shots));
    if (m_model->refresh())
        fitColumns();
    const bool any = m_model->rowCount() > 0;
    CopyBtn->setEnabled(any);
    SaveBtn->setEnabled(any);
}

void StatisticsWindow::CopyBtnClick() {
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(statisticsTabText(m_statistics, localeDecimalSeparator())));
}

bool StatisticsWindow::SaveBtnClick() {
    const QString folder = outputFolder(m_host.programDirectory(), TMDIChild_Data::kExportFolder);
    const QString chosen = m_host.dialogs().chooseSaveFile(
        this, {folder, m_measureCaption + " statistics.csv", "csv", {"CSV files (*.csv)", "All files (*)"}});
    if (chosen.isEmpty())
        return false;
    const SaveResult result = saveStatisticsCsv(toPath(chosen), m_statistics);
    if (!result.saved)
        m_host.dialogs().showError(
            this, QString("Cannot write %1").arg(shownFileText(QDir::toNativeSeparators(chosen))),
            QString::fromLocal8Bit(result.reason));
    return result.saved;
}

} // namespace kavlon
