#include "core/picture/PictureLayout.h"
#include "core/picture/PictureFiles.h"

#include <gtest/gtest.h>

#include <set>

namespace kavlon {
namespace {

TEST(PrintTarget, TakesATwentiethOffEachEdgeRoundingHalvesToEven) {
    struct Case {
        int width, height;
        PageRect expected;
    };
    const Case cases[] = {
        // Letter at 300 dpi in landscape: 127.5 goes to 128, its even neighbour.
        {3300, 2550, {165, 128, 3135, 2422}},
        // 1.5 -> 2 and 2.5 -> 2: both halves meet the same even number.
        {30, 50, {2, 2, 28, 48}},
        // 3.5 -> 4, 4.5 -> 4.
        {70, 90, {4, 4, 66, 86}},
        // Just off a half rounds to the nearer integer.
        {31, 49, {2, 2, 29, 47}},
        // A4 at 600 dpi: 7016 x 4961 gives 350.8 and 248.05.
        {7016, 4961, {351, 248, 6665, 4713}},
        {0, 0, {0, 0, 0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(printTarget(c.width, c.height), c.expected) << c.width << " x " << c.height;
}

// A two-channel shot: the footers of channels 3 and 4 are written all the same.
ShotSettings shotWithTexts() {
    ShotSettings shot;
    shot.ChannelMode = 2;
    shot.ChannelOn = {true, true, false, false};
    shot.TimebaseText = "Timebase : 1 ms / Div";
    shot.TriggerText = "Trigger : CH 1";
    shot.TriggerLevelText = "Triggerlevel : 1.2 V";
    shot.VoltsPerDivText = {"1 V / Div", "2 V / Div", "5 V / Div", "10 mV / Div"};
    shot.ZeroText = {"Zero CH 1 : 0.0 V", "Zero CH 2 : 1.0 V", "Zero CH 3 : -2.0 V", "Zero CH 4 : 3.0 V"};
    return shot;
}

TEST(PictureTexts, PutHeaderAndFootersWhereThePictureHasRoomForThem) {
    const std::vector<PictureText> texts = pictureTexts(shotWithTexts(), "Scope03", "08.12.26 00:10:19");
    const std::vector<PictureText> expected = {
        {30, 0, 15, "Quorvel - Kavlon Series  -  08.12.26 00:10:19 - Scope03"},
        {30, 15, 15, "Timebase : 1 ms / Div"},
        {170, 15, 15, "Trigger : CH 1"},
        {310, 15, 15, "Triggerlevel : 1.2 V"},
        {30, 417, 14, "Volt CH 1 : 1 V / Div"},
        {170, 417, 14, "Volt CH 2 : 2 V / Div"},
        {310, 417, 14, "Volt CH 3 : 5 V / Div"},
        {450, 417, 14, "Volt CH 4 : 10 mV / Div"},
        {30, 431, 16, "Zero CH 1 : 0.0 V"},
        {170, 431, 16, "Zero CH 2 : 1.0 V"},
        {310, 431, 16, "Zero CH 3 : -2.0 V"},
        {450, 431, 16, "Zero CH 4 : 3.0 V"},
    };
    EXPECT_EQ(texts, expected);
    // No band reaches into the screen's rows or past the picture.
    for (const PictureText& t : texts) {
        const bool above = t.y + t.bandHeight <= kPictureScreenTop;
        const bool below =
            t.y >= kPictureScreenTop + kPictureScreenRows && t.y + t.bandHeight <= kPictureHeight;
        EXPECT_TRUE(above || below) << t.text;
    }
}

} // namespace
} // namespace kavlon
