#include "core/demo/DemoScript.h"

#include <algorithm>
#include <cstdlib>

namespace kavlon {

namespace {

// A point the script names, or a toolbar button's left edge to aim beside.
struct Target {
    int x;
    int y;
};
Target atButton(int leftEdge) {
    return {leftEdge + kButtonTargetOffset, kButtonTargetY};
}

// A balloon of three lines needs about this much room above its point.
constexpr int kBelowLimit = 120;

} // namespace

std::string demoText(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        if (!text.empty())
            text += "\n\r";
        text += line;
    }
    if (text.size() > kDemoTextLimit)
        text.resize(kDemoTextLimit);
    return text;
}

void resetDemoScript(DemoScriptTable& script) {
    for (std::size_t i = 0; i < script.size(); ++i) {
        script[i] = DemoStep{};
        script[i].StepNo = int(i);
    }
}

int fillDemoScript(DemoScriptTable& script, const DemoButtonEdges& b) {
    struct Row {
        Target at;
        int motion;
        int interval;
        int action;
        std::initializer_list<std::string_view> lines;
    };
    const std::string_view qp = "Hint - Quick - Print - Preference :";
    const std::string_view pp = "Hint - Printing - Preference :";
    const Row rows[kDemoScriptLength] = {
        {{190, 90}, Jump, 5000, Nothing, {"This is a little demonstation about the using of the software"}},
        {atButton(b.Open_TBtn),
         Glide,
         10000,
         Connect,
         {"Step 1 :", "Press this button to connect to the scope.",
          "It should be colored, otherwise the Kavlon is not connected correctly"}},
        {atButton(b.Data_TB), Glide, 5000, OpenData, {"Step 2 :", "Press this button to open a data screen"}},
        {{240, 115}, Glide, 5000, RefreshData, {"Step 3 :", "Press this button to acquire the data"}},
        {{240, 130}, Glide, 5000, Nothing, {"Hint :", "Press this button to export the data to excel file"}},
        {atButton(b.Scope_TB),
         Glide,
         5000,
         OpenScope,
         {"Step 4 :", "Press this button to open a scope screen"}},
        {{285, 145}, Glide, 5000, DropScopeSources, {"Step 5 :", "Open the Combobox to show possible datas"}},
        {{265, 158}, Glide, 5000, PickScopeSource, {"Step 6 :", "Select the wanted data"}},
        {{375, 145},
         Glide,
         5000,
         Nothing,
         {"Hint :", "For printing or saving you can switch the grid off or on."}},
        {{420, 145},
         Glide,
         5000,
         Nothing,
         {"Hint :", "For printing or saving you can switch invert off or on", "to save blank ink."}},
        {{475, 145},
         Glide,
         5000,
         Nothing,
         {"Hint :", "For printing or saving you can switch the color off or on."}},
        {{535, 145},
         Glide,
         5000,
         Nothing,
         {"Hint :", "For printing or saving you can switch the zero cursor off or on."}},
        {{745, 145}, Glide, 5000, Nothing, {"Hint :", "You can adjust the zoom level with this combobox."}},
        {atButton(b.ToolButton15),
         Glide,
         5000,
         ShowOptions,
         {"Step 7 :", "Press this Button to open preference dialog."}},
        {{455, 335}, Glide, 5000, Nothing, {qp, "You can switch the grid off or on."}},
        {{455, 350}, Glide, 5000, Nothing, {qp, "You can switch invert off or on", "to save blank ink."}},
        {{455, 365}, Glide, 5000, Nothing, {qp, "You can switch the color off or on."}},
        {{475, 405},
         Glide,
         5000,
         Nothing,
         {pp, "If Printer is selected then if you hit the Print Button in the Scope window",
          "the data was sended to the printer"}},
        {{475, 420},
         Glide,
         5000,
         Nothing,
         {pp, "If BMP is selected then if you hit the Print Button in the Scope window",
          "the data was saved to a bmp file"}},
        {{475, 435},
         Glide,
         5000,
         Nothing,
         {pp, "If Jpeg is selected then if you hit the Print Button in the Scope window",
          "the data was saved to a jpeg file"}},
        {{555, 475}, Glide, 5000, HideOptions, {pp, "Press Okay to save preference."}},
        {{785, 140}, Glide, 5000, Nothing, {"Hint :", "Press Print to print or save the scope window."}},
        {atButton(b.Measure_TB),
         Glide,
         5000,
         OpenMeasure,
         {"Step 8 :", "Press this button to open a measurement screen"}},
        {{280, 150},
         Glide,
         5000,
         DropMeasureSources,
         {"Step 9 :", "Open the Combobox to show possible datas"}},
        {{280, 170}, Glide, 5000, PickMeasureSource, {"Step 10 :", "Select the wanted data"}},
        {atButton(b.FFT_TB), Glide, 5000, OpenFFT, {"Step 11 :", "Press this button to open a fft screen"}},
        {{330, 180}, Glide, 5000, DropFFTSources, {"Step 12 :", "Open the Combobox to show possible datas"}},
        {{330, 200}, Glide, 5000, PickFFTSource, {"Step 13 :", "Select the wanted data"}},
        {{690, 90},
         Jump,
         10000,
         CloseListed,
         {"As you can see you can use more data screen to acquire multible shots", "an do a quick compare.",
          "Here ends the demonstration"}},
    };
    for (int i = 0; i < kDemoScriptLength; ++i) {
        const Row& r = rows[i];
        script[std::size_t(i)] = DemoStep{
            i,       r.at.x, r.at.y, demoText(r.lines), r.motion, std::min(r.interval, kDemoIntervalLimit),
            r.action};
    }
    return kDemoScriptLength;
}

GlidePlan planGlide(int fromX, int fromY, int toX, int toY) {
    const int dx = toX - fromX;
    const int dy = toY - fromY;
    const int ticks = std::max(std::abs(dx), std::abs(dy));
    if (ticks == 0)
        return {};
    return {ticks, double(dx) / ticks, double(dy) / ticks};
}

BalloonSide balloonSideFor(int pointY, int windowTop) {
    return pointY <= windowTop + kBelowLimit ? BalloonSide::Below : BalloonSide::Above;
}

} // namespace kavlon
