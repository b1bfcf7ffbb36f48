#include "ScopeFixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include <set>

namespace kavlon {
namespace {

using namespace test;

// Every colour the picture holds inside [left, right) x [top, bottom).
std::set<QRgb> coloursIn(const QImage& image, int left, int top, int right, int bottom) {
    std::set<QRgb> found;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            found.insert(image.pixel(x, y) & 0xFFFFFF);
    return found;
}

TEST_F(ScopeWindow, StartsWithItsControlsAsDesignedAndTheBareGraticule) {
    TMDIChild_Scope* scope = newScope();
    EXPECT_EQ(scope->windowTitle(), "Scope00");
    struct Box {
        QCheckBox* box;
        const char* text;
        bool checked, shown;
    };
    const Box boxes[] = {
        {scope->GridCKB, "Grid", true, true},
        {scope->InvertCkB, "Invert", false, true},
        {scope->ColorCkB, "Color", true, true},
        {scope->ZerosCkB, "Zero", true, true},
        {scope->CursorHCkB, "Horizontal", false, false},
        {scope->CursorVCkB, "Vertical", false, false},
    };
    for (const Box& b : boxes) {
        EXPECT_EQ(b.box->text(), b.text);
        EXPECT_EQ(b.box->isChecked(), b.checked) << b.text;
        EXPECT_EQ(b.box->isVisible(), b.shown) << b.text;
    }
    EXPECT_EQ(scope->GroupBox2->title(), "Display - Print");
    EXPECT_EQ(scope->GroupBox1->title(), "Cursor");
    EXPECT_EQ(scope->Button1->text(), "Refresh");
    EXPECT_EQ(scope->PrintBtn->text(), "Print");
    EXPECT_EQ(scope->Zoom_TB->currentText(), "1:1");
    EXPECT_EQ(scope->ComboBox1->count(), 0);
    EXPECT_EQ(scope->SigOff_ScrollBar->maximum(), 100);
    EXPECT_EQ(scope->SigOff_ScrollBar->value(), 0);

    const QImage image = painted(scope);
    EXPECT_EQ(image.size(), QSize(614, 410));
    EXPECT_EQ(coloursIn(image, 0, 0, 614, 387), (std::set<QRgb>{kBlack, kWhite, kWindowGrey}));
    EXPECT_EQ(colour(image, 61, 9), kWhite);
    EXPECT_EQ(colour(image, 0, 0), kBlack);
    EXPECT_EQ(colour(image, 0, 400), kWindowGrey);

    // The screen is drawn to the pixel: the window does not stretch.
    const QSize size = scope->size();
    scope->resize(size + QSize(100, 50));
    EXPECT_EQ(scope->size(), size);
}

TEST_F(ScopeWindow, ColourAndInvertCombinations) {
    TMDIChild_Scope* scope = newScope();
    dataWithShot({});
    choose(scope, "Data01");
    struct Step {
        QCheckBox* click;
        QRgb background, graticule, trace;
        bool invertEnabled, invertChecked;
    };
    // Channel 1 lies on row 180 (raw 120); (300, 180) shows it, (61, 9) a division dot.
    const Step steps[] = {
        {nullptr, kBlack, kWhite, kYellow, true, false},
        {scope->InvertCkB, kWhite, kBlack, kYellow, true, true},
        {scope->ColorCkB, kWhite, kBlack, kBlack, false, false},
        {scope->ColorCkB, kBlack, kWhite, kYellow, true, false},
    };
    int n = 0;
    for (const Step& s : steps) {
        if (s.click)
            s.click->click();
        const QImage image = painted(scope);
        EXPECT_EQ(colour(image, 0, 0), s.background) << "step " << n;
        EXPECT_EQ(colour(image, 61, 9), s.graticule) << "step " << n;
        EXPECT_EQ(colour(image, 300, 180), s.trace) << "step " << n;
        EXPECT_EQ(scope->InvertCkB->isEnabled(), s.invertEnabled) << "step " << n;
        EXPECT_EQ(scope->InvertCkB->isChecked(), s.invertChecked) << "step " << n;
        ++n;
    }
}

TEST_F(ScopeWindow, GridOffLeavesBackgroundTracesAndMarkers) {
    TMDIChild_Scope* scope = newScope();
    dataWithShot({});
    choose(scope, "Data01");
    scope->GridCKB->click();
    const QImage image = painted(scope);
    EXPECT_EQ(coloursIn(image, 0, 0, 613, 387), (std::set<QRgb>{kBlack, kYellow, kGreen, kBlue, kRed}));
    EXPECT_EQ(colour(image, 61, 9), kBlack);
    // All four zero levels are at raw 120, row 180: channel 4's marker is drawn last.
    EXPECT_EQ(colour(image, 9, 181), kRed);

    scope->ZerosCkB->click();
    EXPECT_EQ(colour(painted(scope), 9, 181), kBlack);
}

TEST_F(ScopeWindow, ChoosingASourceCopiesItsShotAndDrawsIt) {
    TMDIChild_Scope* scope = newScope();
    dataWithShot({.raw = [](int k, int i) { return 60 + 10 * k + (i % 2); }});
    choose(scope, "Data01");
    EXPECT_EQ(scope->state.Samples[1][0], 2 * 80 - 60);
    EXPECT_EQ(scope->state.Samples[1][1], 2 * 81 - 60);
    EXPECT_EQ(scope->state.ZeroText[3], "Zero CH 4 : 5.0 V");
    EXPECT_EQ(scope->state.TimebaseText, "Timebase : 50 ns / Div");
    const QImage image = painted(scope);
    const QRgb inks[] = {kYellow, kGreen, kBlue, kRed};
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(colour(image, 12, 2 * (60 + 10 * k) - 60), inks[k - 1]) << k;
        EXPECT_EQ(colour(image, 13, 2 * (61 + 10 * k) - 60), inks[k - 1]) << k;
    }
}

TEST_F(ScopeWindow, SourceListIsRebuiltOnEnteringTheBox) {
    TMDIChild_Scope* scope = newScope();
    form.Data_TBClick();
    form.frontPanel()->ListBox1->addItem("QP_Data07");
    enter(scope);
    EXPECT_EQ(scope->ComboBox1->count(), 2);
    EXPECT_EQ(scope->ComboBox1->itemText(1), "QP_Data07");
    EXPECT_EQ(scope->ComboBox1->currentIndex(), -1);

    scope->ComboBox1->setCurrentIndex(0);
    enter(scope, Qt::PopupFocusReason); // back from its own list: no new entry
    EXPECT_EQ(scope->ComboBox1->currentIndex(), 0);

    form.Data_TBClick();
    enter(scope, Qt::MouseFocusReason);
    EXPECT_EQ(scope->ComboBox1->count(), 3);
    EXPECT_EQ(scope->ComboBox1->itemText(2), "Data02");
}

TEST_F(ScopeWindow, ARebuiltListKeepsTheChoiceWhileThatDisplayIsOpen) {
    TMDIChild_Scope* scope = newScope();
    TMDIChild_Data* data = dataWithShot({.raw = [](int k, int) { return 100 + 20 * k; }});
    dataWithShot({});
    choose(scope, data->windowTitle());
    // Activating the Scope window (a click on its title bar) enters the box again.
    enter(scope, Qt::MouseFocusReason);
    ASSERT_EQ(scope->ComboBox1->currentText(), data->windowTitle());

    // Refresh takes the display's newer shot; what the other display shows on its
    // labels is no part of the copy.
    giveShot(data, {.raw = [](int, int) { return 70; }});
    data->Timebase_lb->setText("edited by hand");
    scope->Button1->click();
    EXPECT_EQ(scope->state.Samples[0][5], 2 * 70 - 60);
    EXPECT_EQ(scope->state.TimebaseText, "Timebase : 50 ns / Div");

    // Once the chosen display has closed, the box comes back blank.
    data->close();
    processDeletes();
    enter(scope, Qt::MouseFocusReason);
    EXPECT_EQ(scope->ComboBox1->currentIndex(), -1);
    EXPECT_EQ(scope->ComboBox1->count(), 1);
}

TEST_F(ScopeWindow, SourcesThatGiveNothingChangeNothing) {
    // Each case readies the source box, then the user asks for the copy.
    struct Case {
        const char* what;
        std::function<void(TMDIChild_Scope*)> prepare;
    };
    const auto pick = [](TMDIChild_Scope* s, const QString& caption) {
        enter(s);
        s->ComboBox1->setCurrentIndex(s->ComboBox1->findText(caption));
    };
    const Case cases[] = {
        {"nothing chosen", [](TMDIChild_Scope*) {}},
        {"a Data display without a shot",
         [&](TMDIChild_Scope* s) {
             form.Data_TBClick();
             pick(s, form.childDisplays().last()->windowTitle());
         }},
        {"a display closed since the list was built",
         [&](TMDIChild_Scope* s) {
             TMDIChild_Data* data = dataWithShot({});
             pick(s, data->windowTitle());
             data->close();
             processDeletes();
         }},
        {"a caption that last names a display of another kind",
         [&](TMDIChild_Scope* s) {
             const QString caption = dataWithShot({})->windowTitle();
             pick(s, caption);
             form.CreateScopeDisplay(caption);
         }},
    };
    for (const Case& c : cases) {
        TMDIChild_Scope* scope = newScope();
        c.prepare(scope);
        const qint64 picture = scope->screenImage().cacheKey();
        scope->Button1->click();
        EXPECT_EQ(scope->screenImage().cacheKey(), picture) << c.what;
        EXPECT_EQ(scope->state.Samples[0][0], 25) << c.what;
        EXPECT_FALSE(scope->state.ChannelOn[0]) << c.what;
        EXPECT_EQ(scope->SigOff_ScrollBar->maximum(), 100) << c.what;
        EXPECT_EQ(scope->Zoom_TB->currentText(), "1:1") << c.what;
    }
}

TEST_F(ScopeWindow, ATwoChannelSourceKeepsChannelsThreeAndFourUndrawn) {
    TMDIChild_Scope* scope = newScope();
    dataWithShot({.raw = [](int k, int) { return 100 + 20 * k; }});
    dataWithShot(
        {.channels = 2, .zeroLevels = {60, 80, 100, 120}, .raw = [](int k, int) { return 40 + 10 * k; }});
    choose(scope, "Data01");
    choose(scope, "Data02");
    EXPECT_EQ(scope->state.Samples[0][5], 2 * 50 - 60);
    EXPECT_EQ(scope->state.Samples[2][5], 2 * 160 - 60) << "as the four-channel copy left it";
    EXPECT_EQ(scope->state.Samples[3][5], 2 * 180 - 60);

    const QImage image = painted(scope);
    EXPECT_EQ(coloursIn(image, 12, 0, 612, 387), (std::set<QRgb>{kBlack, kWhite, kYellow, kGreen}));
    // Zero rows 2z - 60: each marker's arrow tip sits one row below its zero row.
    EXPECT_EQ(colour(image, 9, 61), kYellow);
    EXPECT_EQ(colour(image, 9, 101), kGreen);
    EXPECT_EQ(colour(image, 9, 141), kBlue);
    EXPECT_EQ(colour(image, 9, 181), kRed);
}

TEST_F(ScopeWindow, RedrawsOnlyWhenSomethingChanged) {
    TMDIChild_Scope* scope = newScope();
    const qint64 first = scope->screenImage().cacheKey();
    painted(scope);
    scope->ScreenPB->repaint();
    EXPECT_EQ(scope->screenImage().cacheKey(), first) << "a paint event shows the last picture";

    scope->ZerosCkB->click();
    scope->ZerosCkB->click();
    const qint64 afterClicks = scope->screenImage().cacheKey();
    EXPECT_NE(afterClicks, first);
    scope->SigOff_ScrollBar->setValue(5);
    EXPECT_NE(scope->screenImage().cacheKey(), afterClicks);
}

} // namespace
} // namespace kavlon
