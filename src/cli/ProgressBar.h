#pragma once

#include <cstdio>

namespace kavlon::cli {

// A one-line progress bar on a terminal; on anything else (a pipe, a log file) it
// writes nothing, so scripts read only messages.
class ProgressBar {
public:
    explicit ProgressBar(std::FILE* stream);
    ~ProgressBar() { clear(); }

    // Shot `shot` of `shots` (1-based), received `done` of `total` steps.
    void show(int shot, int shots, int done, int total);
    // Takes the bar off its line before anything else is written there.
    void clear();

private:
    std::FILE* m_stream;
    bool m_enabled = false;
    bool m_shown = false;
    int m_lastPercent = -1;
    int m_lastShot = -1;
};

} // namespace kavlon::cli
