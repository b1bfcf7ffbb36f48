#include "core/spectrum/FastFourier.h"
#include "core/spectrum/SpectrumLines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <functional>
#include <numbers>
#include <optional>
#include <random>
#include <span>
#include <vector>

namespace kavlon {
namespace {

constexpr double kPi = std::numbers::pi;

void fill(TFastFourier& f, const std::function<double(int)>& x) {
    f.ClearAll();
    for (int n = 0; n < int(f.SpectrumSize()); ++n)
        f.SetDataReal(n + 1, x(n));
}

TEST(FastFourier, SizesArePowersOfTwoAndAChangeStartsFromZero) {
    TFastFourier f;
    EXPECT_EQ(f.SpectrumSize(), 256u);
    f.SetDataReal(3, 7.0);
    for (unsigned bad : {1000u, 0u, 3u, 1u << 24, (1u << 24) + 1}) {
        try {
            f.SetSpectrumSize(bad);
            ADD_FAILURE() << bad << " was taken";
        } catch (const FourierError& e) {
            EXPECT_STREQ(e.what(), "FFT data length must be power of 2");
        }
        EXPECT_EQ(f.SpectrumSize(), 256u) << bad;
        EXPECT_EQ(f.DataReal(3), 7.0) << "the data stays as it was";
    }
    f.SetSpectrumSize(1024);
    EXPECT_EQ(f.SpectrumSize(), 1024u);
    EXPECT_EQ(f.DataReal(3), 0.0);
    EXPECT_EQ(f.DataReal(1024), 0.0);
    f.SetDataReal(1024, 2.0);
    EXPECT_EQ(f.DataReal(1024), 2.0);
    // Outside 1..N nothing is read or written.
    f.SetDataReal(0, 5.0);
    f.SetDataReal(1025, 5.0);
    EXPECT_EQ(f.DataReal(0), 0.0);
    EXPECT_EQ(f.DataReal(1025), 0.0);
    EXPECT_EQ(f.Magnitude(513), 0.0);
    EXPECT_EQ(f.Magnitude(-1), 0.0);
    EXPECT_DOUBLE_EQ(f.FreqOfLine(512, 1e-3), 1.0 / (2 * 1e-3));
    EXPECT_EQ(f.FreqOfLine(0, 1e-3), 0.0);
    EXPECT_EQ(f.FreqOfLine(513, 1e-3), 0.0);
}

TEST(FastFourier, KnownSignalsGiveTheirLines) {
    constexpr int N = 64;
    constexpr int k0 = 5;
    constexpr double a = 1.5;
    struct Case {
        const char* name;
        std::function<double(int)> x;
        int line;
        double magnitude, cosine, sine, power;
        double maxMagnitude, maxPower; // over lines 1..N/2 and 1..N/2-1
    };
    const Case cases[] = {
        {"constant", [](int) { return -a; }, 0, a, -a, 0.0, a * a * N, 0.0, 0.0},
        {"cosine", [](int n) { return a * std::cos(2 * kPi * k0 * n / N); }, k0, a, a, 0.0, a * a * N / 2, a,
         a * a * N / 2},
        // The positive exponent gives a sine its positive sign.
        {"sine", [](int n) { return a * std::sin(2 * kPi * k0 * n / N); }, k0, a, 0.0, a, a * a * N / 2, a,
         a * a * N / 2},
        // Line N/2 is its own mirror: counted twice, and left out of the largest power.
        {"alternating", [](int n) { return n % 2 ? -a : a; }, N / 2, 2 * a, 2 * a, 0.0, 2 * a * a * N, 2 * a,
         0.0},
    };
    TFastFourier f;
    f.SetSpectrumSize(N);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fill(f, c.x);
        f.Transform();
        EXPECT_NEAR(f.Magnitude(c.line), c.magnitude, 1e-12);
        EXPECT_NEAR(f.CosTerms(c.line), c.cosine, 1e-12);
        EXPECT_NEAR(f.SineTerms(c.line), c.sine, 1e-12);
        EXPECT_NEAR(f.PowerSpec(c.line), c.power, 1e-9);
        for (int k = 0; k <= N / 2; ++k)
            if (k != c.line) {
                EXPECT_NEAR(f.Magnitude(k), 0.0, 1e-12) << k;
            }
        EXPECT_NEAR(f.MaxMagnitude(), c.maxMagnitude, 1e-12);
        EXPECT_NEAR(f.MaxPower(), c.maxPower, 1e-9);
    }
}

TEST(FastFourier, TriangleWeightsAndStatisticsFollowTheData) {
    // Line 0 of a block holding a single 1 at point b is that point's weight.
    const double expected[] = {0.25, 0.5, 0.75, 1, 1, 0.75, 0.5, 0.25};
    TFastFourier one;
    one.SetSpectrumSize(8);
    one.SetWeightingWindow(TFastFourierWgtWin::fwTriangle);
    for (int b = 1; b <= 8; ++b) {
        one.ClearAll();
        one.SetDataReal(b, 1.0);
        one.Transform();
        EXPECT_DOUBLE_EQ(one.CosTerms(0) * 8, expected[b - 1]) << b;
    }

    // The statistics are made again after every change of the data.
    TFastFourier f;
    fill(f, [](int n) { return n == 2 ? 9.0 : -1.0; });
    EXPECT_EQ(f.MaxReal(), 9.0);
    f.SetDataReal(5, 12.0);
    EXPECT_EQ(f.MaxReal(), 12.0);
    EXPECT_EQ(f.MaxImag(), 0.0);
}

TEST(FastFourier, AgreesWithADirectTransformForEveryWindow) {
    constexpr int N = 512;
    std::mt19937 random(7);
    std::uniform_real_distribution<double> value(-100.0, 100.0);
    std::vector<double> x(N);
    for (double& v : x)
        v = value(random);
    const auto weightOf = [](TFastFourierWgtWin w, int b) {
        const double t = (b - N / 2.0) / N;
        switch (w) {
        case TFastFourierWgtWin::fwTriangle:
            return b <= N / 2 ? 2.0 * b / N : 2.0 * (N + 1 - b) / N;
        case TFastFourierWgtWin::fwCos2:
            return std::cos(kPi * t) * std::cos(kPi * t);
        case TFastFourierWgtWin::fwGauss:
            return std::exp(-0.5 * (6 * t) * (6 * t));
        case TFastFourierWgtWin::fwHamming:
            return 0.543478261 + 0.456521739 * std::cos(2 * kPi * t);
        case TFastFourierWgtWin::fwBlackman:
            return 0.42659 + 0.49656 * std::cos(2 * kPi * t) + 0.076848 * std::cos(4 * kPi * t);
        default:
            return 1.0;
        }
    };
    for (auto window :
         {TFastFourierWgtWin::fwRectangle, TFastFourierWgtWin::fwTriangle, TFastFourierWgtWin::fwCos2,
          TFastFourierWgtWin::fwGauss, TFastFourierWgtWin::fwHamming, TFastFourierWgtWin::fwBlackman}) {
        SCOPED_TRACE(int(window));
        TFastFourier f;
        f.SetSpectrumSize(N);
        f.SetWeightingWindow(window);
        fill(f, [&](int n) { return x[std::size_t(n)]; });
        f.Transform();
        double error = 0.0;
        double energy = 0.0;
        for (int k = 0; k < N; ++k) {
            std::complex<long double> sum = 0;
            for (int n = 0; n < N; ++n)
                sum += (long double)(x[std::size_t(n)] * weightOf(window, n + 1)) *
                       std::polar<long double>(1.0L, 2 * std::numbers::pi_v<long double> * n * k / N);
            const std::complex<double> got(f.DataReal(k + 1), f.DataImag(k + 1));
            error += std::norm(got - std::complex<double>(sum));
            energy += std::norm(std::complex<double>(sum));
        }
        EXPECT_LE(std::sqrt(error / energy), 1e-12);
    }
}

// What the spectrum display plots: 100 + 6 cos + 8 sin of k0 cycles in 512 samples.
TEST(SpectrumLines, EachTypeReadsItsLinesWithTheOffsetTakenOff) {
    constexpr int N = 512;
    constexpr int k0 = 8;
    constexpr double step = 0.001;
    std::vector<double> x(N);
    for (int n = 0; n < N; ++n)
        x[std::size_t(n)] = 100 + 6 * std::cos(2 * kPi * k0 * n / N) + 8 * std::sin(2 * kPi * k0 * n / N);
    struct Case {
        int type;
        double atK0;
        std::optional<double> top;
    };
    const Case cases[] = {
        {0, 10.0, 10.0},
        {1, 2 * (1536.0 * 1536 + 2048.0 * 2048) / N, 2 * (1536.0 * 1536 + 2048.0 * 2048) / N},
        {2, std::atan(2048.0 / 1536), std::nullopt},
        {3, 6.0, std::nullopt},
        {4, 8.0, std::nullopt},
        {5, 1536.0, std::nullopt}, // unscaled
        {6, 2048.0, std::nullopt},
    };
    TFastFourier engine;
    engine.SetSpectrumSize(N);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        const SpectrumLines lines = spectrumLines(engine, x, c.type, step);
        ASSERT_EQ(lines.frequency.size(), std::size_t(N / 2));
        ASSERT_EQ(lines.value.size(), std::size_t(N / 2));
        EXPECT_DOUBLE_EQ(lines.frequency.front(), 1 / (step * N));
        EXPECT_DOUBLE_EQ(lines.frequency[k0 - 1], k0 / (step * N));
        EXPECT_DOUBLE_EQ(lines.frequency.back(), 1 / (2 * step));
        EXPECT_NEAR(lines.value[k0 - 1], c.atK0, 1e-9);
        // The phase of an empty line is whatever rounding leaves.
        if (c.type != 2) {
            EXPECT_NEAR(lines.value[k0], 0.0, 1e-9);
        }
        ASSERT_EQ(lines.top.has_value(), c.top.has_value());
        if (c.top) {
            EXPECT_NEAR(*lines.top, *c.top, 1e-9);
        }
        EXPECT_NEAR(engine.Magnitude(0), 0.0, 1e-12) << "the mean is taken off";
    }
    // Samples short of the engine's size count as zero; nothing past them is read.
    const SpectrumLines few = spectrumLines(engine, std::span(x).first(3), 0, step);
    EXPECT_EQ(few.value.size(), std::size_t(N / 2));
    EXPECT_EQ(spectrumValue(engine, 7, 1), 0.0);
}

} // namespace
} // namespace kavlon
