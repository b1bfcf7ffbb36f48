#include "core/spectrum/FastFourier.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <numbers>
#include <utility>

namespace kavlon {

namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;

bool isAcceptedSize(unsigned n) {
    return n >= 1 && n <= TFastFourier::kLargestSize && (n & (n - 1)) == 0;
}

// Weight of point b (1-based) of n for the windows given by a formula.
long double weight(TFastFourierWgtWin window, long double b, long double n) {
    const long double x = (b - n / 2) / n;
    switch (window) {
    case TFastFourierWgtWin::fwCos2: {
        const long double c = std::cos(kPi * x);
        return c * c;
    }
    case TFastFourierWgtWin::fwGauss: {
        const long double s = 6 * x;
        return std::exp(-0.5L * s * s);
    }
    case TFastFourierWgtWin::fwHamming:
        return 0.543478261L + 0.456521739L * std::cos(2 * kPi * x);
    case TFastFourierWgtWin::fwBlackman:
        return 0.42659L + 0.49656L * std::cos(2 * kPi * x) + 0.076848L * std::cos(4 * kPi * x);
    default:
        return 1;
    }
}

} // namespace

void fourierTransform(double* data, std::size_t n) {
    // Bit-reversal permutation: j runs through the bit-reversed order of i.
    for (std::size_t i = 0, j = 0; i < n; ++i) {
        if (j > i) {
            std::swap(data[2 * i], data[2 * j]);
            std::swap(data[2 * i + 1], data[2 * j + 1]);
        }
        std::size_t bit = n >> 1;
        while (bit != 0 && (j & bit) != 0) {
            j ^= bit;
            bit >>= 1;
        }
        j |= bit;
    }
    // Spans 1 and 2 have the twiddle factors 1 and i: their butterflies need no
    // multiplication.
    const auto butterfly = [data](std::size_t p, std::size_t q, double tr, double ti) {
        data[2 * q] = data[2 * p] - tr;
        data[2 * q + 1] = data[2 * p + 1] - ti;
        data[2 * p] += tr;
        data[2 * p + 1] += ti;
    };
    for (std::size_t p = 0; n >= 2 && p < n; p += 2)
        butterfly(p, p + 1, data[2 * p + 2], data[2 * p + 3]);
    for (std::size_t p = 0; n >= 4 && p < n; p += 4) {
        butterfly(p, p + 2, data[2 * p + 4], data[2 * p + 5]);
        butterfly(p + 1, p + 3, -data[2 * p + 7], data[2 * p + 6]);
    }
    // Wider spans: the twiddle factor follows a recurrence from 1, so each span costs
    // one pair of sines.
    for (std::size_t m = 4; m < n; m *= 2) {
        const double theta = std::numbers::pi / double(m);
        const double half = std::sin(0.5 * theta);
        const double wpr = -2.0 * half * half;
        const double wpi = std::sin(theta);
        double wr = 1.0;
        double wi = 0.0;
        for (std::size_t j = 0; j < m; ++j) {
            for (std::size_t p = j; p < n; p += 2 * m) {
                const std::size_t q = p + m;
                butterfly(p, q, wr * data[2 * q] - wi * data[2 * q + 1],
                          wr * data[2 * q + 1] + wi * data[2 * q]);
            }
            const double w = wr;
            wr += wr * wpr - wi * wpi;
            wi += wi * wpr + w * wpi;
        }
    }
}

TFastFourier::TFastFourier() {
    SetSpectrumSize(256);
}

void TFastFourier::SetSpectrumSize(unsigned n) {
    // The first size is taken even though there is no block yet; after a failed
    // allocation nothing changes any more.
    if (!hasBuffer() && m_size != 0)
        return;
    if (!isAcceptedSize(n))
        throw FourierError("FFT data length must be power of 2");
    m_data.clear();
    m_data.shrink_to_fit();
    m_statsValid = false;
    try {
        m_data.assign(std::size_t(2) * n, 0.0);
    } catch (const std::bad_alloc&) {
        m_size = n;
        throw FourierError("not enough memory on heap");
    }
    m_size = n;
}

void TFastFourier::SetWeightingWindow(TFastFourierWgtWin window) {
    if (hasBuffer())
        m_window = window;
}

double TFastFourier::DataReal(long long i) const {
    return isPoint(i) ? re(std::size_t(i - 1)) : 0.0;
}

double TFastFourier::DataImag(long long i) const {
    return isPoint(i) ? im(std::size_t(i - 1)) : 0.0;
}

void TFastFourier::SetDataReal(long long i, double x) {
    if (!isPoint(i))
        return;
    m_data[2 * std::size_t(i - 1)] = x;
    m_statsValid = false;
}

