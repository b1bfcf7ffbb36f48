// The statistics window of a Measure display.
#include "ScopeFixture.h"

#include "ui/displays/FollowBox.h"
#include "ui/displays/StatisticsWindow.h"

#include "core/measure/StatisticsCsv.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QTableView>

namespace kavlon {
namespace {

using namespace test;

// A square wave on channel I alone, swinging `step` raw steps each side of 120: a Vpp
// of 4 * step screen units, step / 12 V at 1 V / Div.
InstrumentShot square(int step) {
    return {.on = {true, false, false, false},
            .raw = [step](int, int i) { return (i / 20) % 2 ? 120 - step : 120 + step; }};
}

class StatisticsWindowTest : public ScopeWindow {
protected:
    // Three shots of Vpp 10/12, 20/12 and 30/12 V measured by a following Measure display.
    void SetUp() override {
        ScopeWindow::SetUp();
        data = dataWithShot(square(10));
        measure = measuring(data);
        measure->FollowCB->click();
        for (int step : {20, 30}) {
            giveShot(data, square(step));
            for (int i = 0; i < 3; ++i)
                QCoreApplication::processEvents();
        }
        measure->StatisticsBtn->click();
        window = measure->statisticsWindow();
    }
    QString cell(int row, int column) const {
        return window->StatisticsSG->model()->index(row, column).data().toString();
    }
    QStringList line(int row) const {
        QStringList cells;
        for (int c = 0; c < window->StatisticsSG->model()->columnCount(); ++c)
            cells << cell(row, c);
        return cells;
    }

    TMDIChild_Data* data = nullptr;
    TMDIChild_Math* measure = nullptr;
    StatisticsWindow* window = nullptr;
};

TEST_F(StatisticsWindowTest, ShowsEachMeasurementOverTheShotsInATable) {
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Statistics of " + measure->windowTitle());
    EXPECT_EQ(window->Shots_lb->text(), "3 shots since the last reset");
    ASSERT_EQ(window->StatisticsSG->model()->rowCount(), kMeasureRows) << "channel I alone";
    EXPECT_EQ(window->StatisticsSG->model()->headerData(6, Qt::Horizontal).toString(), "Std. deviation");
    // Mean 20/12, deviation 10/12: every number as the Measure display writes it.
    EXPECT_EQ(line(0),
              (QStringList{"Vpp", "Channel I", "2.5 V", "833.3 mV", "2.5 V", "1.7 V", "833.3 mV", "3"}));
    EXPECT_EQ(line(kFirstPhaseRow).mid(2), (QStringList{"XXXXXXXXX", "---", "---", "---", "---", "0"}));
    EXPECT_EQ(window->ResetBtn->text(), "Reset");
    EXPECT_EQ(window->CopyBtn->text(), "Copy");
    EXPECT_EQ(window->SaveBtn->text(), "Save...");
    EXPECT_EQ(measure->StatisticsBtn->text(), "Statistics");
}

TEST_F(StatisticsWindowTest, TheSameShotLoadedAgainCountsOnce) {
    measure->RefreshBtn->click();
    measure->RefreshBtn->click();
    EXPECT_EQ(measure->statistics.shots(), 3u);
    giveShot(data, square(20));
    QCoreApplication::processEvents();
    EXPECT_EQ(measure->statistics.shots(), 4u);
    EXPECT_EQ(window->Shots_lb->text(), "4 shots since the last reset");
    EXPECT_EQ(cell(0, 2), "1.7 V") << "the window follows";
}

TEST_F(StatisticsWindowTest, ResetStartsAgain) {
    window->ResetBtn->click();
    EXPECT_EQ(measure->statistics.shots(), 0u);
    EXPECT_EQ(window->StatisticsSG->model()->rowCount(), 0);
    EXPECT_EQ(window->Shots_lb->text(), "0 shots since the last reset");
    EXPECT_FALSE(window->CopyBtn->isEnabled());
    EXPECT_FALSE(window->SaveBtn->isEnabled());
    // The shot shown may start the new series.
    measure->RefreshBtn->click();
    EXPECT_EQ(window->Shots_lb->text(), "1 shot since the last reset");
    EXPECT_EQ(line(0), (QStringList{"Vpp", "Channel I", "2.5 V", "2.5 V", "2.5 V", "2.5 V", "---", "1"}));
}

TEST_F(StatisticsWindowTest, CopyAndSaveGiveTheTable) {
    window->CopyBtn->click();
    const QStringList lines = QGuiApplication::clipboard()->text().split('\n');
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], "Measurement\tChannel\tLast\tMinimum\tMaximum\tMean\tStd. deviation\tShots defined");
    EXPECT_EQ(lines[1], "Vpp\tChannel I\t2.5 V\t833.3 mV\t2.5 V\t1.7 V\t833.3 mV\t3");

    bench.dialogs.fileToSave = bench.folder.filePath("stats.csv");
    EXPECT_TRUE(window->SaveBtnClick());
    EXPECT_EQ(bench.dialogs.saveRequests.back().proposedName, measure->windowTitle() + " statistics.csv");
    QFile file(bench.dialogs.fileToSave);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), statisticsCsv(measure->statistics));

    bench.dialogs.fileToSave = bench.folder.filePath("missing/stats.csv");
    EXPECT_FALSE(window->SaveBtnClick());
    ASSERT_EQ(bench.dialogs.errors.size(), 1u);
    EXPECT_TRUE(bench.dialogs.errors[0].startsWith("Cannot write ")) << bench.dialogs.errors[0].toStdString();
    bench.dialogs.fileToSave.clear();
    EXPECT_FALSE(window->SaveBtnClick()) << "cancelled";
    EXPECT_EQ(bench.dialogs.errors.size(), 1u);
}

TEST_F(StatisticsWindowTest, TheWindowGoesWithItsMeasureDisplay) {
    const QPoint over = window->frameGeometry().center() - form.frameGeometry().center();
    EXPECT_LE(over.manhattanLength(), 2) << "opens centred on the main window, not at the screen's corner";
    window->move(window->pos() + QPoint(40, 30));
    const QPoint movedTo = window->pos();
    measure->StatisticsBtn->click();
    EXPECT_EQ(window->pos(), movedTo) << "opened again, it stays where the user put it";
    EXPECT_EQ(measure->statisticsWindow(), window) << "one window, brought to the front";
    QPointer<StatisticsWindow> watched = window;
    measure->close();
    processDeletes();
    EXPECT_TRUE(watched.isNull());
}

} // namespace
} // namespace kavlon
