#pragma once

#include <array>
#include <cstdint>

namespace kavlon {

// One frame from the instrument. Only bytes 0-38 carry meaning; a report that
// supplies fewer bytes leaves the rest zero.
constexpr int kFrameSize = 67;
using Frame = std::array<std::uint8_t, kFrameSize>;

namespace frame {

constexpr std::uint8_t SampleCh1 = 0x65; // 0x65..0x68: channels 1..4
constexpr std::uint8_t SampleCh4 = 0x68;
constexpr std::uint8_t Settings = 0x69;
constexpr std::uint8_t Trailer = 0x6B;
constexpr std::uint8_t Gain = 0x6C;
constexpr std::uint8_t QuickPrint = 0x96;
constexpr std::uint8_t Poll = 0x97;
constexpr std::uint8_t Extended = 0xFF;

// Subtypes of an extended frame, in byte 1.
constexpr std::uint8_t ExtSampleCh1 = 1; // 1..4: channels 1..4
constexpr std::uint8_t ExtSampleCh4 = 4;
constexpr std::uint8_t ExtSettings = 5;
constexpr std::uint8_t ExtTrailer = 7;

constexpr int SamplesPerFrame = 32;
// A settings frame carries each channel's probe range this much above its index.
constexpr int ProbeRangeBias = 101;
// The ordinary trailer's window starts this far past the position it carries.
constexpr int WindowOffset = 40;

constexpr int le16(const Frame& f, int at) {
    return f[std::size_t(at)] | (f[std::size_t(at) + 1] << 8);
}
// Sample offsets are the one value sent high byte first.
constexpr int be16(const Frame& f, int at) {
    return (f[std::size_t(at)] << 8) | f[std::size_t(at) + 1];
}

// The instrument's check word: (255 - b37) + 256 * (255 - b38).
constexpr int checkWord(const Frame& f) {
    return (255 - f[37]) + 256 * (255 - f[38]);
}

} // namespace frame

// The two frames the demonstration uses in place of an instrument.
extern const Frame DemoSettingsFrame;
extern const Frame DemoTrailerFrame;

} // namespace kavlon
