// Shot files through the windows: saved from a Data display, opened into a new one by
// the toolbar, the menu, a drop or the recent list, and refused when damaged.
#include "ScopeFixture.h"

#include "support/EventLoopWait.h"
#include "support/SameShot.h"
#include "ui/mainwindow/FrontPanel.h"
#include "ui/mainwindow/ShotFileActions.h"

#include "core/export/SheetFile.h"

#include <QAction>
#include <QDropEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QUrl>

#include <fstream>

namespace kavlon {
namespace {

using namespace test;
namespace fs = std::filesystem;

class ShotFileWindow : public ScopeWindow {
protected:
    QString path(const QString& name) const { return bench.folder.filePath(name); }

    // Saves the display's shot through its button under name.
    void save(TMDIChild_Data* data, const QString& name) {
        bench.dialogs.fileToSave = path(name);
        ASSERT_TRUE(data->SaveShotBtn->isEnabled());
        data->SaveShotBtn->click();
        ASSERT_TRUE(bench.dialogs.errors.empty()) << bench.dialogs.errorDetails.front().toStdString();
    }
    // Opens a file through the toolbar's button; the new display, if one came.
    TMDIChild_Data* open(const QString& file) {
        bench.dialogs.fileToOpen = file;
        const auto before = form.childDisplays().size();
        form.shotFiles()->OpenShot_TB->click();
        if (form.childDisplays().size() == before)
            return nullptr;
        return qobject_cast<TMDIChild_Data*>(form.childDisplays().last());
    }
    static std::array<QString, 8> labels(const TMDIChild_Data* d) {
        return {d->Trigger_lb->text(),        d->Triggerlevel_lb->text(),   d->Timebase_lb->text(),
                d->RealTimebase_lb->text(),   d->ZeroLevelCH_lb[0]->text(), d->ZeroLevelCH_lb[1]->text(),
                d->ZeroLevelCH_lb[2]->text(), d->ZeroLevelCH_lb[3]->text()};
    }
};

TEST_F(ShotFileWindow, ASavedShotOpensInANewDataDisplayJustAsDelivered) {
    struct Case {
        const char* name;
        InstrumentShot shot;
        int columns;
        int width;
    };
    const Case cases[] = {
        {"four channels, one off", {.timebase = 3, .on = {true, true, false, true}}, 9, 500},
        {"two channels", {.channels = 2, .timebase = 9, .zeroLevels = {100, 140, 0, 0}}, 5, 293},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMDIChild_Data* original = dataWithShot(c.shot);
        save(original, "shot.csv");
        TMDIChild_Data* opened = open(path("shot.csv"));
        ASSERT_NE(opened, nullptr) << bench.dialogs.errorDetails.front().toStdString();
        EXPECT_NE(opened, original);
        expectSameShot(opened->record, original->record);
        EXPECT_EQ(labels(opened), labels(original));
        EXPECT_EQ(opened->gridColumns(), c.columns);
        opened->resize(700, 300);
        EXPECT_EQ(opened->width(), c.width) << "the shot's layout, whatever the instrument has";
        EXPECT_TRUE(opened->SaveShotBtn->isEnabled());
        EXPECT_TRUE(opened->ExportBtn->isEnabled());
        EXPECT_FALSE(opened->RefreshBtn->isEnabled()) << "no instrument is connected";
        EXPECT_TRUE(form.sourceCandidates().contains(opened->windowTitle())) << "every source box offers it";
        EXPECT_EQ(opened->DataSG->model()->index(5, 3).data(), original->DataSG->model()->index(5, 3).data());
    }
}

TEST_F(ShotFileWindow, AnOpenedShotCanBeAnalysedWithoutAnInstrumentAndComesToTheFront) {
    TMDIChild_Data* original = dataWithShot({});
    save(original, "offline.csv");
    // A fresh window that no instrument ever reported to.
    test::Bench fresh;
    TMainForm& window = *fresh.form;
    window.show();
    for (QWidget* w : std::initializer_list<QWidget*>{window.frontPanel()->Add_Btn, window.Data_TB,
                                                      window.Scope_TB, window.Measure_TB, window.FFT_TB})
        ASSERT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    window.Scope_TBClick();
    fresh.dialogs.fileToOpen = path("offline.csv");
    window.shotFiles()->OpenShot_TB->click();
    ASSERT_EQ(window.childDisplays().size(), 2);
    auto* opened = qobject_cast<TMDIChild_Data*>(window.childDisplays().last());
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(window.mdiArea()->activeSubWindow(), opened) << "in front of the display that was active";
    for (QWidget* w : std::initializer_list<QWidget*>{
             window.frontPanel()->Add_Btn, window.frontPanel()->Delete_Btn, window.frontPanel()->Reset_Btn,
             window.Data_TB, window.Scope_TB, window.Measure_TB, window.FFT_TB})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_FALSE(window.frontPanel()->RunStopBtn->isEnabled()) << "nothing to send commands to";
    EXPECT_FALSE(opened->RefreshBtn->isEnabled());
}

TEST_F(ShotFileWindow, ADamagedFileChangesNothing) {
    TMDIChild_Data* original = dataWithShot({});
    save(original, "good.csv");
    std::ifstream in(fs::path(path("good.csv").toStdString()), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    std::ofstream(fs::path(path("bad.csv").toStdString()), std::ios::binary)
        << text.replace(text.find("# trigger source,"), 18, "# trigger source,9");
    ExportContents contents;
    contents.record = &original->record;
    ASSERT_TRUE(exportSheet(fs::path(path("export.xls").toStdString()), contents).result.saved);
    // A terminal's clear-screen and a NUL where the version belongs.
    std::ofstream(fs::path(path("escapes.csv").toStdString()), std::ios::binary)
        << std::string("# KavlonPC shot,\x1b[2J\0x\r\n", 24);

    struct Case {
        const char* file;
        const char* detail;
    };
    const Case cases[] = {
        {"bad.csv", "line 10: trigger source 9 is outside 0..5"},
        {"export.xls", "a spreadsheet export holds the table as texts"},
        {"missing.csv", "No such file or directory"},
        {"escapes.csv", "line 1: the format version \"\\x1b[2J\\x00x\" is no version number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        bench.dialogs.errors.clear();
        bench.dialogs.errorDetails.clear();
        const QStringList list = form.sourceCandidates();
        EXPECT_EQ(open(path(c.file)), nullptr);
        EXPECT_EQ(form.childDisplays().size(), 1);
        EXPECT_EQ(form.sourceCandidates(), list);
        ASSERT_EQ(bench.dialogs.errors.size(), 1u);
        EXPECT_EQ(bench.dialogs.errors[0], "Cannot open " + path(c.file));
        EXPECT_TRUE(bench.dialogs.errorDetails[0].startsWith(c.detail))
            << bench.dialogs.errorDetails[0].toStdString();
    }
    EXPECT_EQ(form.shotFiles()->recent(), std::vector<std::string>{path("good.csv").toStdString()});
}

TEST_F(ShotFileWindow, SavingWhereNoFileCanBeSaysWhyAndLeavesNothing) {
    TMDIChild_Data* data = dataWithShot({});
    bench.dialogs.fileToSave = path("no/such/folder/shot.csv");
    EXPECT_FALSE(data->SaveShotBtnClick());
    ASSERT_EQ(bench.dialogs.errors.size(), 1u);
    EXPECT_EQ(bench.dialogs.errors[0], "Cannot write " + path("no/such/folder/shot.csv"));
    EXPECT_EQ(bench.dialogs.errorDetails[0], "No such file or directory");
    EXPECT_TRUE(form.shotFiles()->recent().empty());

    form.Data_TBClick();
    auto* empty = qobject_cast<TMDIChild_Data*>(form.childDisplays().last());
    EXPECT_FALSE(empty->SaveShotBtn->isEnabled()) << "nothing to save before the first shot";
}

TEST_F(ShotFileWindow, DroppedFilesAndTheRecentListOpenShotsToo) {
    TMDIChild_Data* original = dataWithShot({});
    save(original, "a.csv");
    save(original, "b.csv");

    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path("a.csv"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &drop);
    ASSERT_EQ(form.childDisplays().size(), 2);
    expectSameShot(qobject_cast<TMDIChild_Data*>(form.childDisplays().last())->record, original->record);

    const std::vector<std::string> recent = {path("a.csv").toStdString(), path("b.csv").toStdString()};
    EXPECT_EQ(form.shotFiles()->recent(), recent);
    QMenu* menu = form.shotFiles()->ShotMenu;
    emit menu->aboutToShow();
    auto* second = menu->findChild<QAction*>("RecentShot2");
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->text().endsWith("b.csv"));
    second->trigger();
    EXPECT_EQ(form.childDisplays().size(), 3);
    EXPECT_EQ(form.shotFiles()->recent().front(), path("b.csv").toStdString());

    // A file that is gone leaves the list when the menu next opens.
    fs::remove(fs::path(path("a.csv").toStdString()));
    emit menu->aboutToShow();
    EXPECT_EQ(form.shotFiles()->recent(), std::vector<std::string>{path("b.csv").toStdString()});
}

TEST(ShotFileSettings, TheRecentListOutlivesTheProgram) {
    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    const QString shot = folder.filePath("kept.csv");
    {
        TMainForm form(folder.path(), &dialogs, noInstrument());
        form.shotFiles()->remember(shot);
        form.close();
    }
    TMainForm again(folder.path(), &dialogs, noInstrument());
    EXPECT_EQ(again.shotFiles()->recent(), std::vector<std::string>{shot.toStdString()});
    EXPECT_TRUE(dialogs.errors.empty());
}

} // namespace
} // namespace kavlon
