#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kavlon {

// The front-panel boxes that a settings report sets and whose clicks send a command.
enum class PanelBox { Channel, Coupling, Invert };

// A trailer closed the shot that a data request asked for.
struct CompletedShot {
    // The caption of the display that asked (RequestName).
    const std::string& requestName;
    // Which samples of the window no frame of this shot brought; nothing when whole.
    std::optional<std::string> gap;

    bool whole() const { return !gap.has_value(); }
};

// What became of a completed shot. A request that was answered (the display took
// the shot, or it has gone) is settled; one with nowhere to go at all stays
// pending for the next trailer.
enum class ShotDelivery { Settled, KeepPending };

// What the receive interpretation reports. The instrument session implements it;
// channels are numbered 1-4. Every call happens on the main thread.
class ReceiveListener {
public:
    virtual ~ReceiveListener() = default;

    virtual void progressPositionChanged(int position) = 0;
    virtual void progressMaximumChanged(int maximum) = 0;
    virtual void runStateChanged(bool running) = 0;
    // Track bar position 0-384 from the zero level; may lie outside that range.
    virtual void zeroLevelPositionChanged(int channel, int position) = 0;
    virtual void panelBoxChanged(PanelBox box, int channel, bool checked) = 0;
    // Add, Delete, Reset, the display buttons, Run/Stop, Single, Auto-Scale,
    // Faster, Slower and the timebase label.
    virtual void instrumentControlsEnabled() = 0;
    virtual void upperChannelsVisible(bool visible) = 0; // channels 3 and 4
    // The channel's volts label and its Bigger and Smaller buttons.
    virtual void channelControlsEnabled(int channel, bool enabled) = 0;
    virtual void dataRefreshButtonsEnabled() = 0;
    virtual void timebaseLabelChanged(std::string_view text) = 0;
    virtual void voltsLabelChanged(int channel, std::string_view text) = 0;

    // A trailer completed a shot for the display that asked; the interpretation
    // clears RequestName afterwards unless the answer is KeepPending.
    virtual ShotDelivery shotCompleted(const CompletedShot& shot) = 0;
    // The instrument asked for a quick print.
    virtual void quickPrintRequested(int mode) = 0;
    // A shot requested by a quick print has been delivered.
    virtual void quickPrintShotDelivered() = 0;
};

// Does nothing: for code paths and tools that need no screen.
class NullReceiveListener : public ReceiveListener {
public:
    void progressPositionChanged(int) override {}
    void progressMaximumChanged(int) override {}
    void runStateChanged(bool) override {}
    void zeroLevelPositionChanged(int, int) override {}
    void panelBoxChanged(PanelBox, int, bool) override {}
    void instrumentControlsEnabled() override {}
    void upperChannelsVisible(bool) override {}
    void channelControlsEnabled(int, bool) override {}
    void dataRefreshButtonsEnabled() override {}
    void timebaseLabelChanged(std::string_view) override {}
    void voltsLabelChanged(int, std::string_view) override {}
    ShotDelivery shotCompleted(const CompletedShot&) override { return ShotDelivery::Settled; }
    void quickPrintRequested(int) override {}
    void quickPrintShotDelivered() override {}
};

} // namespace kavlon
