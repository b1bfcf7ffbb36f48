#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace kavlon {

constexpr int kChannels = 4;
constexpr int kBlockSize = 16384; // samples per raw or display block
constexpr int kSampleBlocks = 10; // five raw blocks, five display blocks
constexpr int kLongShot = 16300;  // samples per channel below timebase index 7
constexpr int kShortShot = 4060;  // samples per channel from timebase index 7 on
constexpr int kDisplaySlotCount = 100;

// The command being sent: group, code, parameter, 16-bit value (low byte first).
// Bytes 5 and 6 are never set by any command but always go out on the wire.
using CommandBytes = std::array<std::uint8_t, 7>;

// Shot length of the instrument's memory for a given acquisition timebase.
constexpr int shotLength(int timebaseIndex) {
    return timebaseIndex < 7 ? kLongShot : kShortShot;
}

// The program's one record of the instrument: what it last reported, the sample
// memory filled from its frames, and the bookkeeping shared with the displays.
// The device objects and the reader thread live with the device layer.
struct AcquisitionState {
    CommandBytes CommandBuffer{};
    bool Connected = false;
    bool Running = false;
    int TriggerPoint = 0;
    int WindowStart = 0;

    // Raw memories (blocks 0-3) and the shot window (blocks 5-8) in one array.
    // Blocks 4 and 9 are never used; they keep the layout of the instrument's memory map.
    std::array<std::uint8_t, kBlockSize * kSampleBlocks> SampleMemory{};

    std::array<int, kChannels> VoltsIndex{};
    std::array<int, kChannels> ChannelGain{};
    std::array<int, kChannels> ProbeRange{};
    std::array<int, kChannels> ZeroLevel{};
    int TimebaseIndex = 0;
    int TimebaseOffset = 0;
    int TimeStepIndex = 0;
    int TrailerValue = 0;
    int TriggerSource = 0;
    int TriggerLevel = 0;
    int ChannelCount = 4;
    std::array<bool, kChannels> ChannelOn{};
    bool AuxFlag = false;
    // The volts-per-division texts the front panel shows, kept with the indexes they
    // were made from; a shot takes them along.
    std::array<std::string, kChannels> VoltsPerDivText = {"10 mV / Div", "10 mV / Div", "10 mV / Div",
                                                          "10 mV / Div"};
    std::string RequestName;
    std::array<int, kDisplaySlotCount> DisplaySlots = freeSlots();
    std::array<int, 3> ReferenceLevels{};
    int WindowMode = 0;

    // channel is 0-based here: 0..3 for channels 1..4.
    std::span<std::uint8_t, kBlockSize> RawSamples(int channel) { return block(channel); }
    std::span<const std::uint8_t, kBlockSize> RawSamples(int channel) const { return block(channel); }
    std::span<std::uint8_t, kBlockSize> DisplaySamples(int channel) { return block(5 + channel); }
    std::span<const std::uint8_t, kBlockSize> DisplaySamples(int channel) const { return block(5 + channel); }

    int currentShotLength() const { return shotLength(TimebaseIndex); }

private:
    static constexpr std::array<int, kDisplaySlotCount> freeSlots() {
        std::array<int, kDisplaySlotCount> free{};
        free.fill(-1);
        return free;
    }
    std::span<std::uint8_t, kBlockSize> block(int index) {
        return std::span<std::uint8_t, kBlockSize>(SampleMemory.data() + std::size_t(index) * kBlockSize,
                                                   kBlockSize);
    }
    std::span<const std::uint8_t, kBlockSize> block(int index) const {
        return std::span<const std::uint8_t, kBlockSize>(
            SampleMemory.data() + std::size_t(index) * kBlockSize, kBlockSize);
    }
};

// The channels the instrument has: 2 when it says so, else 4 (entries 3 and 4 of a
// two-channel instrument keep whatever it sends there).
inline int channelCountOf(const AcquisitionState& s) {
    return s.ChannelCount == 2 ? 2 : kChannels;
}

} // namespace kavlon
