// The print the instrument asks for, end to end: the simulated instrument's quick-print
// frame through the real reader thread, the shot, and what comes out.
#include "UiHelpers.h"

#include "support/EventLoopWait.h"
#include "ui/displays/DataDisplay.h"
#include "ui/displays/ScopeDisplay.h"
#include "ui/displays/SourceBox.h"
#include "ui/mainwindow/FrontPanel.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kavlon {
namespace {

using test::waitUntil;

class QuickPrinting : public ::testing::Test {
protected:
    QuickPrinting() {
        auto owned =
            std::make_unique<SimulatedBackend>(SimulationOptions{false, std::chrono::milliseconds(0)});
        backend = owned.get();
        form = std::make_unique<TMainForm>(folder.path(), &dialogs, std::move(owned));
        form->setPrinter(&printer);
        form->show();
        form->Open_TBtn->click();
        EXPECT_TRUE(waitUntil([&] { return form->frontPanel()->Add_Btn->isEnabled(); }));
    }

    void quickPrint(int mode) {
        backend->withInstrument([mode](SimulatedInstrument& i) { i.sendQuickPrint(mode); });
    }
    QStringList captions() const {
        QStringList out;
        for (TMDIChild* d : form->childDisplays())
            out << d->windowTitle();
        return out;
    }
    // Done once no shot is asked for any more and a Scope display has shown one.
    bool settled() const {
        if (!form->acquisition().State.RequestName.empty())
            return false;
        for (TMDIChild* d : form->childDisplays())
            if (auto* scope = qobject_cast<TMDIChild_Scope*>(d); scope && scope->state.ChannelMode != 0)
                return true;
        return false;
    }
    QString exported() const { return QDir(folder.filePath("exports")).filePath("QV_00000.xls"); }

    QTemporaryDir folder;
    test::ScriptedDialogs dialogs;
    QtPicturePrinter printer{test::letterPdf(folder.filePath("printed.pdf"))};
    SimulatedBackend* backend = nullptr;
    std::unique_ptr<TMainForm> form;
};

TEST_F(QuickPrinting, TheFirstRequestMakesItsDisplaysAndTheModeChoosesTheOutput) {
    struct Case {
        int mode;
        bool printed, saveAsked, exported;
    };
    const Case cases[] = {
        {0, true, false, false},
        {2, false, true, false},
        {3, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        form->Reset_BtnClick();
        test::processDeletes();
        QFile::remove(folder.filePath("printed.pdf"));
        QFile::remove(exported());
        dialogs.saveRequests.clear();
        form->QuickPrintOptions = {true, false, false, 1};

        quickPrint(c.mode);
        ASSERT_TRUE(waitUntil([&] { return settled(); }));
        EXPECT_EQ(captions(), (QStringList{"QP_Data00", "QP_Scope01"}));
        auto* scope = qobject_cast<TMDIChild_Scope*>(form->childDisplays()[1]);
        EXPECT_EQ(scope->ComboBox1->currentText(), "QP_Data00");
        EXPECT_EQ(scope->state.PrintKind, c.mode) << "the request's mode, not the Print as option";
        EXPECT_TRUE(scope->GridCKB->isChecked());
        EXPECT_FALSE(scope->ColorCkB->isChecked());
        EXPECT_EQ(QFileInfo::exists(folder.filePath("printed.pdf")), c.printed);
        EXPECT_EQ(dialogs.saveRequests.size(), c.saveAsked ? 1u : 0u);
        EXPECT_EQ(QFileInfo::exists(exported()), c.exported);
        EXPECT_TRUE(dialogs.errors.empty());
    }
}

TEST_F(QuickPrinting, EveryQuickPrintDataDisplayIsRefreshedAndEveryPairPrinted) {
    quickPrint(1);
    ASSERT_TRUE(waitUntil([&] { return settled(); }));
    // A second Data display of the quick print, as an earlier one may have left.
    form->CreateDataDisplay("QP_Data05");
    form->frontPanel()->ListBox1->addItem("QP_Data05");
    dialogs.saveRequests.clear();
    auto* first = qobject_cast<TMDIChild_Data*>(form->childDisplays()[0]);
    auto* second = qobject_cast<TMDIChild_Data*>(form->childDisplays()[2]);

    quickPrint(2);
    ASSERT_TRUE(
        waitUntil([&] { return second->record.HasShot && form->acquisition().State.RequestName.empty(); }));
    EXPECT_EQ(first->record.QuickOutputKind, 2);
    EXPECT_EQ(second->record.QuickOutputKind, 2);
    EXPECT_EQ(captions(), (QStringList{"QP_Data00", "QP_Scope01", "QP_Data05"})) << "no second Scope display";
    auto* scope = qobject_cast<TMDIChild_Scope*>(form->childDisplays()[1]);
    EXPECT_EQ(scope->ComboBox1->currentText(), "QP_Data05") << "the last quick-print Data display listed";
    EXPECT_EQ(dialogs.saveRequests.size(), 2u) << "one picture per pair";
}

} // namespace
} // namespace kavlon
