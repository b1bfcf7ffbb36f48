#include "cli/ProgressBar.h"

#include <algorithm>
#include <string>

#include <unistd.h>

namespace kavlon::cli {

namespace {

constexpr int kWidth = 30;

} // namespace

ProgressBar::ProgressBar(std::FILE* stream) : m_stream(stream), m_enabled(::isatty(::fileno(stream)) == 1) {}

void ProgressBar::show(int shot, int shots, int done, int total) {
    if (!m_enabled)
        return;
    const int percent = total > 0 ? std::clamp(done * 100 / total, 0, 100) : 0;
    // One redraw per percent: a shot brings thousands of frames.
    if (percent == m_lastPercent && shot == m_lastShot)
        return;
    m_lastPercent = percent;
    m_lastShot = shot;
    const int filled = percent * kWidth / 100;
    const std::string bar =
        std::string(std::size_t(filled), '#') + std::string(std::size_t(kWidth - filled), '.');
    std::fprintf(m_stream, "\rshot %d/%d [%s] %3d%%", shot, shots, bar.c_str(), percent);
    std::fflush(m_stream);
    m_shown = true;
}

void ProgressBar::clear() {
    if (!m_shown)
        return;
    std::fprintf(m_stream, "\r%*s\r", kWidth + 32, "");
    std::fflush(m_stream);
    m_shown = false;
    m_lastPercent = -1;
}

} // namespace kavlon::cli
