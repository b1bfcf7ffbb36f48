#include "UiHelpers.h"

#include "ui/dialogs/SelectDisplayDlg.h"
#include "ui/displays/DataDisplay.h"
#include "ui/displays/FFTDisplay.h"
#include "ui/displays/MeasureDisplay.h"
#include "ui/displays/ScopeDisplay.h"
#include "ui/mainwindow/FrontPanel.h"

#include <QListWidget>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>
#include <QtTest/QTest>

#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

namespace kavlon {
namespace {

QStringList listEntries(TMainForm& form) {
    QStringList entries;
    auto* list = form.frontPanel()->ListBox1;
    for (int i = 0; i < list->count(); ++i)
        entries << list->item(i)->text();
    return entries;
}

QStringList captions(TMainForm& form) {
    QStringList out;
    for (auto* d : form.childDisplays())
        out << d->windowTitle();
    return out;
}

void deleteEntry(TMainForm& form, const QString& caption) {
    auto* list = form.frontPanel()->ListBox1;
    list->setCurrentItem(list->findItems(caption, Qt::MatchExactly).first());
    form.Delete_BtnClick();
    test::processDeletes();
}

class DisplayList : public ::testing::Test {
protected:
    test::Bench bench;
    TMainForm& form = *bench.form;
    const std::array<int, 100>& numbers = form.acquisition().State.DisplaySlots;
};

TEST_F(DisplayList, NumbersAreTheFirstFreeOnesInCreationOrder) {
    form.Data_TBClick();
    form.Scope_TBClick();
    form.Data_TBClick();
    form.Measure_TBClick();
    EXPECT_EQ(listEntries(form), (QStringList{"Data00", "Scope01", "Data02", "Measure03"}));
    EXPECT_EQ(captions(form), listEntries(form));

    deleteEntry(form, "Scope01");
    EXPECT_EQ(listEntries(form), (QStringList{"Data00", "Data02", "Measure03"}));
    EXPECT_EQ(numbers[1], -1);
    form.FFT_TBClick();
    EXPECT_EQ(listEntries(form).last(), "FFT01");
    EXPECT_EQ(numbers[1], 1);

    form.Reset_BtnClick();
    test::processDeletes();
    EXPECT_TRUE(form.childDisplays().isEmpty());
    EXPECT_TRUE(listEntries(form).isEmpty());
    form.Measure_TBClick();
    EXPECT_EQ(listEntries(form), QStringList{"Measure00"});

    for (int i = 0; i < 10; ++i)
        form.Data_TBClick();
    EXPECT_EQ(listEntries(form).last(), "Data10");
}

TEST_F(DisplayList, NinetySevenWindowsAreTheLimit) {
    for (int i = 0; i < 97; ++i)
        form.Data_TBClick();
    EXPECT_EQ(listEntries(form).last(), "Data96");
    form.Data_TBClick();
    form.Scope_TBClick();
    form.Measure_TBClick();
    form.FFT_TBClick();
    EXPECT_EQ(form.childDisplays().size(), 97);
    EXPECT_EQ(listEntries(form).size(), 97);

    deleteEntry(form, "Data40");
    form.Scope_TBClick();
    EXPECT_EQ(listEntries(form).last(), "Scope40");
}

TEST_F(DisplayList, EachKindHasItsCaptionAndSize) {
    form.Data_TBClick();
    form.Scope_TBClick();
    form.Measure_TBClick();
    form.FFT_TBClick();
    const auto displays = form.childDisplays();
    ASSERT_EQ(displays.size(), 4);
    EXPECT_NE(qobject_cast<TMDIChild_Data*>(displays[0]), nullptr);
    EXPECT_NE(qobject_cast<TMDIChild_Scope*>(displays[1]), nullptr);
    EXPECT_NE(qobject_cast<TMDIChild_Math*>(displays[2]), nullptr);
    EXPECT_NE(qobject_cast<TMDIChild_FFT*>(displays[3]), nullptr);
    EXPECT_EQ(displays[0]->clientSize(), QSize(500, 440));
    EXPECT_EQ(displays[1]->clientSize(), QSize(630, 475));
    // 322 x 497 as designed, wider where the source box needs room for its captions.
    EXPECT_EQ(displays[2]->clientSize(), qobject_cast<TMDIChild_Math*>(displays[2])->designClientSize());
    EXPECT_GE(displays[2]->clientSize().width(), 322);
    EXPECT_EQ(displays[3]->height(), 210);
    EXPECT_EQ(displays[3]->width(), 680);
}

TEST_F(DisplayList, ClosingADisplayFreesItsNumberAndEntry) {
    form.Data_TBClick();
    form.Scope_TBClick();
    // The quick print's pair carries its number after the longer kind words.
    auto* qp = form.CreateScopeDisplay("QP_Scope05");
    form.frontPanel()->ListBox1->addItem("QP_Scope05");
    form.acquisition().State.DisplaySlots[5] = 5;
    auto* unnumbered = form.CreateScopeDisplay("/home/user/trace.bmp");

    form.childDisplays()[1]->close();
    qp->close();
    unnumbered->close();
    test::processDeletes();
    EXPECT_EQ(listEntries(form), QStringList{"Data00"});
    EXPECT_EQ(numbers[1], -1);
    EXPECT_EQ(numbers[5], -1);
    EXPECT_EQ(numbers[0], 0);
    EXPECT_EQ(captions(form), QStringList{"Data00"});
}

TEST_F(DisplayList, DeleteClosesTheLastDisplayWithTheSelectedCaption) {
    form.Data_TBClick();
    auto* twin = form.CreateDataDisplay("Data00"); // same caption, later in child order
    auto* list = form.frontPanel()->ListBox1;
    form.Delete_BtnClick(); // nothing selected
    test::processDeletes();
    EXPECT_EQ(form.childDisplays().size(), 2);

    list->setCurrentRow(0);
    form.Delete_BtnClick();
    EXPECT_TRUE(twin->isClosing());
    test::processDeletes();
    ASSERT_EQ(form.childDisplays().size(), 1);
    EXPECT_TRUE(listEntries(form).isEmpty());
}

TEST_F(DisplayList, AClosedDisplayStillWaitingForDeletionGoesWithTheWindow) {
    form.Data_TBClick();
    form.Scope_TBClick();
    QPointer<QMdiSubWindow> closed = form.childDisplays()[0];
    closed->close();
    bench.form.reset(); // before the deferred deletion runs: the sanitizer build watches this
    EXPECT_TRUE(closed.isNull());
    test::processDeletes();
}

TEST_F(DisplayList, SourceBoxesOfferDataDisplaysOnly) {
    form.Data_TBClick();
    form.Scope_TBClick();
    form.Measure_TBClick();
    form.frontPanel()->ListBox1->addItem("QP_Data07");
    form.frontPanel()->ListBox1->addItem("QP_Scope07");
    form.Data_TBClick();
    EXPECT_EQ(form.sourceCandidates(), (QStringList{"Data00", "QP_Data07", "Data03"}));
}

TEST_F(DisplayList, RefreshAsksForTheShotUnderTheDisplaysCaption) {
    bench.connect();
    form.Data_TBClick();
    auto* data = qobject_cast<TMDIChild_Data*>(form.childDisplays()[0]);
    ASSERT_TRUE(data->RefreshBtn->isEnabled()) << "created while connected";
    data->RefreshBtn->click();
    EXPECT_FALSE(data->RefreshBtn->isEnabled());
    EXPECT_EQ(form.acquisition().State.RequestName, "Data00");
    ASSERT_EQ(bench.device->reports.size(), 1u);
    EXPECT_EQ(bench.device->command(0)[0], 0x0E);
}

// The Add button's dialog: what the user does in it, and what is listed after.
TEST_F(DisplayList, AddMakesTheChosenKindWithTheNumberChosenBeforeTheDialog) {
    struct Case {
        const char* what;
        std::function<bool(TSelectDisplayDlg&)> user;
        QStringList listed;
    };
    auto pick = [](int row, bool confirm) {
        return [row, confirm](TSelectDisplayDlg& d) {
            d.SelectListBox->setCurrentRow(row);
            return confirm;
        };
    };
    auto doubleClick = [](int row) {
        return [row](TSelectDisplayDlg& d) {
            d.setResult(QDialog::Rejected);
            QListWidget* list = d.SelectListBox;
            const QPoint at = list->visualItemRect(list->item(row)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            return d.result() == QDialog::Accepted;
        };
    };
    const Case cases[] = {
        {"cancelled with Data Display chosen", pick(1, false), {}},
        {"confirmed with nothing chosen", [](TSelectDisplayDlg&) { return true; }, {}},
        {"Scope Display", pick(0, true), {"Scope00"}},
        {"double-click on Measure Display", doubleClick(2), {"Measure00"}},
        {"a quick print takes the number meanwhile",
         [this](TSelectDisplayDlg& d) {
             form.Data_TBClick();
             d.SelectListBox->setCurrentRow(1);
             return true;
         },
         {"Data00", "Data01"}},
    };
    for (const Case& c : cases) {
        form.Reset_BtnClick();
        test::processDeletes();
        // The dialog starts with nothing chosen, whatever was chosen last time.
        bench.dialogs.onModal = [&c](QDialog& d) {
            auto& dialog = static_cast<TSelectDisplayDlg&>(d);
            EXPECT_EQ(dialog.chosen(), -1) << c.what;
            EXPECT_EQ(dialog.windowTitle(), "Select Display");
            return c.user(dialog);
        };
        form.Add_BtnClick();
        EXPECT_EQ(listEntries(form), c.listed) << c.what;
        EXPECT_EQ(captions(form), c.listed) << c.what;
        const auto taken = std::count_if(numbers.begin(), numbers.end(), [](int n) { return n != -1; });
        EXPECT_EQ(taken, c.listed.size()) << c.what;
    }

    form.Reset_BtnClick();
    test::processDeletes();
    for (int i = 0; i < 97; ++i)
        form.Data_TBClick();
    bool shown = false;
    bench.dialogs.onModal = [&shown](QDialog&) { return shown = true; };
    form.Add_BtnClick();
    EXPECT_FALSE(shown) << "with 97 windows open the dialog is not shown";
    EXPECT_EQ(form.childDisplays().size(), 97);
}

} // namespace
} // namespace kavlon
