#pragma once

#include "ui/displays/DisplayWindow.h"
#include "ui/displays/MeasureDisplayFace.h"

#include "core/measure/MeasureSignal.h"

class QFrame;
class QLabel;
class QPushButton;

namespace kavlon {

class SourceBox;

// A Measure display: 22 measurements per channel of a Data display's shot, as a
// table with one column per shown channel beside a column of pictograms.
class TMDIChild_Math : public TMDIChild {
    Q_OBJECT
public:
    explicit TMDIChild_Math(DisplayHost& host);

    MeasureCopy copy;
    // The numbers of the last measurement, and the texts the table shows.
    MeasureResults results{};
    MeasureCellTable MeasureCells{};

    SourceBox* ComboBox1 = nullptr;
    QPushButton* RefreshBtn = nullptr;
    QFrame* Ch_Panel = nullptr;
    QWidget* Channel_PB = nullptr;
    QFrame* Grid_Panel = nullptr;
    QLabel* Symbol_Image = nullptr;
    QWidget* Grid_PB = nullptr;

    // The designed client area, wider by what the source box needed.
    QSize designClientSize() const { return {322 + m_shift, 497}; }

    // What the other displays may read of this one.
    MeasureDisplayFace face() const;

    // Measures the copy, fills the cells of the enabled channels and redraws.
    void MeasureSignal();

public slots:
    void ComboBox1Enter();
    void ComboBox1Change();
    void FormMouseMove();
    // Lays the window out for the shown channels and redraws heading and table.
    void Grid_PBPaint();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paintHeading(QPainter& painter) const;
    void paintTable(QPainter& painter) const;

    // How far the heading and table sit right of their designed places.
    int m_shift = 0;
};

} // namespace kavlon
