#include "core/acquisition/Frames.h"

#include <initializer_list>
#include <utility>

namespace kavlon {

namespace {

constexpr Frame makeFrame(std::initializer_list<std::pair<int, std::uint8_t>> bytes) {
    Frame f{};
    for (auto [index, value] : bytes)
        f[std::size_t(index)] = value;
    return f;
}

} // namespace

// A two-channel instrument at timebase index 4, channels 1 and 2 on, running,
// triggered on channel 1 at level 80, probe range 3 everywhere.
const Frame DemoSettingsFrame = makeFrame({
    {0, 0x69}, {1, 63},   {2, 8},    {3, 10}, {4, 9},    {5, 9},    {6, 4},    {7, 0},    {8, 80},
    {9, 175},  {10, 171}, {11, 117}, {12, 2}, {13, 1},   {14, 0},   {15, 1},   {16, 1},   {17, 80},
    {18, 5},   {19, 5},   {20, 4},   {21, 4}, {22, 0},   {23, 104}, {24, 104}, {25, 104}, {26, 104},
    {27, 104}, {28, 45},  {29, 225}, {32, 2}, {34, 110}, {37, 211}, {38, 249},
});

// Reference levels 20, 50 and 80; the demonstration always starts its window at 0.
const Frame DemoTrailerFrame = makeFrame({
    {0, 0x6B},
    {1, 63},
    {8, 103},
    {12, 203},
    {16, 103},
    {20, 203},
    {24, 20},
    {25, 50},
    {26, 80},
    {27, 1},
    {29, 89},
    {30, 2},
    {31, 1},
    {33, 153},
    {35, 5},
    {37, 83},
    {38, 252},
});

} // namespace kavlon
