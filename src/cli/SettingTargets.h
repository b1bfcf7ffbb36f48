#pragma once

#include "cli/Outcome.h"

#include "core/acquisition/AcquisitionState.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavlon::cli {

// The settings asked for on the command line, as the user wrote them. Each list
// entry is "CHANNEL:VALUE" or several of them joined by commas.
struct SettingTexts {
    std::optional<std::string> timebase;
    std::vector<std::string> volts;
    std::optional<std::string> channels;
    std::vector<std::string> coupling;
    std::vector<std::string> invert;
    std::optional<std::string> run;
};

template <class T> using PerChannel = std::array<std::optional<T>, kChannels>;

// The same, checked and in the instrument's terms. Channels are 0-based here.
struct SettingTargets {
    std::optional<int> timebase;    // the TimebaseTable entry the instrument should report
    PerChannel<double> voltsPerDiv; // volts per division, probe factor included
    std::optional<std::array<bool, kChannels>> channelsOn;
    PerChannel<bool> acCoupled;
    PerChannel<bool> inverted;
    std::optional<bool> running;

    // Whether any setting was asked for at all.
    bool any() const;
};

// Fails (exit code 1) naming the option and the value it cannot take.
Outcome parseTargets(const SettingTexts& texts, SettingTargets& targets);

// "200 µs", "200us", "0.2 ms", "500mV", "2.5 kV / Div": the value in seconds or volts
// for unit 's' or 'V'. Nothing for anything else.
std::optional<double> parseQuantity(std::string_view text, char unit);

// The labels offered at a probe range, for a message: "10 mV, 20 mV, ..., 5 V".
std::string offeredVolts(int probeRange);

} // namespace kavlon::cli
