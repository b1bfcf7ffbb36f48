#include "UiHelpers.h"
#include "support/TinyFileSystem.h"

#include "ui/dialogs/SettingsForm.h"
#include "ui/displays/DisplayWindow.h"
#include "ui/mainwindow/FrontPanel.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace kavlon {
namespace {

using test::ScriptedDialogs;

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;

// Where the main window's frame is centred on the test screen, whole.
QPoint centredFrame(const TMainForm& form) {
    const QSize frame = form.frameGeometry().size();
    return {std::max(0, (kScreenWidth - frame.width()) / 2),
            std::max(0, (kScreenHeight - frame.height()) / 2)};
}

QString readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void writeFile(const QString& path, const QByteArray& text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

struct Started {
    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    std::unique_ptr<TMainForm> form;

    explicit Started(const QByteArray* settings = nullptr) {
        if (settings)
            writeFile(folder.filePath("KavlonPC.INI"), *settings);
        form = std::make_unique<TMainForm>(folder.path(), &dialogs, test::noInstrument());
        form->show();
    }
    QString settingsText() const { return readFile(folder.filePath("KavlonPC.INI")); }
};

TEST(MainWindowStart, FirstRunWithoutAFileIsCentredAtTheDesignedSize) {
    Started run;
    TMainForm& form = *run.form;
    EXPECT_EQ(form.windowTitle(), "MDI-Anwendung");
    EXPECT_EQ(form.size(), QSize(1034, 745));
    EXPECT_EQ(form.pos(), centredFrame(form));
    EXPECT_FALSE(form.QuickPrintOptions.Grid);
    EXPECT_FALSE(form.QuickPrintOptions.Invert);
    EXPECT_FALSE(form.QuickPrintOptions.Color);
    EXPECT_EQ(form.QuickPrintOptions.PrintAs, 0);

    // The options dialog shows "Printer" and three empty boxes.
    run.dialogs.onModal = [](QDialog& d) {
        auto& settings = static_cast<TSettingsForm&>(d);
        EXPECT_EQ(settings.windowTitle(), "Settings");
        EXPECT_EQ(settings.PrintAsGroup->checkedButton()->text(), "Printer");
        EXPECT_FALSE(settings.Grid_CB->isChecked());
        EXPECT_FALSE(settings.Invert_CB->isChecked());
        EXPECT_FALSE(settings.Color_CB->isChecked());
        return false;
    };
    form.ToolButton15Click();

    form.close();
    const QString written = run.settingsText();
    EXPECT_EQ(
        written,
        QString("[Main]\nLeft=%1\nTop=%2\nWidth=1034\nHeight=745\nGrid=0\nInvert=0\nColor=0\nPrintAs=0\n")
            .arg(centredFrame(form).x())
            .arg(centredFrame(form).y()));
    EXPECT_TRUE(run.dialogs.errors.empty());
}

TEST(MainWindowStart, StoredSizesDecideButNeverThePlace) {
    struct Case {
        const char* name;
        QByteArray file;
        bool expectMinimum; // width and height 0: the window's smallest size
        QSize size;
        bool grid, invert, color;
        int printAs;
    };
    const Case cases[] = {
        {"header only", "[Main]\n", true, {}, true, true, false, 0},
        {"far off screen",
         "[Main]\nLeft=-30000\nTop=90000\nWidth=900\nHeight=760\nColor=1\nPrintAs=2\n",
         false,
         {900, 760},
         true,
         true,
         true,
         2},
        {"hexadecimal",
         "[Main]\nWidth=0x384\nHeight=0x2F8\nGrid=0\nInvert=0x0\n",
         false,
         {900, 760},
         false,
         false,
         false,
         0},
        {"garbage",
         QByteArray("\0", 1) + "\xff[Main\nWidth=abc\n=\n[main]\nheight=  750junk\r\nPrintAs=9\n",
         false,
         {0, 750},
         true,
         true,
         false,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Started run(&c.file);
        TMainForm& form = *run.form;
        if (c.expectMinimum) {
            EXPECT_EQ(form.size(), form.minimumSizeHint().expandedTo(form.minimumSize()));
        } else if (c.size.width() > 0) {
            EXPECT_EQ(form.size(), c.size);
        } else {
            EXPECT_EQ(form.height(), c.size.height());
        }
        EXPECT_EQ(form.pos(), centredFrame(form));
        EXPECT_EQ(form.QuickPrintOptions.Grid, c.grid);
        EXPECT_EQ(form.QuickPrintOptions.Invert, c.invert);
        EXPECT_EQ(form.QuickPrintOptions.Color, c.color);
        EXPECT_EQ(form.QuickPrintOptions.PrintAs, c.printAs);
    }
}

TEST(MainWindowStart, AWindowWiderThanTheScreenStartsAtItsLeftEdge) {
    const QByteArray file = "[Main]\nWidth=5000\nHeight=-20\n";
    Started run(&file);
    EXPECT_EQ(run.form->x(), 0);
    EXPECT_LE(run.form->width(), kScreenWidth) << "kept within the screen";
    EXPECT_GE(run.form->height(), 0);
}

TEST(MainWindowStart, TheWholeFrameFitsTheScreenWhateverWasStored) {
    const QRect screen(0, 0, kScreenWidth, kScreenHeight);
    const QByteArray files[] = {
        "[Main]\nLeft=0\nTop=-9\nWidth=1034\nHeight=745\n",
        "[Main]\nLeft=2200\nTop=300\nWidth=5000\nHeight=5000\n", // a larger screen, or a second one
        "[Main]\nLeft=-1900\nTop=-1000\nWidth=1920\nHeight=1080\n",
    };
    for (const QByteArray& file : files) {
        SCOPED_TRACE(file.toStdString());
        Started run(&file);
        const QRect frame = run.form->frameGeometry();
        EXPECT_TRUE(screen.contains(frame))
            << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
        EXPECT_EQ(frame.topLeft(), centredFrame(*run.form));
    }
}

TEST(QuickPrintOptionsDialog, CancelKeepsAndOkayCopiesBack) {
    Started run;
    TMainForm& form = *run.form;
    run.dialogs.onModal = [](QDialog& d) {
        auto& settings = static_cast<TSettingsForm&>(d);
        settings.Grid_CB->setChecked(true);
        settings.PrintAsGroup->button(2)->setChecked(true);
        return false; // "Cancel"
    };
    form.ToolButton15Click();
    EXPECT_FALSE(form.QuickPrintOptions.Grid);
    EXPECT_EQ(form.QuickPrintOptions.PrintAs, 0);

    run.dialogs.onModal = [](QDialog& d) {
        auto& settings = static_cast<TSettingsForm&>(d);
        EXPECT_FALSE(settings.Grid_CB->isChecked()) << "the dialog shows the kept options again";
        EXPECT_EQ(settings.PrintAsGroup->checkedId(), 0);
        settings.Color_CB->setChecked(true);
        settings.PrintAsGroup->button(1)->setChecked(true);
        return true; // "Okay"
    };
    form.ToolButton15Click();
    EXPECT_TRUE(form.QuickPrintOptions.Color);
    EXPECT_EQ(form.QuickPrintOptions.PrintAs, 1);

    form.close();
    EXPECT_TRUE(run.settingsText().endsWith("Grid=0\nInvert=0\nColor=1\nPrintAs=1\n"));
}

TEST(MainWindowClose, WhatIsNoFileIsNeitherReadNorReplaced) {
    struct Case {
        const char* name;
        std::function<bool(const QString& path)> make;
        bool (QFileInfo::*stillThere)() const;
    };
    const Case cases[] = {
        {"a folder", [](const QString& path) { return QDir().mkdir(path); }, &QFileInfo::isDir},
        {"a named pipe", [](const QString& path) { return ::mkfifo(QFile::encodeName(path), 0600) == 0; },
         &QFileInfo::exists},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        const QString file = folder.filePath("KavlonPC.INI");
        ASSERT_TRUE(c.make(file));
        ScriptedDialogs dialogs;
        TMainForm form(folder.path(), &dialogs, test::noInstrument()); // a pipe must not hold the start
        form.show();
        EXPECT_EQ(form.size(), QSize(1034, 745)) << "read as no file at all: the first run's size";
        EXPECT_TRUE(form.close()) << "closing is allowed all the same";
        ASSERT_EQ(dialogs.errors.size(), 1u);
        const QString path = QDir::toNativeSeparators(file);
        EXPECT_EQ(dialogs.errors[0], "nach " + path + " kann nicht geschrieben werden");
        EXPECT_FALSE(dialogs.errorDetails[0].isEmpty()) << "the platform's reason goes with it";
        EXPECT_TRUE((QFileInfo(file).*c.stillThere)()) << "left alone";
        EXPECT_FALSE(QFileInfo(file).isFile());
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 0) << "no half-written file left behind";
    }
}

TEST(MainWindowClose, AFullDiskKeepsThePreviousFile) {
    test::TinyFileSystem disk(64 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << "no full disk to try: " << disk.whyNot();
    const QString folder = QString::fromStdString(disk.path());
    const QByteArray before =
        "[Main]\nLeft=0\nTop=0\nWidth=900\nHeight=700\nGrid=0\nInvert=1\nColor=1\nPrintAs=2\n";
    writeFile(folder + "/KavlonPC.INI", before);
    ScriptedDialogs dialogs;
    TMainForm form(folder, &dialogs, test::noInstrument());
    form.show();
    ASSERT_TRUE(disk.fill());

    EXPECT_TRUE(form.close());
    ASSERT_EQ(dialogs.errors.size(), 1u) << "a full disk is no silent success";
    EXPECT_EQ(dialogs.errors[0], "nach " + folder + "/KavlonPC.INI kann nicht geschrieben werden");
    EXPECT_FALSE(dialogs.errorDetails[0].isEmpty());
    EXPECT_EQ(readFile(folder + "/KavlonPC.INI").toUtf8(), before) << "the previous settings survive";
    QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    left.sort();
    EXPECT_EQ(left, QStringList({"KavlonPC.INI", "filler"})) << "no temporary file left behind";
}

TEST(MainWindowComposition, ControlsStartAsDesigned) {
    Started run;
    TMainForm& form = *run.form;
    struct Expect {
        const char* name;
        bool enabled;
        bool visible;
    };
    const Expect controls[] = {
        {"Open_TBtn", false, true},
        {"ToolButton15", true, true},
        {"Receive_ProgressBar", true, true},
        {"Data_TB", false, true},
        {"Scope_TB", false, true},
        {"Measure_TB", false, true},
        {"FFT_TB", false, true},
        {"ToolButton17", true, true},
        {"Label1", true, false},
        {"Label2", true, false},
        {"Add_Btn", false, true},
        {"Delete_Btn", false, true},
        {"Reset_Btn", false, true},
        {"ListBox1", true, true},
        {"RunStopBtn", false, true},
        {"SingleBtn", false, true},
        {"AutoScaleBtn", false, true},
        {"Timebase_lb", false, true},
        {"tb_fast_btn", false, true},
        {"tb_slow_btn", false, true},
        {"Panel3", true, true},
        {"Panel6", true, true},
        {"Channel1_cb", true, true},
        {"Channel4_cb", true, true},
        {"Channel2_volt_lb", false, true},
        {"Channel3_v_big_btn", false, true},
        {"Channel4_v_small_btn", false, true},
        {"ZeroLevel_Ch1_TB", true, true},
        {"ZeroLevel_Ch4_TB", true, true},
        {"Channel1_acdc_cb", true, true},
        {"Channel1_invert_cb", true, false},
        {"Channel4_invert_cb", true, false},
        {"FileNew1Btn", true, false},
        {"EditPaste1Btn", true, false},
    };
    for (const auto& c : controls) {
        auto* w = form.findChild<QWidget*>(c.name);
        ASSERT_NE(w, nullptr) << c.name;
        EXPECT_EQ(w->isVisible(), c.visible) << c.name;
        if (c.visible) {
            EXPECT_EQ(w->isEnabled(), c.enabled) << c.name;
        }
    }
    EXPECT_EQ(form.findChild<QPushButton*>("RunStopBtn")->text(), "Stop");
    EXPECT_EQ(form.findChild<QLabel*>("Timebase_lb")->text(), "2 nS / Div");
    EXPECT_EQ(form.findChild<QLabel*>("Channel3_volt_lb")->text(), "10 mV / Div");
    EXPECT_EQ(form.findChild<QToolButton*>("Open_TBtn")->toolTip(), "Connect to Scope");
    EXPECT_EQ(form.findChild<QToolButton*>("Data_TB")->toolTip(), "Add Data Display");
    EXPECT_EQ(form.findChild<QToolButton*>("FFT_TB")->toolTip(), "");
    EXPECT_EQ(form.findChild<QToolButton*>("ToolButton17")->text(), "Demo");
    auto* progress = form.findChild<QProgressBar*>("Receive_ProgressBar");
    EXPECT_EQ(progress->maximum(), 128);
    EXPECT_EQ(progress->value(), 0);
    EXPECT_EQ(progress->width(), 150);
    EXPECT_EQ(form.findChild<QWidget*>("LeftPanel")->width(), 169);
    EXPECT_EQ(form.findChild<QListWidget*>("ListBox1")->size(), QSize(160, 154));
    for (int c = 1; c <= 4; ++c) {
        auto* bar = form.findChild<QSlider*>(QString("ZeroLevel_Ch%1_TB").arg(c));
        EXPECT_EQ(bar->maximum(), 384);
        EXPECT_EQ(bar->value(), 196);
        EXPECT_EQ(bar->tickInterval(), 48);
        EXPECT_EQ(bar->tickPosition(), QSlider::TicksBothSides);
    }

    // Of the designed menus only "&Fenster" is shown; the others keep their actions for
    // the shortcuts. The shot files have a menu of their own before it.
    QStringList shown;
    for (QAction* a : form.menuBar()->actions())
        if (a->isVisible())
            shown << a->text();
    EXPECT_EQ(shown, (QStringList{"&Shots", "&Fenster"}));
}

TEST(MainWindowActions, ShortcutsReachTheirActionsWithTheMenusHidden) {
    Started run;
    TMainForm& form = *run.form;
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.findChild<QListWidget*>("ListBox1")->setFocus();

    struct Shortcut {
        QAction* action;
        QKeyCombination keys;
    };
    const Shortcut shortcuts[] = {{form.EditCut1, Qt::CTRL | Qt::Key_X},
                                  {form.EditCopy1, Qt::CTRL | Qt::Key_C},
                                  {form.EditPaste1, Qt::CTRL | Qt::Key_V}};
    for (const auto& s : shortcuts) {
        QSignalSpy spy(s.action, &QAction::triggered);
        QTest::keyClick(QApplication::focusWidget(), s.keys.key(), s.keys.keyboardModifiers());
        EXPECT_EQ(spy.count(), 1) << s.action->objectName().toStdString();
    }

    // Ctrl+O: a picture window named after the file, with no number and no list entry.
    run.dialogs.fileToOpen = "/tmp/picture.bmp";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(form.childDisplays().size(), 1);
    EXPECT_EQ(form.childDisplays()[0]->windowTitle(), "/tmp/picture.bmp");
    EXPECT_EQ(form.findChild<QListWidget*>("ListBox1")->count(), 0);
    run.dialogs.fileToOpen.clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(form.childDisplays().size(), 1) << "a cancelled dialog creates nothing";
}

} // namespace
} // namespace kavlon
