#include "core/scope/ScopeCanvas.h"

#include <algorithm>
#include <cstdlib>

namespace kavlon {

void ScopeCanvas::fill(Ink ink) {
    std::fill(m_pixels.begin(), m_pixels.end(), std::uint8_t(ink));
}

void ScopeCanvas::fillRect(int left, int top, int right, int bottom, Ink ink) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, kWidth);
    bottom = std::min(bottom, kHeight);
    if (left >= right)
        return; // wholly beside the screen, or empty: a fill across would run past the row
    for (int y = top; y < bottom; ++y)
        std::fill(m_pixels.begin() + std::ptrdiff_t(y) * kWidth + left,
                  m_pixels.begin() + std::ptrdiff_t(y) * kWidth + right, std::uint8_t(ink));
}

void ScopeCanvas::line(int x0, int y0, int x1, int y1, Ink ink) {
    // Coordinates come from 32-bit state; the arithmetic below must not overflow.
    const long long dx = (long long)x1 - x0;
    const long long dy = (long long)y1 - y0;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const long long major = xMajor ? std::llabs(dx) : std::llabs(dy);
    const long long minor = xMajor ? std::llabs(dy) : std::llabs(dx);
    const int majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;

    long long x = x0;
    long long y = y0;
    long long error = 0; // twice the distance walked off the ideal line, in units of 1/major
    for (long long t = 0; t < major; ++t) {
        if (x >= 0 && x < kWidth && y >= 0 && y < kHeight)
            m_pixels[std::size_t(y) * kWidth + std::size_t(x)] = std::uint8_t(ink);
        (xMajor ? x : y) += majorStep;
        error += 2 * minor;
        if (error > major) {
            (xMajor ? y : x) += minorStep;
            error -= 2 * major;
        }
    }
}

} // namespace kavlon
