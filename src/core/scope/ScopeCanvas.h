#pragma once

#include <cstdint>
#include <vector>

namespace kavlon {

// What a pixel of the scope screen shows. The colour comes from the palette in force,
// so switching colours or inverting needs no new drawing arithmetic.
enum class Ink : std::uint8_t {
    Window,
    Background,
    Graticule,
    Channel1,
    Channel2,
    Channel3,
    Channel4,
    Cursor
};
constexpr int kInkCount = 8;

// Ink of channel 1-4.
constexpr Ink channelInk(int channel) {
    return Ink(int(Ink::Channel1) + channel - 1);
}

// The scope screen as one ink per pixel, x to the right and y downward. Anything drawn
// outside it is dropped, so no drawing rule needs its own bounds.
class ScopeCanvas {
public:
    static constexpr int kWidth = 614;
    static constexpr int kHeight = 410;

    ScopeCanvas() : m_pixels(std::size_t(kWidth) * kHeight, std::uint8_t(Ink::Window)) {}

    // Ink at (x, y); the window's own ink outside the screen.
    Ink at(int x, int y) const {
        return inside(x, y) ? Ink(m_pixels[std::size_t(y) * kWidth + std::size_t(x)]) : Ink::Window;
    }
    const std::uint8_t* row(int y) const { return m_pixels.data() + std::size_t(y) * kWidth; }

    void fill(Ink ink);
    // Fills from (left, top) up to but excluding (right, bottom).
    void fillRect(int left, int top, int right, int bottom, Ink ink);
    void setPixel(int x, int y, Ink ink) {
        if (inside(x, y))
            m_pixels[std::size_t(y) * kWidth + std::size_t(x)] = std::uint8_t(ink);
    }
    // A one-pixel pen line from (x0, y0) up to but excluding (x1, y1), so that lines
    // chained point to point set every joint once. Each step along the longer axis sets
    // one pixel at the nearest position on the shorter one, halves going to the start.
    void line(int x0, int y0, int x1, int y1, Ink ink);

private:
    static bool inside(int x, int y) { return x >= 0 && x < kWidth && y >= 0 && y < kHeight; }

    std::vector<std::uint8_t> m_pixels;
};

} // namespace kavlon
