#include "core/shot/ShotAnalysis.h"

#include <algorithm>
#include <utility>

namespace kavlon {

namespace {

// The crossing searches share one position that only moves forward, so the whole
// analysis reads the shot once. A crossing that never comes stops at n.
class EdgeChain {
public:
    EdgeChain(std::span<const std::uint8_t> samples, const ChannelAnalysis& a)
        : m_raw(samples), m_n(samples.empty() ? 0 : int(samples.size()) - 1), m_level1(a.Level1),
          m_level2(a.Level2), m_level3(a.Level3) {}

    int n() const { return m_n; }

    // A rise lowers the raw value (the voltage goes up) past Level1, Level2, Level3.
    EdgeRecord rise() {
        EdgeRecord e;
        e.AtLevel1 = downThrough(m_level1);
        e.AtLevel2 = downThrough(m_level2);
        e.AtLevel3 = downThrough(m_level3);
        return e;
    }
    EdgeRecord fall() {
        EdgeRecord e;
        e.AtLevel3 = upThrough(m_level3);
        e.AtLevel2 = upThrough(m_level2);
        e.AtLevel1 = upThrough(m_level1);
        return e;
    }

private:
    int downThrough(int level) {
        while (m_i < m_n && m_raw[std::size_t(m_i)] >= level)
            ++m_i;
        return m_i;
    }
    int upThrough(int level) {
        while (m_i < m_n && m_raw[std::size_t(m_i)] <= level)
            ++m_i;
        return m_i;
    }

    std::span<const std::uint8_t> m_raw;
    int m_n;
    int m_i = 0;
    int m_level1, m_level2, m_level3;
};

// Top is the most frequent value in the lower raw half, base in the upper; the two
// scans meet at the midpoint, and ties go to the value nearer the extreme.
void findTopAndBase(ChannelAnalysis& a) {
    const int h = (a.RawMax + a.RawMin) / 2;
    a.TopRaw = 0;
    a.BaseRaw = 0;
    std::int32_t largest = 0;
    for (int v = 0; v <= h; ++v)
        if (a.Histogram[std::size_t(v)] > largest) {
            largest = a.Histogram[std::size_t(v)];
            a.TopRaw = v;
        }
    largest = 0;
    for (int v = 255; v >= h; --v)
        if (a.Histogram[std::size_t(v)] > largest) {
            largest = a.Histogram[std::size_t(v)];
            a.BaseRaw = v;
        }
    if (a.BaseRaw < a.TopRaw)
        std::swap(a.BaseRaw, a.TopRaw);
}

// Level j lies p_j percent of the way from base to top, truncated toward zero; the
// instrument's percentages rise with j, so Level1 sits nearest the base.
void findReferenceLevels(ChannelAnalysis& a, const std::array<int, 3>& percent) {
    std::int32_t* const levels[3] = {&a.Level1, &a.Level2, &a.Level3};
    for (int j = 2; j >= 0; --j) {
        const double fraction = double(percent[std::size_t(j)]) / 100.0;
        *levels[j] = std::int32_t(double(a.BaseRaw) - fraction * double(a.BaseRaw - a.TopRaw));
    }
}

void clearEdges(ChannelAnalysis& a) {
    for (EdgeRecord* e : {&a.Rise1, &a.Fall1, &a.Rise2, &a.Fall2, &a.CycleRise, &a.CycleFall})
        *e = EdgeRecord{};
    a.AvgSum = 0;
    a.AvgCount = 0;
}

bool reachedEnd(const EdgeRecord& e, int n) {
    return e.AtLevel1 == n || e.AtLevel2 == n || e.AtLevel3 == n;
}

// Keeps the last rise-then-fall that completes before the end of the shot.
void findLastCycle(ChannelAnalysis& a, EdgeChain& chain) {
    for (;;) {
        const EdgeRecord rise = chain.rise();
        const EdgeRecord fall = chain.fall();
        if (reachedEnd(rise, chain.n()) || reachedEnd(fall, chain.n()))
            return;
        a.CycleRise = rise;
        a.CycleFall = fall;
    }
}

} // namespace

void resetSampleCounts(ChannelAnalysis& analysis) {
    analysis.Histogram.fill(0);
    analysis.RawMax = 0;
    analysis.RawMid = 0;
    analysis.RawMin = 255;
}

void countSamples(ChannelAnalysis& analysis, std::span<const std::uint8_t> samples) {
    // Extremes from the histogram afterwards: one increment per sample in the hot loop.
    for (std::uint8_t r : samples)
        ++analysis.Histogram[r];
    for (int v = 0; v < 256; ++v)
        if (analysis.Histogram[std::size_t(v)] != 0) {
            analysis.RawMin = std::min(analysis.RawMin, v);
            break;
        }
    for (int v = 255; v >= 0; --v)
        if (analysis.Histogram[std::size_t(v)] != 0) {
            analysis.RawMax = std::max(analysis.RawMax, v);
            break;
        }
}

void analyseChannel(ChannelAnalysis& a, std::span<const std::uint8_t> samples,
                    const std::array<int, 3>& referencePercent) {
    if (a.RawMax < a.RawMin)
        std::swap(a.RawMax, a.RawMin);
    a.RawMid = (a.RawMax + a.RawMin) / 2;

    findTopAndBase(a);
    findReferenceLevels(a, referencePercent);
    clearEdges(a);

    // A shot that starts at or below Level1's voltage (raw at or above it) meets a rise first.
    const bool startsLow = samples.empty() || samples[0] >= a.Level1;
    EdgeChain chain(samples, a);
    if (startsLow) {
        a.Rise1 = chain.rise();
        a.Fall1 = chain.fall();
        a.Rise2 = chain.rise();
        a.Fall2 = chain.fall();
    } else {
        a.Fall1 = chain.fall();
        a.Rise1 = chain.rise();
        a.Fall2 = chain.fall();
        a.Rise2 = chain.rise();
    }
    findLastCycle(a, chain);

    // From the first edge of the starting kind to the same edge of the last cycle:
    // whole periods only, so the mean is not biased by a part period.
    const int first = startsLow ? a.Rise1.AtLevel2 : a.Fall1.AtLevel2;
    const int last = startsLow ? a.CycleRise.AtLevel2 : a.CycleFall.AtLevel2;
    for (int i = first; i <= last; ++i) {
        a.AvgSum += samples[std::size_t(i)] - a.RawMid;
        ++a.AvgCount;
    }
}

} // namespace kavlon
