#pragma once

#include <cstddef>
#include <stdexcept>
#include <vector>

namespace kavlon {

// The failures of a size change; what() is the text the user is shown.
class FourierError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class TFastFourierWgtWin { fwRectangle, fwTriangle, fwCos2, fwGauss, fwHamming, fwBlackman };

// A block of N complex points (N a power of two) that is weighted and transformed in
// place by a radix-2 FFT with the positive exponent, X(k) = sum x(n) e^(+2 pi i n k / N),
// unscaled, and read back as spectrum lines 0..N/2. Data points are numbered 1..N.
// Reads outside the ranges give 0 and writes there are ignored.
class TFastFourier {
public:
    static constexpr unsigned kLargestSize = 1u << 23;

    // 256 zero points with no weighting.
    TFastFourier();

    unsigned SpectrumSize() const { return m_size; }
    // Takes n zero points; throws FourierError for a size that is not a power of two
    // from 1 to 2^23 (nothing changes) or when the memory cannot be had (the block is
    // then gone: every read gives 0 and every write does nothing).
    void SetSpectrumSize(unsigned n);

    TFastFourierWgtWin WeightingWindow() const { return m_window; }
    void SetWeightingWindow(TFastFourierWgtWin window);

    double DataReal(long long i) const;
    double DataImag(long long i) const;
    void SetDataReal(long long i, double x);
    void ClearAll();
    void ClearReal();
    void ClearImag();

    // Weights the block and transforms it in place.
    void Transform();

    // k / dt / N for lines 1..N/2, else 0.
    double FreqOfLine(long long k, double dt) const;

    double Magnitude(long long k) const;
    double PowerSpec(long long k) const;
    double PhaseAngle(long long k) const;
    double CosTerms(long long k) const;
    double SineTerms(long long k) const;

    // Largest power and magnitude over lines 1..N/2-1 and 1..N/2; largest real and
    // imaginary parts of the block. Computed once per change of the data.
    double MaxPower() const;
    double MaxMagnitude() const;
    double MaxReal() const;
    double MaxImag() const;

private:
    bool hasBuffer() const { return !m_data.empty(); }
    bool isPoint(long long i) const { return hasBuffer() && i >= 1 && i <= (long long)m_size; }
    bool isLine(long long k) const { return hasBuffer() && k >= 0 && k <= (long long)m_size / 2; }
    double re(std::size_t k) const { return m_data[2 * k]; }
    double im(std::size_t k) const { return m_data[2 * k + 1]; }
    void applyWindow();
    void updateStatistics() const;

    unsigned m_size = 0;
    // Interleaved real and imaginary parts, 2N values.
    std::vector<double> m_data;
    TFastFourierWgtWin m_window = TFastFourierWgtWin::fwRectangle;

    struct Statistics {
        double maxReal = 0, maxImag = 0, minReal = 0, minImag = 0, maxPower = 0, maxMagnitude = 0;
    };
    mutable Statistics m_stats;
    mutable bool m_statsValid = false;
};

// The in-place radix-2 transform of n interleaved complex points (n a power of two).
void fourierTransform(double* data, std::size_t n);

} // namespace kavlon
