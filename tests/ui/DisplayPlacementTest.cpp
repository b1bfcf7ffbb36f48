// Where windows go, as arithmetic: new displays, cascade, tiling, and the main window
// and its dialogs by their whole frame.
#include "ui/mainwindow/DisplayPlacement.h"
#include "ui/FramePlacement.h"

#include <QRect>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>

namespace kavlon {
namespace {

// Display sizes with their frames, as the four kinds open: Data, Scope, Measure, FFT.
const QSize kData(500, 466), kScope(640, 505), kMeasure(330, 524), kFFT(680, 210);

// Data, Scope, Measure, FFT, again and again.
std::vector<QSize> mixedDisplays(int count) {
    const QSize kinds[] = {kData, kScope, kMeasure, kFFT};
    std::vector<QSize> sizes;
    for (int i = 0; i < count; ++i)
        sizes.push_back(kinds[i % 4]);
    return sizes;
}

std::string at(const QPoint& p) {
    return std::to_string(p.x()) + "," + std::to_string(p.y());
}

TEST(DisplayPlacement, NewDisplaysNeverLandOnAnotherAndShowWhole) {
    struct Case {
        const char* what;
        QSize area;
        std::vector<QSize> windows;
        bool whole; // each window shows whole
    };
    const Case cases[] = {
        // 1034 x 745 main window: Data, Scope, Measure, FFT five times over.
        {"twenty mixed", {865, 670}, mixedDisplays(20), true},
        {"ninety-seven mixed", {865, 670}, mixedDisplays(97), true},
        {"FFT in a small area", {700, 260}, std::vector<QSize>(40, kFFT), true},
        // One place for all: the others go on past it.
        {"as large as the area", {680, 210}, std::vector<QSize>(5, kFFT), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<QPoint> taken;
        for (const QSize& window : c.windows) {
            const std::optional<QPoint> previous =
                taken.empty() ? std::nullopt : std::optional<QPoint>(taken.back());
            const QPoint p = nextDisplayPosition(c.area, window, previous, taken);
            EXPECT_TRUE(std::find(taken.begin(), taken.end(), p) == taken.end())
                << "display " << taken.size() << " on another at " << at(p);
            if (c.whole) {
                EXPECT_TRUE(QRect(QPoint(0, 0), c.area).contains(QRect(p, window))) << at(p);
            }
            taken.push_back(p);
        }
    }
    // The first goes to the corner, the next a step down and right.
    EXPECT_EQ(nextDisplayPosition({865, 670}, kData, std::nullopt), QPoint(0, 0));
    EXPECT_EQ(nextDisplayPosition({865, 670}, kScope, QPoint(0, 0), {{0, 0}}), QPoint(24, 24));
    EXPECT_EQ(nextDisplayPosition({865, 670}, kScope, QPoint(0, 0), {{0, 0}}, 30), QPoint(30, 30));
}

// Captions written in the middle of their title bars, 80 pixels wide.
std::vector<CascadeWindow> centredCaptions(const std::vector<QSize>& sizes) {
    std::vector<CascadeWindow> windows;
    for (const QSize& size : sizes)
        windows.push_back({size, size.width() / 2 + 40});
    return windows;
}

TEST(DisplayPlacement, CascadeHidesNoCaption) {
    constexpr int kStep = 24;
    struct Case {
        const char* what;
        QSize area;
        std::vector<CascadeWindow> windows;
    };
    const Case cases[] = {
        {"twenty mixed at 1034 x 745", {865, 670}, centredCaptions(mixedDisplays(20))},
        {"twenty mixed at 1280 x 1024", {1111, 920}, centredCaptions(mixedDisplays(20))},
        {"twenty FFT at 1024 x 768", {855, 600}, centredCaptions(std::vector<QSize>(20, kFFT))},
        {"ninety-seven mixed", {865, 670}, centredCaptions(mixedDisplays(97))},
        {"taller than the area", {865, 400}, centredCaptions(mixedDisplays(6))},
        {"captions on the left", {865, 670}, std::vector<CascadeWindow>(12, {kScope, 110})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<QPoint> p = cascadePositions(c.area, c.windows, kStep);
        ASSERT_EQ(p.size(), c.windows.size());
        for (std::size_t i = 0; i < p.size(); ++i) {
            // The title bar from its icon to the end of its caption.
            const QRect caption(p[i], QSize(c.windows[i].captionEnd, kStep));
            EXPECT_GE(p[i].x(), 0);
            EXPECT_GE(p[i].y(), 0);
            EXPECT_LE(caption.bottom(), std::max(c.area.height(), kStep)) << i;
            // Later windows lie above earlier ones.
            for (std::size_t j = i + 1; j < p.size(); ++j) {
                EXPECT_FALSE(QRect(p[j], c.windows[j].size).intersects(caption))
                    << "window " << j << " at " << at(p[j]) << " hides the caption of " << i << " at "
                    << at(p[i]);
                EXPECT_NE(p[i], p[j]);
            }
        }
    }
    // A few windows make one diagonal from the corner.
    EXPECT_EQ(cascadePositions({1600, 1000}, centredCaptions({kData, kScope, kMeasure, kFFT}), kStep),
              (std::vector<QPoint>{{0, 0}, {24, 24}, {48, 48}, {72, 72}}));
    // Where the next would reach past the bottom, a column starts right of every caption
    // in the one before, half a step on.
    EXPECT_EQ(cascadePositions({900, 600}, centredCaptions(std::vector<QSize>(6, kScope)), kStep),
              (std::vector<QPoint>{{0, 0}, {24, 24}, {48, 48}, {72, 72}, {444, 0}, {468, 24}}));
}

TEST(DisplayPlacement, TilesFitTheAreaAndFixedWindowsOverlapInsideIt) {
    constexpr int kAny = QWIDGETSIZE_MAX;
    struct Case {
        const char* what;
        int length;
        std::vector<TileLimits> windows;
        std::vector<TileSpan> spans;
    };
    const Case cases[] = {
        {"flexible windows share equally, the last takes the rest",
         1100,
         {{100, kAny}, {100, kAny}, {100, kAny}},
         {{0, 366}, {366, 366}, {732, 368}}},
        {"a fixed window keeps its length, the others share the rest",
         1600,
         {{500, 500}, {100, kAny}, {100, kAny}, {100, kAny}},
         {{0, 500}, {500, 366}, {866, 366}, {1232, 368}}},
        // Side by side in a 1034 x 745 window: Data, Scope, Measure and FFT are 2150 wide.
        {"fixed windows longer than the area overlap by equal parts",
         865,
         {{500, 500}, {640, 640}, {330, 330}, {680, 680}},
         {{0, 500}, {62, 640}, {143, 330}, {185, 680}}},
        {"a window longer than the area starts at its edge",
         400,
         {{640, 640}, {330, 330}},
         {{0, 640}, {70, 330}}},
        {"one window", 300, {{500, 500}}, {{0, 500}}},
        // A shaded window has no limits and shares nothing when a fixed one fills the area.
        {"a window with no length before one longer than the area",
         400,
         {{0, kAny}, {500, 500}},
         {{0, 0}, {0, 500}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<TileSpan> spans = tileSpans(c.length, c.windows);
        ASSERT_EQ(spans.size(), c.spans.size());
        for (std::size_t i = 0; i < spans.size(); ++i) {
            EXPECT_EQ(spans[i].offset, c.spans[i].offset) << i;
            EXPECT_EQ(spans[i].length, c.spans[i].length) << i;
            if (spans[i].length <= c.length) {
                EXPECT_GE(spans[i].offset, 0) << i;
                EXPECT_LE(spans[i].offset + spans[i].length, c.length) << i;
            }
        }
    }
}

TEST(FramePlacement, TheWholeFrameIsCentredAndFitsTheScreen) {
    // A window manager's frame: borders of 4, a title bar of 24.
    const QMargins frame(4, 24, 4, 4);
    struct Case {
        const char* what;
        QSize content;
        QRect screen;
        QSize fitted;
        QPoint position; // of the content
    };
    const Case cases[] = {
        {"designed size on 1024 x 768", {1034, 745}, {0, 0, 1024, 768}, {1016, 740}, {4, 24}},
        {"designed size on 1280 x 1024", {1034, 745}, {0, 0, 1280, 1024}, {1034, 745}, {123, 149}},
        {"at 125 % a 1280 x 1024 screen holds 1024 x 819",
         {1034, 745},
         {0, 0, 1024, 819},
         {1016, 745},
         {4, 47}},
        {"a second screen to the right, a panel on top",
         {800, 600},
         {1920, 30, 1280, 994},
         {800, 600},
         {2160, 237}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QSize size = fittedContentSize(c.content, frame, c.screen.size());
        EXPECT_EQ(size, c.fitted);
        const QPoint p = centredContentPosition(size, frame, c.screen, c.screen);
        EXPECT_EQ(p, c.position);
        EXPECT_TRUE(c.screen.contains(QRect(p, size).marginsAdded(frame)));
    }
    // A dialog centred on its owner's frame, kept on the screen when the owner is not.
    const QRect owner(100, 50, 1042, 773);
    EXPECT_EQ(centredContentPosition({384, 94}, frame, owner, {0, 0, 1920, 1080}), QPoint(429, 399));
    EXPECT_EQ(centredContentPosition({384, 94}, frame, owner.translated(-700, -500), {0, 0, 1920, 1080}),
              QPoint(4, 24));
}

} // namespace
} // namespace kavlon
