#pragma once

#include <array>
#include <initializer_list>
#include <string>
#include <string_view>

namespace kavlon {

// One stop of the guided demonstration: where the pointer goes, what the balloon
// says there, how long it stays, and what the program does when that time is up.
struct DemoStep {
    int StepNo = 0;
    // Relative to the main window's outer left and top edges.
    int X = 0;
    int Y = 0;
    // At most kDemoTextLimit bytes; lines end with a line feed followed by a carriage return.
    std::string Text;
    int Motion = 0;   // DemoMotion
    int Interval = 0; // milliseconds, at most 65535
    int Action = 0;   // DemoAction
    bool operator==(const DemoStep&) const = default;
};

enum DemoMotion : int { Jump = 0, Glide = 1 };

// What a step does once its interval has passed.
enum DemoAction : int {
    Nothing = 0,
    Connect = 1,
    OpenData = 2,
    RefreshData = 3,
    OpenScope = 4,
    DropScopeSources = 5,
    PickScopeSource = 6,
    ShowOptions = 7,
    HideOptions = 8,
    OpenMeasure = 9,
    DropMeasureSources = 10,
    PickMeasureSource = 11,
    OpenFFT = 12,
    DropFFTSources = 13,
    PickFFTSource = 14,
    CloseListed = 15,
};

constexpr int kDemoScriptCapacity = 1000;
constexpr int kDemoScriptLength = 29;
constexpr std::size_t kDemoTextLimit = 255;
constexpr int kDemoIntervalLimit = 65535;
// A step pointing at a toolbar button aims this far right of its left edge, at this height.
constexpr int kButtonTargetOffset = 17;
constexpr int kButtonTargetY = 60;

using DemoScriptTable = std::array<DemoStep, kDemoScriptCapacity>;

// Left edges of the toolbar buttons the script points at, within the toolbar.
struct DemoButtonEdges {
    int Open_TBtn = 0;
    int Data_TB = 0;
    int Scope_TB = 0;
    int Measure_TB = 0;
    int FFT_TB = 0;
    int ToolButton15 = 0;
};

// Every entry back to its empty state, numbered.
void resetDemoScript(DemoScriptTable& script);
// Fills the script's first entries with the tour; returns how many it filled.
int fillDemoScript(DemoScriptTable& script, const DemoButtonEdges& buttons);
// Lines joined as a balloon text, cut to kDemoTextLimit bytes.
std::string demoText(std::initializer_list<std::string_view> lines);

// The pointer's straight way to a target, one pixel per tick along the longer axis.
// Zero ticks when the pointer is already there.
struct GlidePlan {
    int ticks = 0;
    double stepX = 0;
    double stepY = 0;
};
GlidePlan planGlide(int fromX, int fromY, int toX, int toY);

// Which side of its point a balloon is drawn on.
enum class BalloonSide { Below, Above };
// Near the top of the window (the toolbar) the balloon goes below its point, elsewhere above.
BalloonSide balloonSideFor(int pointY, int windowTop);

} // namespace kavlon
