#pragma once

#include "cli/SettingTargets.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace kavlon::cli {

// The instrument's settings as options: set takes them, and capture and measure
// --live apply them before their first shot, checked the same way.
struct SettingOptions {
    QCommandLineOption timebase{"timebase", "Time per division, e.g. \"200 µs\" or 1ms.", "time"};
    QCommandLineOption volts{"volts", "Volts per division of a channel, e.g. 1:500mV (repeatable).",
                             "ch:volts"};
    QCommandLineOption channels{"channels", "The channels to switch on, the others off, e.g. 1,2.", "list"};
    QCommandLineOption coupling{"coupling", "A channel's coupling, e.g. 2:AC or 1:DC (repeatable).",
                                "ch:AC|DC"};
    QCommandLineOption invert{"invert", "Invert a channel or not, e.g. 3:on (repeatable).", "ch:on|off"};
    QCommandLineOption run{"run", "Acquisition running (on) or stopped (off).", "on|off"};

    void addTo(QCommandLineParser& parser) const;
    // What the options say, as the user wrote it.
    SettingTexts texts(const QCommandLineParser& parser) const;
};

} // namespace kavlon::cli
