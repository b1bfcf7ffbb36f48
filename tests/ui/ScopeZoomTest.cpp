#include "ScopeFixture.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

namespace kavlon {
namespace {

using namespace test;

QStringList entries(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

TEST_F(ScopeWindow, ZoomEntriesFollowTheShotsTimebase) {
    struct Case {
        InstrumentShot shot;
        QStringList entries;
        QString text;        // shown after the copy, without changing the samples per pixel
        int scrollMaximum;   // after the copy
        int pick;            // entry the user then chooses, -1 for none
        int samplesPerPixel; // after that
        int pickedMaximum;
    };
    const QStringList threeBy4 = {"1 : 1", "1 : 2", "1 : 4"};
    const QStringList fiveBy25 = {"1 : 1", "1 : 2.5", "1 : 5", "1 : 10", "1 : 25"};
    const Case cases[] = {
        {{.timebase = 7}, threeBy4, "1 : 1", 3460, 1, 2, 1430},
        {{.timebase = 0}, fiveBy25, "1 : 1", 15700, 1, 3, 4833},
        {{.timebase = 6, .samplesPerPixel = 7, .zoomIndex = 3}, fiveBy25, "1 : 10", 1728, 4, 25, 52},
        // An instrument factor too large for one screen leaves nothing to scroll.
        {{.timebase = 7, .samplesPerPixel = 10}, threeBy4, "1 : 1", 0, 2, 4, 415},
        // A zoom step the box does not offer names no entry.
        {{.timebase = 9, .samplesPerPixel = 2, .zoomIndex = 4},
         {"1 : 1", "1 : 2.5", "1 : 5"},
         "",
         1430,
         -1,
         2,
         1430},
        // A timebase without a zoom row offers nothing and keeps the text.
        {{.timebase = 40, .samplesPerPixel = 2}, {}, "1:1", 1430, -1, 2, 1430},
    };
    for (const Case& c : cases) {
        TMDIChild_Scope* scope = newScope();
        const QString caption = dataWithShot(c.shot)->windowTitle();
        choose(scope, caption);
        const std::string what = "timebase " + std::to_string(c.shot.timebase);
        EXPECT_EQ(entries(scope->Zoom_TB), c.entries) << what;
        EXPECT_EQ(scope->Zoom_TB->currentText(), c.text) << what;
        EXPECT_EQ(scope->state.SamplesPerPixel, c.shot.samplesPerPixel) << what;
        EXPECT_EQ(scope->SigOff_ScrollBar->maximum(), c.scrollMaximum) << what;
        EXPECT_EQ(scope->SigOff_ScrollBar->minimum(), 0) << what;
        if (c.pick >= 0)
            pickZoom(scope, c.pick);
        EXPECT_EQ(scope->state.SamplesPerPixel, c.samplesPerPixel) << what;
        EXPECT_EQ(scope->SigOff_ScrollBar->maximum(), c.pickedMaximum) << what;
    }
}

TEST_F(ScopeWindow, TypedZoomTextChangesNothing) {
    TMDIChild_Scope* scope = newScope();
    choose(scope, dataWithShot({.timebase = 7})->windowTitle());
    scope->Zoom_TB->lineEdit()->clear();
    QTest::keyClicks(scope->Zoom_TB->lineEdit(), "1 : 3");
    QTest::keyClick(scope->Zoom_TB->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(scope->Zoom_TB->count(), 3) << "typed text never becomes an entry";
    EXPECT_EQ(scope->state.SamplesPerPixel, 1);
    EXPECT_EQ(scope->SigOff_ScrollBar->maximum(), 3460);
}

TEST_F(ScopeWindow, ScrollPositionIsKeptOrBroughtDownToTheNewMaximum) {
    TMDIChild_Scope* scope = newScope();
    const QString longShot = dataWithShot({.timebase = 4})->windowTitle();
    const QString shortShot = dataWithShot({.timebase = 7, .samplesPerPixel = 2})->windowTitle();
    choose(scope, longShot);
    scope->SigOff_ScrollBar->setValue(5000);
    choose(scope, shortShot);
    EXPECT_EQ(scope->SigOff_ScrollBar->value(), 1430);
    choose(scope, longShot);
    EXPECT_EQ(scope->SigOff_ScrollBar->maximum(), 15700);
    EXPECT_EQ(scope->SigOff_ScrollBar->value(), 1430);
}

TEST_F(ScopeWindow, ScrollingAndZoomingMoveTheTrace) {
    TMDIChild_Scope* scope = newScope();
    // Channel 1 climbs one raw step per sample from raw 60 (row 60), over 100 samples.
    const InstrumentShot ramp{
        .timebase = 0, .on = {true, false, false, false}, .raw = [](int, int i) { return 60 + i % 100; }};
    choose(scope, dataWithShot(ramp)->windowTitle());
    struct Step {
        int scroll, zoomEntry; // zoom entry -1: keep
        int rowAtPoint0, rowAtPoint1;
    };
    const Step steps[] = {
        {0, -1, 60, 62},   {10, -1, 80, 82},
        {10, 1, 110, 114}, // 2.5 samples per pixel: the first sample is truncate(25), point 1 is 27
        {3, 1, 74, 78},    // truncate(7.5) = 7; point 1 is 2 + 7
        {3, 2, 90, 100},   // 5 samples per pixel: 15, 20
    };
    for (const Step& s : steps) {
        if (s.zoomEntry >= 0)
            pickZoom(scope, s.zoomEntry);
        scope->SigOff_ScrollBar->setValue(s.scroll);
        const QImage image = painted(scope);
        EXPECT_EQ(colour(image, 12, s.rowAtPoint0), kYellow) << s.scroll << "/" << s.zoomEntry;
        EXPECT_EQ(colour(image, 13, s.rowAtPoint1), kYellow) << s.scroll << "/" << s.zoomEntry;
    }
}

} // namespace
} // namespace kavlon
