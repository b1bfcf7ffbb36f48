#pragma once

#include "core/acquisition/AcquisitionState.h"
#include "core/shot/ShotCells.h"
#include "core/shot/ShotSettings.h"

#include <array>
#include <cstdint>
#include <string>

namespace kavlon {

// Three sample indices at which an edge passed the reference levels; -1 when the
// edge was not searched, the shot length n when the crossing never came.
struct EdgeRecord {
    std::int32_t AtLevel1 = -1;
    std::int32_t AtLevel2 = -1;
    std::int32_t AtLevel3 = -1;
    bool operator==(const EdgeRecord&) const = default;
};

// The pre-computed waveform analysis of one channel, on the raw scale (a smaller raw
// value is a higher voltage), from which the Measure display works.
struct ChannelAnalysis {
    std::array<std::int32_t, 256> Histogram{};
    std::int32_t RawMax = 0;
    std::int32_t RawMid = 0;
    std::int32_t RawMin = 0;
    std::int32_t BaseRaw = 0;
    std::int32_t TopRaw = 0;
    std::int32_t AvgSum = 0;
    std::int32_t AvgCount = 0;
    std::int32_t Level1 = 0;
    std::int32_t Level2 = 0;
    std::int32_t Level3 = 0;
    EdgeRecord Rise1;
    EdgeRecord Fall1;
    EdgeRecord Rise2;
    EdgeRecord Fall2;
    EdgeRecord CycleRise;
    EdgeRecord CycleFall;
    bool operator==(const ChannelAnalysis&) const = default;
};

// One captured shot as a Data display holds it and the other displays copy it: the
// settings and texts it was taken with, its analysis and its cells.
struct ShotRecord : ShotSettings {
    bool HasShot = false;
    // Set by the quick print before it asks for this display's shot; no transfer touches it.
    std::int32_t QuickOutputKind = 0;
    std::array<ChannelAnalysis, kChannels> Analysis;
    ShotCells Cells;

    // A Data display before its first shot shows these captions.
    ShotRecord();

    // Bytes a Data display spends on its shot, heap included.
    std::size_t footprint() const { return sizeof(*this) - sizeof(Cells) + Cells.footprint() + textBytes(); }
};

} // namespace kavlon
