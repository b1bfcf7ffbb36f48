#include "UiHelpers.h"

#include "support/EventLoopWait.h"
#include "ui/dialogs/SettingsForm.h"
#include "ui/displays/DataDisplay.h"
#include "ui/displays/FFTDisplay.h"
#include "ui/displays/MeasureDisplay.h"
#include "ui/displays/ScopeDisplay.h"
#include "ui/displays/SourceBox.h"
#include "ui/mainwindow/FrontPanel.h"
#include "ui/mainwindow/GuidedDemo.h"
#include "ui/mainwindow/HintBalloon.h"

#include <QCursor>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kavlon {
namespace {

// The tour on a clock a thousand times fast, with the demonstration shot made at once.
class Tour : public ::testing::Test {
protected:
    Tour() {
        form.acquisition().setDemoPause([](std::chrono::milliseconds) {});
        demo.setTimeDivisor(1000);
    }

    // Runs the current step's action and prepares the next, the timers kept still.
    void runActionsUpTo(int position) {
        while (demo.ScriptPosition < position) {
            demo.ScrollTimer->stop();
            demo.DemoTimer->stop();
            demo.DemoTimerTimer();
        }
        demo.ScrollTimer->stop();
    }

    bool panelInStartState() const {
        const FrontPanel& p = *form.frontPanel();
        const QWidget* off[] = {p.Add_Btn,      p.Delete_Btn,    p.Reset_Btn,   p.RunStopBtn,  p.SingleBtn,
                                p.AutoScaleBtn, p.tb_fast_btn,   p.tb_slow_btn, p.Timebase_lb, form.Data_TB,
                                form.Scope_TB,  form.Measure_TB, form.FFT_TB};
        for (const QWidget* w : off)
            if (w->isEnabled())
                return false;
        for (const ChannelControls& c : p.channels)
            if (c.voltLabel->isEnabled() || c.biggerBtn->isEnabled() || c.smallerBtn->isEnabled() ||
                c.panel->isHidden())
                return false;
        return true;
    }

