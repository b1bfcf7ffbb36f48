#include "core/acquisition/FrameEncoding.h"

#include <algorithm>

namespace kavlon {

namespace {

// The check word the instrument puts into bytes 37-38 of settings and sample frames:
// the sum of bytes 3-34.
void seal(Frame& f) {
    int sum = 0;
    for (int i = 3; i <= 34; ++i)
        sum += f[std::size_t(i)];
    f[37] = std::uint8_t(255 - (sum & 0xFF));
    f[38] = std::uint8_t(255 - (sum >> 8));
}

// The 32 samples of a channel's memory from offset on, a multiple of 32.
Frame encodeSamples(int channel, int offset, std::span<const std::uint8_t, kBlockSize> memory) {
    Frame f{};
    f[0] = std::uint8_t(frame::SampleCh1 + channel);
    // The one value the instrument sends high byte first.
    f[1] = std::uint8_t(offset >> 8);
    f[2] = std::uint8_t(offset & 0xFF);
    std::copy_n(memory.begin() + offset, frame::SamplesPerFrame, f.begin() + 3);
    seal(f);
    return f;
}

void putLe16(Frame& f, int at, int value) {
    f[std::size_t(at)] = std::uint8_t(value & 0xFF);
    f[std::size_t(at) + 1] = std::uint8_t((value >> 8) & 0xFF);
}

} // namespace

Frame encodeSettings(const SettingsReport& s) {
    Frame f{};
    f[0] = frame::Settings;
    for (std::size_t c = 0; c < kChannels; ++c) {
        f[2 + c] = std::uint8_t(s.voltsIndex[c]);
        f[8 + c] = std::uint8_t(s.zeroLevel[c]);
        f[18 + c] =
            std::uint8_t((s.on[c] ? 0x01 : 0) | (s.acCoupled[c] ? 0x02 : 0) | (s.inverted[c] ? 0x10 : 0));
        f[23 + c] = std::uint8_t(s.probeRange[c] + frame::ProbeRangeBias);
    }
    f[6] = std::uint8_t(s.timebaseIndex);
    f[7] = std::uint8_t(s.timebaseOffset);
    f[12] = std::uint8_t(s.channelCount);
    f[13] = std::uint8_t(s.timeStepIndex);
    f[15] = s.running ? 1 : 0;
    f[16] = std::uint8_t(s.triggerSource);
    f[17] = std::uint8_t(s.triggerLevel);
    f[22] = s.auxFlag ? 1 : 0;
    // The fifth range byte nothing reads; the instrument repeats channel 1's there.
    f[27] = std::uint8_t(s.probeRange[0] + frame::ProbeRangeBias);
    seal(f);
    return f;
}

Frame encodeGain(int windowMode) {
    Frame f{};
    f[0] = frame::Gain;
    f[6] = std::uint8_t(windowMode);
    return f;
}

Frame encodeTrailer(const TrailerReport& t) {
    Frame f{};
    f[0] = frame::Trailer;
    for (std::size_t i = 0; i < t.referenceLevels.size(); ++i)
        f[24 + i] = std::uint8_t(t.referenceLevels[i]);
    putLe16(f, 31, t.triggerPoint);
    putLe16(f, 33, t.windowPosition);
    putLe16(f, 35, t.trailerValue);
    return f;
}

void forEachSampleFrame(int channel, std::span<const std::uint8_t, kBlockSize> memory, int stride,
                        const std::function<void(const Frame&)>& send) {
    for (int n = 0; n < kFramesPerMemory; ++n) {
        const int block = (n * stride) % kFramesPerMemory;
        send(encodeSamples(channel, block * frame::SamplesPerFrame, memory));
    }
}

} // namespace kavlon
