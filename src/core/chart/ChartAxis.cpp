#include "core/chart/ChartAxis.h"

#include "core/scales/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace kavlon {

namespace {

// No axis is given more ticks than this, whatever its range asks for.
constexpr std::size_t kMaxTicks = 1000;

bool usable(double lo, double hi) {
    return std::isfinite(lo) && std::isfinite(hi);
}

double position(const ChartAxis& axis, double value) {
    return axis.logarithmic() ? std::log(value) : value;
}

} // namespace

void ChartAxis::setLo(double x) {
    if (!std::isfinite(x))
        return;
    if (std::fabs(m_hi - x) < m_minRange) {
        m_lo = x;
        m_hi = x + m_minRange;
    } else if (!m_log || x >= kLogAxisFloor) {
        m_lo = x;
    }
}

void ChartAxis::setHi(double x) {
    if (!std::isfinite(x))
        return;
    if (std::fabs(m_lo - x) < m_minRange) {
        m_hi = x;
        m_lo = x - m_minRange;
    } else if (!m_log || x >= kLogAxisFloor) {
        m_hi = x;
    }
}

bool ChartAxis::setLogarithmic(bool on) {
    if (!on || (m_lo >= kLogAxisFloor && m_hi >= kLogAxisFloor))
        m_log = on;
    return m_log;
}

double ChartAxis::pixelOf(double value, int low, int high) const {
    const double from = position(*this, m_lo);
    const double to = position(*this, m_hi);
    if ((m_log && !(value > kLogAxisFloor)) || std::isnan(value) || from == to)
        return low;
    const double pixel = low + (position(*this, value) - from) * (high - low) / (to - from);
    constexpr double kLimit = std::numeric_limits<int>::max();
    return std::isnan(pixel) ? double(low) : std::clamp(pixel, -kLimit, kLimit);
}

int ChartAxis::toPixel(double value, int low, int high) const {
    return int(std::nearbyint(pixelOf(value, low, high)));
}

double ChartAxis::fromPixel(int pixel, int low, int high) const {
    if (high == low)
        return m_lo;
    const double from = position(*this, m_lo);
    const double to = position(*this, m_hi);
    const double p = from + (double(pixel) - low) * (to - from) / (high - low);
    return m_log ? std::exp(p) : p;
}

std::vector<ChartTick> linearTicks(double lo, double hi, int minTicks) {
    if (!usable(lo, hi))
        return {};
    if (lo == hi)
        return {{lo, true}};
    const double d = std::log10(std::fabs(hi - lo) / std::max(1, minTicks));
    const double i = std::floor(d);
    const double f = d - i;
    double step = std::pow(10.0, i) * (f < std::log10(2.0) ? 1 : f < std::log10(5.0) ? 2 : 5);
    if (hi < lo)
        step = -step;
    if (step == 0 || !std::isfinite(step))
        return {};
    // One step below the multiple of the step next to lo, then on to the first at or beyond lo.
    double tick = std::trunc(lo / step) * step - step;
    // A step below the resolution of the values themselves would never move on.
    if (tick + step == tick || lo + step == lo)
        return {{lo, true}};
    while ((lo - tick) / step > 0.001)
        tick += step;
    std::vector<ChartTick> ticks;
    for (; (tick - hi) / step <= 0.001 && ticks.size() < kMaxTicks; tick += step)
        ticks.push_back({tick, true});
    return ticks;
}

std::vector<ChartTick> logTicks(double lo, double hi, int minTicks, bool shortTicks) {
    if (!usable(lo, hi) || !(lo > 0) || !(hi > 0))
        return {};
    const double decades = std::fabs(std::log10(hi / lo));
    if (decades < 1)
        return linearTicks(lo, hi, minTicks);
    const bool fine = minTicks > decades + 0.5;
    std::vector<ChartTick> ticks;
    for (double k = std::floor(std::log10(lo * 0.999999999));
         std::pow(10.0, k) < hi / 0.999999999 && ticks.size() < kMaxTicks; k += 1) {
        const double decade = std::pow(10.0, k);
        ticks.push_back({decade, true});
        if (!fine)
            continue;
        for (int m = 2; m <= 9; ++m)
            if (m == 2 || m == 5 || shortTicks)
                ticks.push_back({m * decade, m == 2 || m == 5});
    }
    return ticks;
}