    test::Bench bench;
    TMainForm& form = *bench.form;
    GuidedDemo& demo = form.demo();
};

TEST_F(Tour, ScriptedActionsOpenEveryDisplayAndPointThemAtTheShot) {
    form.ToolButton17Click();
    ASSERT_TRUE(form.acquisition().DemoMode);
    EXPECT_EQ(demo.ScriptLength, 29);

    runActionsUpTo(14);
    EXPECT_TRUE(form.SettingsForm->isVisible());
    EXPECT_FALSE(form.SettingsForm->isModal()) << "the options are shown beside the tour, not over it";
    runActionsUpTo(28);
    const auto* data = qobject_cast<TMDIChild_Data*>(form.findDisplay("Data00"));
    const auto* scope = qobject_cast<TMDIChild_Scope*>(form.findDisplay("Scope01"));
    const auto* measure = qobject_cast<TMDIChild_Math*>(form.findDisplay("Measure02"));
    const auto* fft = qobject_cast<TMDIChild_FFT*>(form.findDisplay("FFT03"));
    ASSERT_TRUE(data && scope && measure && fft);
    ASSERT_TRUE(data->record.HasShot) << "the demonstration shot reached Data00";
    EXPECT_FALSE(data->record.TimebaseText.empty());
    EXPECT_EQ(scope->state.TimebaseText, data->record.TimebaseText);
    EXPECT_EQ(scope->ComboBox1->currentText(), "Data00");
    EXPECT_EQ(measure->face().source, "Data00");
    EXPECT_EQ(fft->shot.TimebaseText, data->record.TimebaseText);
    EXPECT_FALSE(form.SettingsForm->isVisible()) << "the options shown at step 13 are hidden again";

    runActionsUpTo(29);
    test::processDeletes();
    EXPECT_TRUE(form.childDisplays().isEmpty());
    EXPECT_EQ(form.frontPanel()->ListBox1->count(), 0);
    EXPECT_FALSE(form.acquisition().DemoMode);
    EXPECT_FALSE(form.acquisition().State.Connected);
    EXPECT_TRUE(panelInStartState());
    for (int n : form.acquisition().State.DisplaySlots)
        EXPECT_EQ(n, -1);
}

TEST_F(Tour, DisplaysTheUserHadOpenAreLeftAloneUntilTheEndClosesEveryListedOne) {
    form.Scope_TBClick(); // Scope00: the tour's displays get the numbers after it
    form.ToolButton17Click();
    runActionsUpTo(28);
    EXPECT_EQ(form.findDisplay("Data01") != nullptr, true);
    for (TMDIChild* d : form.childDisplays()) {
        if (auto* data = qobject_cast<TMDIChild_Data*>(d)) {
            EXPECT_FALSE(data->record.HasShot) << "no Data00, so no shot was asked for";
        } else if (auto* scope = qobject_cast<TMDIChild_Scope*>(d)) {
            EXPECT_TRUE(scope->ComboBox1->currentText().isEmpty()) << scope->windowTitle().toStdString();
        } else if (auto* measure = qobject_cast<TMDIChild_Math*>(d)) {
            EXPECT_TRUE(measure->face().source.isEmpty());
        }
    }
    EXPECT_TRUE(form.acquisition().State.RequestName.empty());

    runActionsUpTo(29);
    test::processDeletes();
    EXPECT_TRUE(form.childDisplays().isEmpty()) << "Scope00 is listed, so it goes too";
}

TEST_F(Tour, RunsOnItsTimersToTheEndAndStartsAgainFromTheFirstStep) {
    // The invitation comes first, pointing at the Demo button.
    ASSERT_TRUE(test::waitUntil([&] { return demo.TutorialHintShown; }));
    EXPECT_EQ(demo.balloon()->shownText(), "Press this Button for a Tutorial");

    form.ToolButton17Click();
    ASSERT_TRUE(test::waitUntil([&] { return demo.ScriptPosition >= 4; }, std::chrono::seconds(60)));
    // Pressed again, the tour ends at once, as its last step would end it.
    form.ToolButton17Click();
    EXPECT_FALSE(form.acquisition().DemoMode);
    test::processDeletes();
    EXPECT_TRUE(form.childDisplays().isEmpty());
    EXPECT_FALSE(form.acquisition().State.Connected);
    EXPECT_TRUE(panelInStartState());
    EXPECT_FALSE(demo.DemoTimer->isActive());

    form.ToolButton17Click();
    EXPECT_LE(demo.ScriptPosition, 1) << "started again from the first step";
    ASSERT_TRUE(test::waitUntil([&] { return !form.acquisition().DemoMode; }, std::chrono::seconds(120)));
    test::processDeletes();
    EXPECT_EQ(demo.ScriptPosition, 29);
    EXPECT_TRUE(form.childDisplays().isEmpty());
    EXPECT_FALSE(form.acquisition().State.Connected);
    EXPECT_TRUE(panelInStartState());
    EXPECT_FALSE(demo.balloon()->shownText().contains('\r'))
        << "line feed and carriage return make one break";
    EXPECT_TRUE(demo.balloon()->shownText().endsWith("Here ends the demonstration"));
}

TEST_F(Tour, AsksBeforeClosingTheUsersDisplaysAndEscEndsIt) {
    form.show();
    form.Data_TBClick();
    bench.dialogs.confirmAnswer = false;
    form.ToolButton17Click();
    ASSERT_EQ(bench.dialogs.questions,
              std::vector<QString>{"The demonstration closes the open displays. Continue?"});
    EXPECT_FALSE(form.acquisition().DemoMode) << "declined: nothing starts";
    EXPECT_EQ(form.childDisplays().size(), 1);

    bench.dialogs.confirmAnswer = true;
    form.ToolButton17Click();
    ASSERT_TRUE(form.acquisition().DemoMode);
    runActionsUpTo(6);
    QApplication::setActiveWindow(&form);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &form, Qt::Key_Escape);
    EXPECT_FALSE(form.acquisition().DemoMode) << "Esc ends the tour at once";
    test::processDeletes();
    EXPECT_TRUE(form.childDisplays().isEmpty());
    EXPECT_TRUE(panelInStartState());
    EXPECT_FALSE(demo.DemoTimer->isActive() || demo.ScrollTimer->isActive());

    // Without a tour running, Esc is the dialogs' again.
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_FALSE(form.acquisition().DemoMode);
    EXPECT_EQ(bench.dialogs.questions.size(), 2u) << "nothing open: no question the second time";
}

TEST_F(Tour, AGlideThatStartsOnItsTargetArrivesAtOnce) {
    form.ToolButton17Click();
    runActionsUpTo(1);
    const DemoStep& next = demo.DemoScript()[1];
    const QPoint target = form.frameGeometry().topLeft() + QPoint(next.X, next.Y);
    QCursor::setPos(target);
    demo.DoScriptStep();
    demo.ScrollTimerTimer();
    EXPECT_FALSE(demo.ScrollTimer->isActive());
    EXPECT_TRUE(demo.DemoTimer->isActive());
    EXPECT_EQ(QCursor::pos(), target);
    EXPECT_TRUE(demo.balloon()->shownText().startsWith("Step 1 :\nPress this button to connect"));
}

} // namespace
} // namespace kavlon
