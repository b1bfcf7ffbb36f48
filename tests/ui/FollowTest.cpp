// Scope, Measure and FFT displays that follow their source Data display.
#include "ScopeFixture.h"

#include "ui/chart/RChart.h"
#include "ui/displays/FFTDisplay.h"
#include "ui/displays/FollowBox.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QScrollBar>

namespace kavlon {
namespace {

using namespace test;

class FollowWindow : public ScopeWindow {
protected:
    TMDIChild_FFT* newFFT(const TMDIChild_Data* source) {
        form.FFT_TBClick();
        auto* fft = qobject_cast<TMDIChild_FFT*>(form.childDisplays().last());
        fft->ComboBox1Enter();
        fft->ComboBox1->setCurrentIndex(fft->ComboBox1->findText(source->windowTitle()));
        emit fft->ComboBox1->activated(fft->ComboBox1->currentIndex());
        return fft;
    }
    TMDIChild_Scope* newScopeOf(const TMDIChild_Data* source) {
        TMDIChild_Scope* scope = newScope();
        choose(scope, source->windowTitle());
        return scope;
    }
    // The followers are told in events of their own.
    static void letFollowersLoad() {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
};

int low(int k, int i) {
    return 100 + 10 * k + (i / 50) % 2 * 20;
}
int high(int k, int i) {
    return 60 + 10 * k + (i / 30) % 2 * 40;
}

TEST_F(FollowWindow, EveryFollowerLoadsEachNewShotOnceAndKeepsItsView) {
    TMDIChild_Data* data = dataWithShot({.timebase = 4, .raw = low});
    TMDIChild_Data* other = dataWithShot({.timebase = 4, .raw = low});
    TMDIChild_Scope* scope = newScopeOf(data);
    TMDIChild_Math* measure = measuring(data);
    TMDIChild_FFT* fft = newFFT(data);
    TMDIChild_Scope* still = newScopeOf(data);    // Follow left off
    TMDIChild_Math* elsewhere = measuring(other); // follows another Data display
    for (QCheckBox* box :
         {static_cast<QCheckBox*>(scope->FollowCB), static_cast<QCheckBox*>(measure->FollowCB),
          static_cast<QCheckBox*>(fft->FollowCB), static_cast<QCheckBox*>(elsewhere->FollowCB)}) {
        ASSERT_FALSE(box->isChecked()) << "off until chosen";
        box->click();
    }
    still->FollowCB->click();
    still->FollowCB->click();
    // The view the user made.
    pickZoom(scope, 2);
    const int zoomedPerPixel = scope->state.SamplesPerPixel;
    scope->SigOff_ScrollBar->setValue(7);
    fft->SpecTypeButtons->button(1)->click();
    fft->LogX[0]->click();
    fft->Button1Click();
    ASSERT_TRUE(fft->Charts[0]->LogScaleX());
    const float spectrumBefore = fft->samples.x[0][3];

    giveShot(data, {.timebase = 4, .raw = high});
    letFollowersLoad();
    EXPECT_EQ(measure->statistics.shots(), 2u) << "once per shot";
    EXPECT_EQ(elsewhere->statistics.shots(), 1u);
    EXPECT_EQ(scope->state.Samples[0][0], 2 * high(1, 0) - 60);
    EXPECT_EQ(still->state.Samples[0][0], 2 * low(1, 0) - 60);
    EXPECT_EQ(scope->Zoom_TB->currentIndex(), 2);
    EXPECT_EQ(scope->state.SamplesPerPixel, zoomedPerPixel);
    EXPECT_EQ(scope->SigOff_ScrollBar->value(), 7);
    EXPECT_NE(fft->samples.x[0][3], spectrumBefore);
    EXPECT_EQ(fft->spectrumType(), 1);
    EXPECT_TRUE(fft->LogX[0]->isChecked());
    EXPECT_TRUE(fft->Charts[0]->LogScaleX());

    giveShot(data, {.timebase = 4, .raw = low});
    letFollowersLoad();
    EXPECT_EQ(measure->statistics.shots(), 3u);

    // Another timebase offers other zoom steps: the shot's own is shown.
    giveShot(data, {.timebase = 5, .zoomIndex = 0, .raw = high});
    letFollowersLoad();
    EXPECT_EQ(scope->Zoom_TB->currentIndex(), 0);
    EXPECT_EQ(scope->state.TimebaseIndex, 5);
}

TEST_F(FollowWindow, AClosedSourceLeavesTheFollowersAsTheyAre) {
    TMDIChild_Data* data = dataWithShot({.raw = low});
    TMDIChild_Scope* scope = newScopeOf(data);
    TMDIChild_Math* measure = measuring(data);
    scope->FollowCB->click();
    measure->FollowCB->click();
    giveShot(data, {.raw = high});
    // Closed while the followers' loads are still to come.
    data->close();
    processDeletes();
    letFollowersLoad();
    EXPECT_EQ(measure->statistics.shots(), 1u);
    EXPECT_EQ(scope->state.Samples[0][0], 2 * low(1, 0) - 60);
    EXPECT_TRUE(measure->FollowCB->isChecked());
}

TEST_F(FollowWindow, TheLastChoiceIsWhereNewDisplaysStartAndOutlivesTheProgram) {
    TMDIChild_Scope* scope = newScope();
    scope->FollowCB->click();
    form.Measure_TBClick();
    form.FFT_TBClick();
    auto* measure = qobject_cast<TMDIChild_Math*>(form.childDisplays()[1]);
    auto* fft = qobject_cast<TMDIChild_FFT*>(form.childDisplays()[2]);
    EXPECT_TRUE(measure->FollowCB->isChecked());
    EXPECT_TRUE(fft->FollowCB->isChecked());
    EXPECT_TRUE(scope->FollowCB->isChecked()) << "each box keeps its own state";

    form.close();
    QFile file(bench.folder.filePath("KavlonPC.INI"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("\nFollow=1\n"));
    TMainForm again(bench.folder.path(), &bench.dialogs, noInstrument());
    again.Scope_TBClick();
    auto* next = qobject_cast<TMDIChild_Scope*>(again.childDisplays().last());
    EXPECT_TRUE(next->FollowCB->isChecked());
    next->FollowCB->click();
    again.Measure_TBClick();
    EXPECT_FALSE(qobject_cast<TMDIChild_Math*>(again.childDisplays().last())->FollowCB->isChecked());
}

} // namespace
} // namespace kavlon
