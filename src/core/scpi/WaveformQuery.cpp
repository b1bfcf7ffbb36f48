#include "core/scpi/WaveformQuery.h"

#include "core/measure/MeasureTables.h"
#include "core/scales/ScaleTables.h"
#include "core/scpi/ScpiValues.h"
#include "core/shot/ShotFileFormat.h"
#include "core/shot/ShotTransfer.h"

#include <algorithm>

namespace kavlon::scpi {

namespace {

// Volts of one raw step below the zero level, as the CSV's volts are made.
std::optional<double> voltsPerStep(const ShotRecord& r, int channel) {
    const auto c = std::size_t(channel - 1);
    return voltageOf(int(r.ProbeIndex[c]), int(r.VoltsPerDivIndex[c]), 1);
}

} // namespace

std::optional<std::string> waveformProblem(const ShotRecord& record, int channel) {
    const std::vector<int> channels = columnChannels(record);
    if (std::find(channels.begin(), channels.end(), channel - 1) == channels.end())
        return "channel " + std::to_string(channel) + " was off in the last shot";
    if (!voltsPerStep(record, channel))
        return "the last shot's scale of channel " + std::to_string(channel) + " is outside the tables";
    return std::nullopt;
}

int waveformPoints(const ShotRecord& record) {
    return shotExtent(record.TimebaseIndex, record.WindowStart).positions;
}

std::string waveformPreamble(const ShotRecord& record, int channel, WaveformFormat format) {
    // The time from one sample to the next is the one the measurements count with.
    const auto step = CalcTime(record.TimebaseIndex + record.ZoomIndex, false, 1);
    const double volts = voltsPerStep(record, channel).value_or(0);
    std::string text = format == WaveformFormat::Byte ? "0" : "4";
    text += ",0," + std::to_string(waveformPoints(record)) + ",1,";
    text += (step ? nr3(*step) : nr3(kNotANumber)) + "," + nr3(0.0) + ",0,";
    text += nr3(-volts) + "," + nr3(0.0) + "," + std::to_string(record.ZeroLevel[std::size_t(channel - 1)]);
    return text;
}

std::string waveformData(const ShotRecord& record, int channel, WaveformFormat format) {
    const int points = waveformPoints(record);
    if (format == WaveformFormat::Byte) {
        std::string bytes(std::size_t(points), '\0');
        for (int i = 0; i < points; ++i)
            bytes[std::size_t(i)] = char(record.Cells.rawValue(channel, i).value_or(0));
        return definiteBlock(bytes);
    }
    const VoltsTexts volts = voltsTexts(record, channel - 1);
    std::string text;
    text.reserve(std::size_t(points) * 24);
    for (int i = 0; i < points; ++i) {
        if (i > 0)
            text += ',';
        text += volts[record.Cells.rawValue(channel, i).value_or(0)].view();
    }
    return text;
}

} // namespace kavlon::scpi
