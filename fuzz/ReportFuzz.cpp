// Feeds raw input reports of any length, as the reader thread reads them from
// the device, through the copy into a frame and the interpretation into a Data
// display's shot record, and checks what must hold whatever the device sends.
//
// Input: a situation byte, the device's input report length (0: unknown), then
// reports, each a length byte and that many bytes.
#include "FuzzChecks.h"

#include "core/link/InputReport.h"
#include "core/shot/ShotTransfer.h"

#include <numeric>

namespace {

using namespace kavlon;
using fuzz::check;

void checkRecord(const ShotRecord& record, const AcquisitionState& state);

// What the main window and a Data display do with a completed shot, with the
// display found by any caption.
class DataDisplay : public NullReceiveListener {
public:
    explicit DataDisplay(char decimalSeparator) { m_inputs.decimalSeparator = decimalSeparator; }
    AcquisitionControl* control = nullptr;
    ShotRecord record;
    bool transferred = false;

    void voltsLabelChanged(int channel, std::string_view) override {
        check(channel >= 1 && channel <= kChannels);
    }
    ShotDelivery shotCompleted(const CompletedShot&) override {
        transferShot(control->State, record, m_inputs);
        checkRecord(record, control->State);
        transferred = true;
        return ShotDelivery::Settled;
    }

private:
    TransferInputs m_inputs;
};

void checkEdge(const EdgeRecord& e, int n) {
    for (int at : {e.AtLevel1, e.AtLevel2, e.AtLevel3})
        check(at >= -1 && at <= n);
}

// The record holds what the transfer read from the display samples, and its
// analysis stays within the shot.
void checkRecord(const ShotRecord& record, const AcquisitionState& state) {
    check(record.HasShot);
    const ShotExtent extent = shotExtent(state.TimebaseIndex, state.WindowStart);
    const int visited = state.ChannelCount == 2 ? 2 : kChannels;
    const int analysed = state.ChannelCount == 4 ? kChannels : 2;
    for (int k = 0; k < visited; ++k) {
        const ChannelAnalysis& a = record.Analysis[std::size_t(k)];
        check(std::accumulate(a.Histogram.begin(), a.Histogram.end(), 0) == extent.positions);
        if (!state.ChannelOn[std::size_t(k)])
            continue;
        if (k < analysed)
            for (const EdgeRecord* e : {&a.Rise1, &a.Fall1, &a.Rise2, &a.Fall2, &a.CycleRise, &a.CycleFall})
                checkEdge(*e, extent.n);
        if (extent.positions == 0)
            continue;
        const auto samples = state.DisplaySamples(k);
        for (int i : {0, extent.positions / 2, extent.positions - 1}) {
            check(record.Cells.rawValue(k + 1, i) == samples[std::size_t(i)]);
            const int row = ShotCells::kHeadingRows + i;
            check(record.Cells.cellText(1 + 2 * k, row).size > 0);
            // A scale without a table entry shows no voltage at all.
            check(record.Cells.cellText(2 + 2 * k, row, ',').size <= sizeof(CellText::chars));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const std::uint8_t situation = data[0];
    const int reportLength = data[1];
    data += 2;
    size -= 2;

    DataDisplay display((situation & 8) ? ',' : '.');
    fuzz::CheckingWriter wire;
    AcquisitionControl control(display, wire);
    display.control = &control;
    control.setDemoPause([](std::chrono::milliseconds) {});
    control.State.Connected = (situation & 1) != 0;
    control.DemoMode = (situation & 2) != 0;
    const std::string caption = (situation & 4) ? "QP_Data00" : "Data00";
    control.State.RequestName = caption;

    for (std::size_t at = 0; at < size;) {
        const std::size_t length = std::min<std::size_t>(data[at], size - at - 1);
        const std::span<const std::uint8_t> report(data + at + 1, length);
        at += 1 + length;
        control.InterpretRecvData(frameFromReport(report, reportLength));
        check(!control.busy());
        if (display.transferred) {
            display.transferred = false;
            // The user presses Refresh again: the next trailer has a display to fill.
            if (situation & 16)
                control.RequestData(caption);
        }
    }
    fuzz::checkAcquisition(control);
    return 0;
}
