// The numbers a user reads, in a locale whose decimal mark is a comma: the Data table
// and labels, the Measure texts and statistics, the export, and an opened shot's labels. ctest runs
// these under LC_ALL=de_DE.UTF-8 (DecimalComma.UnderAGermanLocale) as well as in the
// ordinary run, where the same texts carry points.
#include "ScopeFixture.h"
#include "support/SheetReader.h"

#include "ui/displays/MeasureDisplay.h"
#include "ui/displays/StatisticsWindow.h"
#include "ui/mainwindow/ShotFileActions.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>

namespace kavlon {
namespace {

using namespace test;

class DecimalComma : public ScopeWindow {
protected:
    void SetUp() override {
        ScopeWindow::SetUp();
        if (qEnvironmentVariableIsSet("KAVLON_EXPECT_DECIMAL_COMMA")) {
            ASSERT_EQ(QLocale().decimalPoint(), ",") << "the run under a comma locale has none";
        }
    }
    // The text as this locale shows it: the decimal point of a number is its mark.
    static std::string marked(std::string text) {
        const std::string mark = QLocale().decimalPoint().toStdString();
        for (std::size_t at = 1; at + 1 < text.size(); ++at)
            if (text[at] == '.' && std::isdigit(static_cast<unsigned char>(text[at - 1])) &&
                std::isdigit(static_cast<unsigned char>(text[at + 1])))
                text.replace(at, 1, mark);
        return text;
    }
    static std::string cell(TMDIChild_Data* data, std::size_t row, int column) {
        return data->DataSG->model()->index(int(row), column).data().toString().toStdString();
    }
    static std::array<std::string, 3> labels(const TMDIChild_Data* d) {
        return {d->Triggerlevel_lb->text().toStdString(), d->ZeroLevelCH_lb[0]->text().toStdString(),
                d->ZeroLevelCH_lb[1]->text().toStdString()};
    }

    // A square wave on channel 1, a slope on channel 2; channels 3 and 4 off.
    static InstrumentShot shot() {
        InstrumentShot s;
        s.channels = 2;
        s.on = {true, true, false, false};
        s.zeroLevels = {121, 118, 120, 120};
        s.raw = [](int k, int i) { return k == 1 ? ((i / 50) % 2 ? 80 : 161) : 60 + (i % 97); };
        return s;
    }
};

TEST_F(DecimalComma, TheWindowsTheExportAndAnOpenedShotShowTheLocalesMark) {
    TMDIChild_Data* data = dataWithShot(shot());
    // Sample 0 and sample 60 of both channels: number, raw, volts.
    const std::vector<std::vector<std::string>> rows = {{"0", "161", "-1.7 V", "60", "2.4 V"},
                                                        {"60", "80", "1.7 V", "120", "-83.3 mV"}};
    const std::array<std::string, 3> shownLabels = {"Trigger Level : No Level", "Zero CH 1 : 5.0 V",
                                                    "Zero CH 2 : 4.9 V"};
    const auto expectTable = [&](TMDIChild_Data* d) {
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (int column = 0; column < 5; ++column)
                EXPECT_EQ(cell(d, r == 0 ? 0 : 60, column), marked(rows[r][std::size_t(column)]));
        const auto shown = labels(d);
        for (std::size_t i = 0; i < shown.size(); ++i)
            EXPECT_EQ(shown[i], marked(shownLabels[i]));
    };
    expectTable(data);

    // Vpp, Vmax, Vmin, Vrms and Vover of channel I; Vpp and Vmin of channel II.
    TMDIChild_Math* measure = measuring(data);
    const std::vector<std::pair<std::size_t, std::string>> firstChannel = {
        {0, "3.4 V"}, {1, "1.7 V"}, {2, "-1.7 V"}, {7, "1.2 V"}, {8, "0.00 %"}};
    for (const auto& [row, text] : firstChannel)
        EXPECT_EQ(measure->MeasureCells[0][row], marked(text)) << row;
    EXPECT_EQ(measure->MeasureCells[1][0], marked("4.0 V"));
    EXPECT_EQ(measure->MeasureCells[1][2], marked("-1.6 V"));

    // The sheet holds what the windows show: sample 0 in row 2, Vpp of channel I in
    // the measurement block's first row, column c0 + 4.
    ASSERT_TRUE(data->ExportBtnClick(nullptr));
    const Sheet sheet =
        readSheetFile(std::filesystem::path(bench.folder.filePath("exports/QV_00000.xls").toStdString()));
    EXPECT_EQ(sheet.at({2, 2}), marked("-1.7 V"));
    EXPECT_EQ(sheet.at({62, 4}), marked("-83.3 mV"));
    EXPECT_EQ(sheet.at({12, 8}), marked("3.4 V"));
    EXPECT_EQ(sheet.at({19, 8}), marked("1.2 V"));

    // The statistics window shows the locale's mark too; its CSV file keeps points.
    measure->StatisticsBtn->click();
    StatisticsWindow* statistics = measure->statisticsWindow();
    EXPECT_EQ(statistics->StatisticsSG->model()->index(0, 5).data().toString().toStdString(),
              marked("3.4 V"));
    bench.dialogs.fileToSave = bench.folder.filePath("statistics.csv");
    ASSERT_TRUE(statistics->SaveBtnClick());
    QFile csv(bench.dialogs.fileToSave);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_TRUE(csv.readAll().contains("\r\nVpp,Channel I,V,3.375,3.375,3.375,3.375,,1\r\n"));

    // A shot file carries points whatever the locale; opened, it shows the locale's mark.
    bench.dialogs.fileToSave = bench.folder.filePath("shot.csv");
    ASSERT_TRUE(data->SaveShotBtnClick());
    bench.dialogs.fileToOpen = bench.dialogs.fileToSave;
    form.shotFiles()->OpenShot_TB->click();
    ASSERT_TRUE(bench.dialogs.errors.empty()) << bench.dialogs.errorDetails[0].toStdString();
    auto* opened = qobject_cast<TMDIChild_Data*>(form.childDisplays().last());
    ASSERT_NE(opened, data);
    expectTable(opened);
}

} // namespace
} // namespace kavlon
