#include "ScopeFixture.h"

#include "ui/displays/MeasureDisplay.h"

#include "core/measure/MeasureLayout.h"

#include <QCheckBox>
#include <QMouseEvent>
#include <QPushButton>

namespace kavlon {
namespace {

using namespace test;

class MeasureWindow : public ScopeWindow {
protected:
    TMDIChild_Math* newMeasure() {
        form.Measure_TBClick();
        return qobject_cast<TMDIChild_Math*>(form.childDisplays().last());
    }
    static void choose(TMDIChild_Math* measure, const QString& caption) {
        measure->ComboBox1Enter();
        measure->ComboBox1->setCurrentIndex(measure->ComboBox1->findText(caption));
        measure->RefreshBtn->click();
    }
    // Whether anything white (text) is painted in the table's cell of row r (0-based)
    // in the value column starting at x.
    static bool written(const QImage& table, int x, int row) {
        for (int y = 1 + 21 * row; y < 21 * (row + 1) && y < table.height(); ++y)
            for (int i = x; i < x + 110 && i < table.width(); ++i)
                if ((table.pixel(i, y) & 0xFFFFFF) == 0xFFFFFF)
                    return true;
        return false;
    }
};

// A square wave with a 40-sample period, so every row has a value.
int square(int, int i) {
    return (i / 20) % 2 ? 100 : 140;
}

TEST_F(MeasureWindow, TheShownChannelsDecideSizeColumnsAndPhaseRows) {
    struct Case {
        const char* name;
        int channels;
        std::array<bool, 4> on;
        QSize grid;
        std::vector<int> columns; // where values are written
        bool phaseRows;
    };
    const Case cases[] = {
        {"channel I alone", 4, {true, false, false, false}, {242, 378}, {125}, false},
        {"channels I and III", 4, {true, false, true, false}, {363, 462}, {125, 246}, true},
        {"channels II and IV without I", 4, {false, true, false, true}, {363, 462}, {125, 246}, false},
        {"a two-channel shot counts I and II only",
         2,
         {true, true, true, true},
         {363, 462},
         {125, 246},
         true},
    };
    // One window through every case: it grows and shrinks with each new shot.
    TMDIChild_Math* measure = newMeasure();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TMDIChild_Data* data = dataWithShot({.channels = c.channels, .on = c.on, .raw = square});
        choose(measure, data->windowTitle());
        EXPECT_EQ(measure->Grid_PB->size(), c.grid);
        const QSize design = measure->designClientSize();
        const int columns = int(c.columns.size());
        // The designed heights, and the row of Follow and Statistics below the table.
        EXPECT_EQ(measure->clientSize(),
                  QSize(design.width() + 121 * (columns - 1),
                        (columns == 1 ? 413 : 497) + TMDIChild_Math::kControlRowHeight));
        const QImage table = measure->Grid_PB->grab().toImage();
        for (int x : c.columns) {
            EXPECT_TRUE(written(table, x, 0)) << x;
            EXPECT_TRUE(written(table, x, 17)) << x;
            if (table.height() > 21 * 19) {
                EXPECT_EQ(written(table, x, 18), c.phaseRows) << x;
            }
        }
        EXPECT_FALSE(written(table, c.columns.back() + 121, 0)) << "no column past the shown channels";
    }
}

TEST_F(MeasureWindow, ACopyEnablesIncludeMeasuresAndAnEmptySourceChangesNothing) {
    TMDIChild_Math* measure = newMeasure();
    form.Data_TBClick();
    auto* empty = qobject_cast<TMDIChild_Data*>(form.childDisplays().last());
    const QSize before = measure->size();
    choose(measure, empty->windowTitle());
    EXPECT_EQ(measure->size(), before);
    EXPECT_EQ(measure->MeasureCells[0][0], "");
    EXPECT_FALSE(empty->incMeasureCB->isEnabled());

    TMDIChild_Data* data = dataWithShot({.on = {true, false, false, false}, .raw = square});
    choose(measure, data->windowTitle());
    EXPECT_TRUE(data->incMeasureCB->isEnabled());
    EXPECT_EQ(measure->MeasureCells[0][0], "1.7 V");
    EXPECT_EQ(measure->MeasureCells[0][kFirstPhaseRow], "  XXXXXXXXX");
    EXPECT_EQ(measure->MeasureCells[1][0], "") << "channel II was off";
    // What the export and other displays read: the texts and the numbers behind them.
    const MeasureDisplayFace face = measure->face();
    EXPECT_EQ(&face.cells, &measure->MeasureCells);
    EXPECT_EQ(face.results[0].rows[0].value, double(80.0f / 48)) << "80 screen units at 1 V / Div";
    EXPECT_EQ(face.results[0].rows[0].unit, MeasureUnit::Volt);
    EXPECT_FALSE(face.results[1].measured);
}

TEST_F(MeasureWindow, MovingThePointerRefillsTheBoxButKeepsTheChoice) {
    TMDIChild_Math* measure = newMeasure();
    TMDIChild_Data* data = dataWithShot({.raw = square});
    choose(measure, data->windowTitle());
    form.Data_TBClick();
    QMouseEvent move(QEvent::MouseMove, QPointF(200, 495), QPointF(200, 495), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(measure->widget(), &move);
    EXPECT_EQ(measure->ComboBox1->count(), 2);
    EXPECT_EQ(measure->ComboBox1->currentText(), data->windowTitle());

    // A newer shot in the chosen display comes with Refresh.
    giveShot(data,
             {.on = {true, false, false, false}, .raw = [](int, int i) { return (i / 20) % 2 ? 100 : 148; }});
    measure->RefreshBtn->click();
    EXPECT_EQ(measure->MeasureCells[0][0], "2.0 V");
}

} // namespace
} // namespace kavlon
