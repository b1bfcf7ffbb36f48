#include "cli/SettingTargets.h"

#include "core/scales/ScaleTables.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kavlon::cli {

namespace {

constexpr std::string_view kMicro = "\xC2\xB5";

std::string_view trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

std::string lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

// "/ Div" after a value is the front panel's own way of writing it.
std::string_view withoutPerDiv(std::string_view s) {
    s = trim(s);
    if (!lower(s).ends_with("div"))
        return s;
    const std::string_view before = trim(s.substr(0, s.size() - 3));
    return before.ends_with('/') ? trim(before.substr(0, before.size() - 1)) : s;
}

std::optional<double> prefixFactor(std::string_view prefix) {
    if (prefix.empty())
        return 1.0;
    if (prefix == "n")
        return 1e-9;
    if (prefix == "u" || prefix == kMicro)
        return 1e-6;
    if (prefix == "m")
        return 1e-3;
    if (prefix == "k" || prefix == "K")
        return 1e3;
    return std::nullopt;
}

std::optional<int> channelNumber(std::string_view s) {
    int c = 0;
    s = trim(s);
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), c);
    if (error != std::errc() || end != s.data() + s.size() || c < 1 || c > kChannels)
        return std::nullopt;
    return c - 1;
}

std::vector<std::string_view> split(std::string_view s, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t at = 0;;) {
        const std::size_t next = s.find(separator, at);
        parts.push_back(trim(s.substr(at, next - at)));
        if (next == std::string_view::npos)
            return parts;
        at = next + 1;
    }
}

Outcome bad(std::string_view option, std::string_view value, std::string_view why) {
    return Outcome::failure(ExitCode::Usage,
                            "--" + std::string(option) + " " + std::string(value) + ": " + std::string(why));
}

std::optional<bool> choice(std::string_view value, std::string_view yes, std::string_view no) {
    const std::string low = lower(trim(value));
    if (low == yes)
        return true;
    if (low == no)
        return false;
    return std::nullopt;
}

std::optional<bool> onOff(std::string_view value) {
    if (auto v = choice(value, "on", "off"))
        return v;
    return choice(value, "yes", "no");
}

// Each "CHANNEL:VALUE" of an option, handed to take(channel, value); false ends it.
template <class Take>
Outcome perChannel(std::string_view option, const std::vector<std::string>& entries, Take take) {
    for (const std::string& entry : entries) {
        for (std::string_view item : split(entry, ',')) {
            const std::size_t colon = item.find(':');
            const auto channel =
                colon == std::string_view::npos ? std::nullopt : channelNumber(item.substr(0, colon));
            if (!channel)
                return bad(option, item, "expected CHANNEL:VALUE with a channel from 1 to 4");
            if (Outcome taken = take(*channel, trim(item.substr(colon + 1))); !taken.ok())
                return bad(option, item, taken.message);
        }
    }
    return Outcome::success();
}

Outcome parseChannels(const std::string& text, SettingTargets& targets) {
    std::array<bool, kChannels> on{};
    for (std::string_view item : split(text, ',')) {
        const auto channel = channelNumber(item);
        if (!channel)
            return bad("channels", text, "expected channel numbers from 1 to 4, e.g. 1,2");
        on[std::size_t(*channel)] = true;
    }
    targets.channelsOn = on;
    return Outcome::success();
}

Outcome parseTimebase(const std::string& text, SettingTargets& targets) {
    const auto seconds = parseQuantity(text, 's');
    if (!seconds)
        return bad("timebase", text, "expected a time per division such as \"200 µs\"");
    targets.timebase = timebaseIndexFor(*seconds);
    if (!targets.timebase)
        return bad("timebase", text,
                   "not a timebase the instrument offers (2 ns to 50 s in steps of 1, 2, 5)");
    return Outcome::success();
}

Outcome parseBooleans(std::string_view option, const SettingTexts& texts, SettingTargets& targets) {
    const bool coupling = option == "coupling";
    return perChannel(option, coupling ? texts.coupling : texts.invert, [&](int c, std::string_view value) {
        const auto v = coupling ? choice(value, "ac", "dc") : onOff(value);
        if (!v)
            return Outcome::failure(ExitCode::Usage, coupling ? "expected AC or DC" : "expected on or off");
        (coupling ? targets.acCoupled : targets.inverted)[std::size_t(c)] = v;
        return Outcome::success();
    });
}

} // namespace

std::optional<double> parseQuantity(std::string_view text, char unit) {
    std::string_view s = withoutPerDiv(text);
    double value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error != std::errc() || !std::isfinite(value) || value <= 0)
        return std::nullopt;
    std::string_view rest = trim(std::string_view(end, std::size_t(s.data() + s.size() - end)));
    if (rest.empty() || std::tolower((unsigned char)rest.back()) != std::tolower((unsigned char)unit))
        return std::nullopt;
    rest.remove_suffix(1);
    const auto factor = prefixFactor(trim(rest));
    if (!factor)
        return std::nullopt;
    return value * *factor;
}

std::string offeredVolts(int probeRange) {
    std::string list;
    for (int v = kFirstLabelledVolts; v <= kLastLabelledVolts; ++v) {
        if (const auto label = voltsPerDivLabel(probeRange, v)) {
            list += list.empty() ? "" : ", ";
            list += withoutPerDiv(*label);
        }
    }
    return list;
}

bool SettingTargets::any() const {
    const auto set = [](const auto& perChannel) {
        return std::any_of(perChannel.begin(), perChannel.end(), [](const auto& v) { return v.has_value(); });
    };
    return timebase || channelsOn || running || set(voltsPerDiv) || set(acCoupled) || set(inverted);
}

Outcome parseTargets(const SettingTexts& texts, SettingTargets& targets) {
    targets = {};
    if (texts.timebase)
        if (Outcome o = parseTimebase(*texts.timebase, targets); !o.ok())
            return o;
    if (texts.channels)
        if (Outcome o = parseChannels(*texts.channels, targets); !o.ok())
            return o;
    Outcome volts = perChannel("volts", texts.volts, [&](int c, std::string_view value) {
        targets.voltsPerDiv[std::size_t(c)] = parseQuantity(value, 'V');
        return targets.voltsPerDiv[std::size_t(c)]
                   ? Outcome::success()
                   : Outcome::failure(ExitCode::Usage, "expected volts per division such as 500mV");
    });
    if (!volts.ok())
        return volts;
    for (std::string_view option : {"coupling", "invert"})
        if (Outcome o = parseBooleans(option, texts, targets); !o.ok())
            return o;
    if (texts.run) {
        targets.running = onOff(*texts.run);
        if (!targets.running)
            return bad("run", *texts.run, "expected on or off");
    }
    return Outcome::success();
}

} // namespace kavlon::cli
