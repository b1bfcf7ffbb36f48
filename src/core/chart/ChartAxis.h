#pragma once

#include <string>
#include <vector>

namespace kavlon {

// Values at or below this are not on a logarithmic axis.
constexpr double kLogAxisFloor = 1e-100;

// One axis of a chart: the data range it shows, linear or logarithmic, and the
// smallest span it allows. The setters correct or refuse what an axis cannot show.
class ChartAxis {
public:
    explicit ChartAxis(double minRange = 1e-10) : m_minRange(minRange) {}

    double lo() const { return m_lo; }
    double hi() const { return m_hi; }
    bool logarithmic() const { return m_log; }
    double minRange() const { return m_minRange; }

    // A span below the minimum is widened to it from the value set; a limit at or
    // below kLogAxisFloor on a logarithmic axis, and a value that is not finite, are ignored.
    void setLo(double x);
    void setHi(double x);
    void setMinRange(double span) { m_minRange = span; }
    // Linear is always accepted; logarithmic only over a positive range. Returns the state.
    bool setLogarithmic(bool on);

    // The pixel of a value on an axis drawn from pixel `low` (at lo) to `high` (at hi),
    // rounded, limited to the int range; a value the axis cannot show lands on `low`.
    int toPixel(double value, int low, int high) const;
    // The same before rounding: finite, within the int range.
    double pixelOf(double value, int low, int high) const;
    // The value at a pixel, for mouse positions.
    double fromPixel(int pixel, int low, int high) const;

private:
    double m_lo = 0.0;
    double m_hi = 1.0;
    bool m_log = false;
    double m_minRange;
};

struct ChartTick {
    double value = 0.0;
    bool labelled = true;
};

// Ticks of a linear axis: a step of 1, 2 or 5 times a power of ten, the largest not
// above |hi - lo| / minTicks, starting at the first multiple at or beyond lo.
std::vector<ChartTick> linearTicks(double lo, double hi, int minTicks);
// Ticks of a logarithmic axis: every power of ten, with 2 and 5 times each when there
// are fewer decades than minTicks, and short unlabelled ticks at 3, 4, 6 ... 9 when asked.
std::vector<ChartTick> logTicks(double lo, double hi, int minTicks, bool shortTicks);
// The ticks an axis draws: those of its kind that lie on it, the ends included.
std::vector<ChartTick> axisTicks(const ChartAxis& axis, int minTicks, bool shortTicks);

// How tick labels of an axis are written.
struct TickFormat {
    bool exponential = false;
    int decimals = 0;
    // Trailing zeros after the decimal point go, with the point when nothing follows.
    bool trimZeros = false;
    // The axis's decimal-places setting as given, automatic included: a zero tick on a
    // wide axis is written from it, not from the decimals it resolved to.
    int decimalsSetting = 0;
};
// The format for an axis over lo..hi; decimals -2 and -3 mean automatic.
TickFormat linearTickFormat(double lo, double hi, int decimals);
TickFormat logTickFormat(double lo, double hi);
// A tick's label, cut to 14 characters, with the caller's decimal mark. A tick within
// 1e-14 of the range's size from zero is written as zero; on an axis wider than 100 000,
// "0.0", or "0" when the decimals setting is 0.
std::string tickLabel(double value, const TickFormat& format, double lo, double hi,
                      char decimalSeparator = '.');

// Where a label lies along its axis: the pixels from `from` up to, not including, `to`.
struct LabelSpan {
    int from = 0;
    int to = 0;
};
// Which labels are written, in tick order: a label closer than `gap` pixels to the last
// one written is left out.
std::vector<bool> labelsThatFit(const std::vector<LabelSpan>& spans, int gap);

// A line from (x1, y1) to (x2, y2) cut to the rectangle [left, right] x [top, bottom];
// false when nothing of it lies inside or a coordinate is not finite.
bool clipSegment(double& x1, double& y1, double& x2, double& y2, double left, double top, double right,
                 double bottom);

} // namespace kavlon