std::vector<ChartTick> axisTicks(const ChartAxis& axis, int minTicks, bool shortTicks) {
    std::vector<ChartTick> ticks = axis.logarithmic() ? logTicks(axis.lo(), axis.hi(), minTicks, shortTicks)
                                                      : linearTicks(axis.lo(), axis.hi(), minTicks);
    // Compared where the axis draws them: on a log axis a slack in values would let in
    // whole decades below a small lower limit.
    const double from = position(axis, std::min(axis.lo(), axis.hi()));
    const double to = position(axis, std::max(axis.lo(), axis.hi()));
    const double slack = (to - from) * 1e-9;
    std::erase_if(ticks, [&](const ChartTick& t) {
        const double at = position(axis, t.value);
        return !(at >= from - slack && at <= to + slack);
    });
    return ticks;
}

TickFormat linearTickFormat(double lo, double hi, int decimals) {
    TickFormat format{false, std::max(0, decimals), false, decimals};
    if (decimals != -2 && decimals != -3)
        return format;
    const double span = std::fabs(hi - lo);
    format.exponential = span >= 1e6 || span <= 1e-4;
    format.decimals =
        format.exponential || span >= 100 ? 0 : std::max(0, 2 - int(std::nearbyint(std::log(span) / 2.5)));
    return format;
}

TickFormat logTickFormat(double lo, double hi) {
    const double span = std::fabs(hi - lo);
    if (span >= 1e6 || span <= 1e-4)
        return {true, 0};
    if (lo >= 1)
        return {false, 0, true};
    return {false, std::max(0, 1 - int(std::nearbyint(std::log10(std::fabs(lo))))), true};
}

std::string tickLabel(double value, const TickFormat& format, double lo, double hi, char decimalSeparator) {
    const double range = std::fabs(hi - lo);
    std::string text;
    if (std::fabs(value) < 1e-14 * range) {
        if (range <= 1e5)
            value = 0.0;
        else
            text = format.decimalsSetting != 0 ? "0.0" : "0";
    }
    if (text.empty() && format.exponential) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.2e", value);
        text = buffer;
        // A shorter exponent: "1.50e+07" reads "1.50e7".
        if (const auto e = text.find('e'); e != std::string::npos) {
            std::string exponent = text.substr(e + 1);
            const bool negative = exponent[0] == '-';
            exponent.erase(0, exponent.find_first_not_of("+-0"));
            text = text.substr(0, e + 1) + (negative ? "-" : "") + (exponent.empty() ? "0" : exponent);
        }
    } else if (text.empty()) {
        text = formatFixed(value, format.decimals, '.', 0);
        if (format.trimZeros && text.find('.') != std::string::npos) {
            text.erase(text.find_last_not_of('0') + 1);
            if (text.back() == '.')
                text.pop_back();
        }
    }
    std::replace(text.begin(), text.end(), '.', decimalSeparator);
    if (text.size() > 14)
        text.resize(14);
    return text;
}

std::vector<bool> labelsThatFit(const std::vector<LabelSpan>& spans, int gap) {
    std::vector<bool> written(spans.size(), false);
    const LabelSpan* last = nullptr;
    for (std::size_t i = 0; i < spans.size(); ++i) {
        const LabelSpan& s = spans[i];
        // Either way along the axis: Y labels run upward, X labels to the right.
        if (last && s.from < last->to + gap && last->from < s.to + gap)
            continue;
        written[i] = true;
        last = &s;
    }
    return written;
}

bool clipSegment(double& x1, double& y1, double& x2, double& y2, double left, double top, double right,
                 double bottom) {
    for (double v : {x1, y1, x2, y2})
        if (!std::isfinite(v))
            return false;
    // Liang-Barsky: the part of the segment's parameter range inside every edge.
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    double t0 = 0.0, t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - left, right - x1, y1 - top, bottom - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const double sx = x1, sy = y1;
    x1 = sx + t0 * dx;
    y1 = sy + t0 * dy;
    x2 = sx + t1 * dx;
    y2 = sy + t1 * dy;
    return true;
}

} // namespace kavlon
