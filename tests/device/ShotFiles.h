#pragma once

#include "device/simulator/SignalGenerator.h"

#include "core/scales/ScaleTables.h"
#include "core/shot/ShotCsv.h"
#include "core/shot/ShotFileFormat.h"

#include "support/SyntheticShot.h"

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
    SyntheticShot shot;
    shot.timebase = c.timebase;
    shot.timebaseOffset = c.zoom;
    shot.timeStep = 3;
    shot.channelCount = c.mode;
    shot.on = c.on;
    shot.volts = c.volts;
    shot.probes = c.probes;
    shot.zeroLevels = {128, 120, 140, 100};
    shot.triggerSource = c.triggerSource;
    shot.triggerLevel = 17;
    shot.triggerPoint = 812;
    shot.windowStart = c.windowStart;
    shot.referenceLevels = {10, 50, 90};
    shot.trailerValue = 4321;
    constexpr WaveShape kShapes[] = {WaveShape::Square, WaveShape::Sine, WaveShape::Triangle,
                                     WaveShape::Pulse};
    auto rendered = std::make_shared<std::array<std::array<std::uint8_t, kBlockSize>, kChannels>>();
    for (std::size_t k = 0; k < kChannels; ++k) {
        // Periods of 90 to 273 samples at one sample per microsecond, 180 raw steps high.
        const SignalSettings signal{kShapes[k], 1e6 / double(90 + 61 * k), 1.8, 0.0, 0.3};
        renderSignal(signal, {1e-6, 0.01, 128, false, false}, 0, (*rendered)[k]);
    }
    shot.sample = [rendered](int k, int i) { return int((*rendered)[std::size_t(k - 1)][std::size_t(i)]); };
    auto s = shot.state();
    s->AuxFlag = true;
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
