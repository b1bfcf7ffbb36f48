#include "core/shot/ShotTransfer.h"

#include "core/shot/ShotAnalysis.h"

#include <algorithm>

namespace kavlon {

namespace {

ChannelScale scaleOf(const ShotRecord& r, std::size_t c) {
    return {r.ZeroLevel[c], int(r.ProbeIndex[c]), int(r.VoltsPerDivIndex[c])};
}

} // namespace

ShotExtent shotExtent(int timebaseIndex, long long windowStart) {
    const long long n = shotLength(timebaseIndex) - windowStart;
    if (n < 0)
        return {0, 0};
    const int bounded = int(std::min<long long>(n, kBlockSize - 1));
    return {bounded, bounded + 1};
}

TransferOutcome transferShot(const AcquisitionState& state, ShotRecord& record,
                             const TransferInputs& inputs) {
    copyShotSettings(state, record);

    const ShotExtent extent = shotExtent(record.TimebaseIndex, record.WindowStart);
    record.Cells.setRowCount(extent.n);

    for (ChannelAnalysis& a : record.Analysis)
        resetSampleCounts(a);

    // Every visited channel is counted, enabled or not; only enabled ones get cells.
    const int visited = record.ChannelMode == 2 ? 2 : kChannels;
    for (int k = 0; k < visited; ++k) {
        const auto c = std::size_t(k);
        const auto samples = state.DisplaySamples(k).first(std::size_t(extent.positions));
        countSamples(record.Analysis[c], samples);
        if (record.ChannelOn[c])
            record.Cells.writeChannel(k + 1, samples, scaleOf(record, c));
        else
            record.Cells.blankChannel(k + 1, extent.positions);
    }

    for (int k = 0; k < kChannels; ++k)
        if (analysesChannel(record.ChannelMode, record.ChannelOn, k))
            analyseChannel(record.Analysis[std::size_t(k)],
                           state.DisplaySamples(k).first(std::size_t(extent.positions)),
                           state.ReferenceLevels);

    TransferOutcome outcome;
    outcome.labels = dataWindowLabels(record, inputs.decimalSeparator);
    applyLabels(outcome.labels, record);
    outcome.twoChannelLayout = record.ChannelMode == 2;
    record.HasShot = true;
    return outcome;
}

} // namespace kavlon
