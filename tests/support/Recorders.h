#pragma once

#include "core/acquisition/ReceiveListener.h"
#include "core/acquisition/ReportWriter.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kavlon::test {

// Keeps every report it is given; its device's output report length can be set,
// or taken away to stand for an unplugged instrument.
class RecordingWriter : public ReportWriter {
public:
    std::optional<int> reportLength = 65;
    std::vector<std::vector<std::uint8_t>> reports;
    int lengthQueries = 0;

    std::optional<int> outputReportLength() override {
        ++lengthQueries;
        return reportLength;
    }
    void writeReport(std::span<const std::uint8_t> report) override {
        reports.emplace_back(report.begin(), report.end());
    }
    // Command bytes 0-6 of each report sent so far.
    std::vector<std::vector<std::uint8_t>> commands() const {
        std::vector<std::vector<std::uint8_t>> out;
        for (const auto& r : reports)
            out.emplace_back(r.begin() + 2, r.begin() + 9);
        return out;
    }
};

// The front panel as the receive interpretation leaves it.
class RecordingListener : public ReceiveListener {
public:
    static constexpr int kUnset = -1000;
    int progressPosition = kUnset;
    int progressMaximum = kUnset;
    std::optional<bool> running;
    int zeroLevelPosition[4] = {kUnset, kUnset, kUnset, kUnset};
    bool boxes[3][4] = {};
    int boxChanges = 0;
    int controlsEnabledCount = 0;
    std::optional<bool> upperChannelsShown;
    std::optional<bool> channelEnabled[4];
    int refreshEnabledCount = 0;
    std::string timebaseLabel = "2 nS / Div";
    std::string voltsLabel[4] = {"10 mV / Div", "10 mV / Div", "10 mV / Div", "10 mV / Div"};
    std::vector<std::string> completedShots;
    // Whether each completed shot came whole, and what the listener answers.
    std::vector<bool> wholeShots;
    std::vector<std::string> gaps;
    ShotDelivery delivery = ShotDelivery::Settled;
    // Runs inside the delivery, as a display taking the shot would.
    std::function<void()> onShot;
    std::vector<int> quickPrintModes;
    int quickPrintDeliveries = 0;
    std::vector<int> progressHistory;

    void progressPositionChanged(int position) override {
        progressPosition = position;
        progressHistory.push_back(position);
    }
    void progressMaximumChanged(int maximum) override { progressMaximum = maximum; }
    void runStateChanged(bool r) override { running = r; }
    void zeroLevelPositionChanged(int channel, int position) override {
        zeroLevelPosition[channel - 1] = position;
    }
    void panelBoxChanged(PanelBox box, int channel, bool checked) override {
        boxes[int(box)][channel - 1] = checked;
        ++boxChanges;
    }
    void instrumentControlsEnabled() override { ++controlsEnabledCount; }
    void upperChannelsVisible(bool visible) override { upperChannelsShown = visible; }
    void channelControlsEnabled(int channel, bool enabled) override { channelEnabled[channel - 1] = enabled; }
    void dataRefreshButtonsEnabled() override { ++refreshEnabledCount; }
    void timebaseLabelChanged(std::string_view text) override { timebaseLabel = text; }
    void voltsLabelChanged(int channel, std::string_view text) override { voltsLabel[channel - 1] = text; }
    ShotDelivery shotCompleted(const CompletedShot& shot) override {
        completedShots.push_back(shot.requestName);
        wholeShots.push_back(shot.whole());
        gaps.push_back(shot.gap.value_or(""));
        if (onShot)
            onShot();
        return delivery;
    }
    void quickPrintRequested(int mode) override { quickPrintModes.push_back(mode); }
    void quickPrintShotDelivered() override { ++quickPrintDeliveries; }
};

} // namespace kavlon::test
