#include "core/demo/DemoScript.h"

#include <gtest/gtest.h>

#include <memory>

namespace kavlon {
namespace {

TEST(DemoScript, TheTourFillsTwentyNineStepsAndLeavesTheRestEmpty) {
    auto script = std::make_unique<DemoScriptTable>();
    resetDemoScript(*script);
    const DemoButtonEdges buttons{100, 200, 260, 330, 410, 130};
    ASSERT_EQ(fillDemoScript(*script, buttons), kDemoScriptLength);

    struct Expected {
        int step, x, y, motion, interval, action;
    };
    // Both jumps, the toolbar targets, and the steps that act.
    const Expected rows[] = {
        {0, 190, 90, Jump, 5000, Nothing},          {1, 117, 60, Glide, 10000, Connect},
        {2, 217, 60, Glide, 5000, OpenData},        {3, 240, 115, Glide, 5000, RefreshData},
        {5, 277, 60, Glide, 5000, OpenScope},       {7, 265, 158, Glide, 5000, PickScopeSource},
        {13, 147, 60, Glide, 5000, ShowOptions},    {20, 555, 475, Glide, 5000, HideOptions},
        {22, 347, 60, Glide, 5000, OpenMeasure},    {25, 427, 60, Glide, 5000, OpenFFT},
        {27, 330, 200, Glide, 5000, PickFFTSource}, {28, 690, 90, Jump, 10000, CloseListed},
    };
    for (const Expected& e : rows) {
        const DemoStep& s = (*script)[std::size_t(e.step)];
        EXPECT_EQ(s.StepNo, e.step);
        EXPECT_EQ((std::array{s.X, s.Y, s.Motion, s.Interval, s.Action}),
                  (std::array{e.x, e.y, e.motion, e.interval, e.action}))
            << "step " << e.step;
    }
    int total = 0;
    for (int i = 0; i < kDemoScriptLength; ++i)
        total += (*script)[std::size_t(i)].Interval;
    EXPECT_EQ(total, 155000);

    EXPECT_EQ((*script)[1].Text, "Step 1 :\n\rPress this button to connect to the scope.\n\r"
                                 "It should be colored, otherwise the Kavlon is not connected correctly");
    EXPECT_EQ((*script)[29], (DemoStep{29, 0, 0, "", 0, 0, 0}));
    EXPECT_EQ((*script)[999].StepNo, 999);
    EXPECT_EQ(demoText({std::string(300, 'x')}).size(), kDemoTextLimit);
}

TEST(DemoScript, GlidesMoveOnePixelPerTickAlongTheLongerAxis) {
    const GlidePlan there = planGlide(10, 20, 110, 70);
    EXPECT_EQ(there.ticks, 100);
    EXPECT_DOUBLE_EQ(there.stepX, 1.0);
    EXPECT_DOUBLE_EQ(there.stepY, 0.5);
    const GlidePlan up = planGlide(0, 300, -20, 0);
    EXPECT_EQ(up.ticks, 300);
    EXPECT_DOUBLE_EQ(up.stepY, -1.0);
    const GlidePlan stay = planGlide(5, 5, 5, 5);
    EXPECT_EQ(stay.ticks, 0);
    EXPECT_EQ(stay.stepX, 0.0);
}

} // namespace
} // namespace kavlon