void TFastFourier::ClearAll() {
    std::fill(m_data.begin(), m_data.end(), 0.0);
    m_statsValid = false;
}

void TFastFourier::ClearReal() {
    for (std::size_t k = 0; k < m_data.size(); k += 2)
        m_data[k] = 0.0;
    m_statsValid = false;
}

void TFastFourier::ClearImag() {
    for (std::size_t k = 1; k < m_data.size(); k += 2)
        m_data[k] = 0.0;
    m_statsValid = false;
}

void TFastFourier::applyWindow() {
    const std::size_t n = m_size;
    const auto scale = [this](std::size_t point, long double w) {
        m_data[2 * point] = double(m_data[2 * point] * w);
        m_data[2 * point + 1] = double(m_data[2 * point + 1] * w);
    };
    if (m_window == TFastFourierWgtWin::fwRectangle)
        return;
    if (m_window == TFastFourierWgtWin::fwTriangle) {
        // A ramp up to 1 at the two centre points, mirrored.
        for (std::size_t b = 1; b <= n / 2; ++b) {
            const long double w = 2.0L * b / n;
            scale(b - 1, w);
            scale(n - b, w);
        }
        return;
    }
    for (std::size_t b = 1; b <= n; ++b)
        scale(b - 1, weight(m_window, b, n));
}

void TFastFourier::Transform() {
    if (!hasBuffer())
        return;
    applyWindow();
    fourierTransform(m_data.data(), m_size);
    m_statsValid = false;
}

double TFastFourier::FreqOfLine(long long k, double dt) const {
    if (k < 1 || k > (long long)m_size / 2)
        return 0.0;
    return double(k) / dt / double(m_size);
}

double TFastFourier::Magnitude(long long k) const {
    if (!isLine(k))
        return 0.0;
    const auto i = std::size_t(k);
    const double n = m_size;
    if (k == 0)
        return std::sqrt(re(0) * re(0) + im(0) * im(0)) / n;
    const double c = re(i) + re(m_size - i);
    const double s = im(i) - im(m_size - i);
    return std::sqrt(c * c + s * s) / n;
}

double TFastFourier::PowerSpec(long long k) const {
    if (!isLine(k))
        return 0.0;
    const auto i = std::size_t(k);
    const double n = m_size;
    if (k == 0)
        return (re(0) * re(0) + im(0) * im(0)) / n;
    const std::size_t mirror = m_size - i;
    return (re(i) * re(i) + im(i) * im(i) + re(mirror) * re(mirror) + im(mirror) * im(mirror)) / n;
}

double TFastFourier::PhaseAngle(long long k) const {
    if (!isLine(k) || k == 0)
        return 0.0;
    const auto i = std::size_t(k);
    if (re(i) != 0.0)
        return std::atan(im(i) / re(i));
    return im(i) > 0.0 ? std::numbers::pi / 2 : -std::numbers::pi / 2;
}

double TFastFourier::CosTerms(long long k) const {
    if (!isLine(k))
        return 0.0;
    const auto i = std::size_t(k);
    return (k == 0 ? re(0) : re(i) + re(m_size - i)) / double(m_size);
}

double TFastFourier::SineTerms(long long k) const {
    if (!isLine(k) || k == 0)
        return 0.0;
    const auto i = std::size_t(k);
    return (im(i) - im(m_size - i)) / double(m_size);
}

void TFastFourier::updateStatistics() const {
    if (m_statsValid)
        return;
    Statistics s{-1.7e308, -1.7e308, 1.7e308, 1.7e308, 0.0, 0.0};
    for (std::size_t k = 0; k < m_size && hasBuffer(); ++k) {
        s.maxReal = std::max(s.maxReal, re(k));
        s.maxImag = std::max(s.maxImag, im(k));
        s.minReal = std::min(s.minReal, re(k));
        s.minImag = std::min(s.minImag, im(k));
    }
    // Line 0 counts for neither, and the power leaves out line N/2 as well.
    const long long half = (long long)m_size / 2;
    for (long long k = 1; k <= half && hasBuffer(); ++k) {
        if (k < half)
            s.maxPower = std::max(s.maxPower, PowerSpec(k));
        s.maxMagnitude = std::max(s.maxMagnitude, Magnitude(k));
    }
    m_stats = hasBuffer() ? s : Statistics{};
    m_statsValid = true;
}

double TFastFourier::MaxPower() const {
    updateStatistics();
    return m_stats.maxPower;
}

double TFastFourier::MaxMagnitude() const {
    updateStatistics();
    return m_stats.maxMagnitude;
}

double TFastFourier::MaxReal() const {
    updateStatistics();
    return m_stats.maxReal;
}

double TFastFourier::MaxImag() const {
    updateStatistics();
    return m_stats.maxImag;
}

} // namespace kavlon
