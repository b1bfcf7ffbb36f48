#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QTableView;

namespace kavlon {

class DisplayHost;
class MeasureStatistics;
class StatisticsModel;

// The statistics of a Measure display in a window of its own: last, minimum, maximum,
// mean, standard deviation and the count of shots that defined each measurement of
// each shown channel, over the shots the display loaded since the last reset. It
// belongs to its Measure display and goes with it.
class StatisticsWindow : public QWidget {
    Q_OBJECT
public:
    StatisticsWindow(DisplayHost& host, const MeasureStatistics& statistics, const QString& measureCaption,
                     QWidget* owner);
    ~StatisticsWindow() override;

    QLabel* Shots_lb = nullptr;
    QPushButton* ResetBtn = nullptr;
    QPushButton* CopyBtn = nullptr;
    QPushButton* SaveBtn = nullptr;
    QTableView* StatisticsSG = nullptr;

    // The statistics changed: the table and the count of shots show them anew.
    void refresh();

signals:
    // The user wants the statistics started again; the Measure display holds them.
    void resetRequested();

public slots:
    // The table as tab-separated text on the clipboard.
    void CopyBtnClick();
    // The table as a CSV file the user names; true when it was written.
    bool SaveBtnClick();

private:
    void fitColumns();
    void fitWidth();

    DisplayHost& m_host;
    const MeasureStatistics& m_statistics;
    QString m_measureCaption;
    StatisticsModel* m_model = nullptr;
};

} // namespace kavlon
