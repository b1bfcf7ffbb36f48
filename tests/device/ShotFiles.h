#pragma once

#include "device/simulator/SignalGenerator.h"

#include "core/scales/ScaleTables.h"
#include "core/shot/ShotCsv.h"
#include "core/shot/ShotFileFormat.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

namespace kavlon::test {

// The settings of a shot the program could have saved.
struct ShotFileCase {
    const char* name;
    int mode = 4;
    std::array<bool, kChannels> on = {true, true, true, true};
    int timebase = 6;
    int zoom = 1;
    int windowStart = 0;
    int triggerSource = 1;
    std::array<int, kChannels> volts = {9, 8, 5, 11};
    std::array<int, kChannels> probes = {3, 6, 0, 12};
};

// The state its trailer left: the simulated instrument's square, sine, triangle and pulse
// on channels 1 to 4, of different periods, and the volts texts the front panel makes
// (a scale without a label keeps the text of the one before, here 2 V / Div).
inline std::unique_ptr<AcquisitionState> shotFileState(const ShotFileCase& c) {
    auto s = std::make_unique<AcquisitionState>();
    // In the order of the file's setting lines.
    const SettingValues values = {c.timebase,
                                  c.zoom,
                                  3,
                                  c.mode,
                                  c.on[0],
                                  c.on[1],
                                  c.on[2],
                                  c.on[3],
                                  c.volts[0],
                                  c.volts[1],
                                  c.volts[2],
                                  c.volts[3],
                                  c.probes[0],
                                  c.probes[1],
                                  c.probes[2],
                                  c.probes[3],
                                  128,
                                  120,
                                  140,
                                  100,
                                  c.triggerSource,
                                  17,
                                  812,
                                  c.windowStart,
                                  10,
                                  50,
                                  90,
                                  4321,
                                  1};
    applySettingValues(values, *s);
    constexpr WaveShape kShapes[] = {WaveShape::Square, WaveShape::Sine, WaveShape::Triangle,
                                     WaveShape::Pulse};
    for (std::size_t k = 0; k < kChannels; ++k) {
        s->VoltsPerDivText[k] = std::string(voltsPerDivLabel(c.probes[k], c.volts[k]).value_or("2 V / Div"));
        // Periods of 90 to 273 samples at one sample per microsecond, 180 raw steps high.
        const SignalSettings signal{kShapes[k], 1e6 / double(90 + 61 * k), 1.8, 0.0, 0.3};
        renderSignal(signal, {1e-6, 0.01, 128, false, false}, 0, s->DisplaySamples(int(k)));
    }
    return s;
}

inline std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Saves the shot the state holds as the program does; the file's path.
inline std::filesystem::path saveShotFile(const std::filesystem::path& path, const AcquisitionState& state) {
    const auto record = std::make_unique<ShotRecord>();
    transferShot(state, *record, TransferInputs{});
    EXPECT_TRUE(saveShotCsv(path, *record).saved) << path;
    return path;
}

// The file's text with other volts texts, as a replay delivers a file whose texts are
// not its scales' labels.
inline std::string withVoltsTexts(const std::string& text, const std::array<std::string, kChannels>& texts) {
    std::istringstream lines(text);
    std::string out;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with(kVoltsTextKey)) {
            line = std::string(kVoltsTextKey);
            for (const std::string& t : texts)
                line += "," + t;
            line += "\r";
        }
        out += line + "\n";
    }
    return out;
}

} // namespace kavlon::test
