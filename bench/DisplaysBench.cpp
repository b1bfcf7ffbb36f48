// What the Measure and FFT displays cost for a full four-channel shot: the 22
// measurements of every channel and drawing their table (target: both within 1 ms),
// and the four spectra with their charts drawn (target: 10 ms).
#include "ui/chart/RChart.h"
#include "ui/displays/DisplayHost.h"
#include "ui/displays/FFTDisplay.h"
#include "ui/displays/MeasureDisplay.h"

#include "FullShot.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace kavlon;

// A host with no other displays: each display is measured on its own.
class LoneHost : public DisplayHost {
public:
    void removeDisplay(const QString&) override {}
    AcquisitionControl& acquisition() override { std::abort(); }
    void requestShot(const QString&) override { std::abort(); }
    QStringList sourceCandidates() const override { return {}; }
    TMDIChild* findDisplay(const QString&) const override { return nullptr; }
    std::optional<DataDisplayFace> findDataFace(const QString&) const override { return std::nullopt; }
    void enableMeasureExport(const QString&) override {}
    std::vector<MeasureDisplayFace> measureFaces() const override { return {}; }
    UserDialogs& dialogs() override { std::abort(); }
    PicturePrinter& printer() override { std::abort(); }
    int printAsOption() const override { return 0; }
    QString programDirectory() const override { return {}; }
};

void BM_MeasureFourChannels(benchmark::State& bench) {
    const auto record = bench::fullShotRecord();
    MeasureCellTable cells;
    for (auto _ : bench) {
        MeasureSignal(takeMeasureCopy(*record), cells, ',');
        benchmark::DoNotOptimize(cells[3][21].data());
    }
}
BENCHMARK(BM_MeasureFourChannels)->Unit(benchmark::kMicrosecond);

void BM_DrawTable(benchmark::State& bench) {
    const auto record = bench::fullShotRecord();
    LoneHost host;
    TMDIChild_Math measure(host);
    measure.copy = takeMeasureCopy(*record);
    measure.MeasureSignal();
    QImage picture(measure.Grid_PB->size(), QImage::Format_RGB32);
    for (auto _ : bench) {
        measure.Grid_PB->render(&picture);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_DrawTable)->Unit(benchmark::kMicrosecond);

void BM_ComputeSpectraAndDraw(benchmark::State& bench) {
    const auto record = bench::fullShotRecord();
    LoneHost host;
    TMDIChild_FFT fft(host);
    fft.shot = *record;
    readSpectrumSamples(*record, TMDIChild_FFT::kPoints, fft.samples);
    QImage picture(fft.Charts[0]->size(), QImage::Format_RGB32);
    for (auto _ : bench) {
        fft.SetupCharts();
        for (TRChart* chart : fft.Charts)
            chart->render(&picture);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_ComputeSpectraAndDraw)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
