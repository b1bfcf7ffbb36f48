// What the spreadsheet export of a full four-channel shot costs (target: 30 ms and a
// few hundred write calls): the sheet into memory alone, and the whole export to a file,
// temporary name, sync and rename included.
#include "FullShot.h"
#include "core/export/SheetFile.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

using namespace kavlon;

// A shot with one Measure display's block, as the Data display hands it over.
struct FullExport {
    std::unique_ptr<ShotRecord> record = bench::fullShotRecord();
    MeasureCellTable cells;
    ExportContents contents;
    FullExport() {
        for (auto& column : cells)
            for (auto& cell : column)
                cell = "123.4 \u00b5s";
        contents.record = record.get();
        contents.dataCaption = "Data00";
        contents.dateTime = "08.12.2026 01:02:03";
        contents.decimalSeparator = ',';
        contents.measures.push_back({"Measure01", "Data00", &cells});
    }
};

void BM_SheetInMemory(benchmark::State& bench) {
    FullExport e;
    std::size_t bytes = 0;
    for (auto _ : bench) {
        bytes = 0;
        BiffWriter writer([&bytes](std::string_view block) {
            bytes += block.size();
            return true;
        });
        writeSheet(e.contents, writer);
        benchmark::DoNotOptimize(writer.finish());
    }
    bench.counters["file_bytes"] = double(bytes);
}
BENCHMARK(BM_SheetInMemory)->Unit(benchmark::kMillisecond);

void BM_ExportToFile(benchmark::State& bench) {
    FullExport e;
    char folder[] = "/tmp/kavlon-bench-XXXXXX";
    if (!::mkdtemp(folder))
        std::abort();
    const std::filesystem::path path = std::filesystem::path(folder) / "QV_00000.xls";
    std::size_t writeCalls = 0;
    for (auto _ : bench) {
        const ExportResult result = exportSheet(path, e.contents);
        if (!result.result.saved)
            bench.SkipWithError(result.result.reason.c_str());
        writeCalls = result.writeCalls;
    }
    bench.counters["write_calls"] = double(writeCalls);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ExportToFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
