#pragma once

#include "ui/displays/DisplayWindow.h"
#include "ui/displays/MeasureDisplayFace.h"

#include "core/measure/MeasureSignal.h"
#include "core/measure/MeasureStatistics.h"

#include <cstdint>

class QFrame;
class QLabel;
class QPushButton;

namespace kavlon {

class FollowBox;
class SourceBox;
class StatisticsWindow;

// A Measure display: 22 measurements per channel of a Data display's shot, as a
// table with one column per shown channel beside a column of pictograms.
class TMDIChild_Math : public TMDIChild {
    Q_OBJECT
public:
    // The row below the table that holds Follow and Statistics.
    static constexpr int kControlRowHeight = 22;

    explicit TMDIChild_Math(DisplayHost& host);

    MeasureCopy copy;
    // The numbers of the last measurement, and the texts the table shows.
    MeasureResults results{};
    MeasureCellTable MeasureCells{};
    // The measurements over the shots loaded since the statistics were last reset.
    MeasureStatistics statistics;

    SourceBox* ComboBox1 = nullptr;
    QPushButton* RefreshBtn = nullptr;
    QFrame* Ch_Panel = nullptr;
    QWidget* Channel_PB = nullptr;
    QFrame* Grid_Panel = nullptr;
    QLabel* Symbol_Image = nullptr;
    QWidget* Grid_PB = nullptr;
    FollowBox* FollowCB = nullptr;
    QPushButton* StatisticsBtn = nullptr;

    // The designed client area, wider by what the source box needed and higher by the
    // row below the table.
    QSize designClientSize() const { return {322 + m_shift, 497 + kControlRowHeight}; }
    // The statistics window once it has been opened, or null.
    StatisticsWindow* statisticsWindow() const { return m_statisticsWindow; }

    // What the other displays may read of this one.
    MeasureDisplayFace face() const;

    // Measures the copy, fills the cells of the enabled channels and redraws.
    void MeasureSignal();
    void sourceShotTaken(const QString& caption) override;

public slots:
    void ComboBox1Enter();
    void ComboBox1Change();
    void FormMouseMove();
    // Lays the window out for the shown channels and redraws heading and table.
    void Grid_PBPaint();
    // Opens the statistics window, or brings it to the front.
    void StatisticsBtnClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paintHeading(QPainter& painter) const;
    void paintTable(QPainter& painter) const;
    void placeControlRow();
    // The measurements just made join the statistics, unless they are of the shot
    // counted last (the same shot loaded again).
    void countShot(std::uint64_t shotSerial);

    // How far the heading and table sit right of their designed places.
    int m_shift = 0;
    std::uint64_t m_countedSerial = 0;
    StatisticsWindow* m_statisticsWindow = nullptr;
};

} // namespace kavlon
