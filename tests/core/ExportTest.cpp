#include "ShotTestSupport.h"
#include "support/DataScript.h"
#include "support/ScratchFolder.h"
#include "support/SheetReader.h"
#include "support/TinyFileSystem.h"

#include "core/export/BiffWriter.h"
#include "core/export/ExportSheet.h"
#include "core/export/SheetFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <utility>

#include <sys/wait.h>
#include <unistd.h>

namespace kavlon {
namespace {

namespace fs = std::filesystem;
using test::Cell;
using test::readLabels;
using test::Sheet;
using test::ShotBench;

std::string bytesOf(std::initializer_list<int> bytes) {
    std::string out;
    for (int b : bytes)
        out += char(b);
    return out;
}

// Everything a writer produced, in blocks of the given size.
struct Collected {
    std::string bytes;
    int blocks = 0;
    std::unique_ptr<BiffWriter> writer;
    explicit Collected(std::size_t blockSize = BiffWriter::kBlockSize) {
        writer = std::make_unique<BiffWriter>(
            [this](std::string_view block) {
                bytes += block;
                ++blocks;
                return true;
            },
            blockSize);
    }
    std::string finish() {
        EXPECT_TRUE(writer->finish());
        return bytes;
    }
};

TEST(BiffRecords, BytesOfEachRecord) {
    struct Case {
        const char* name;
        std::function<void(BiffWriter&)> write;
        std::string bytes;
    };
    const Case cases[] = {
        {"BOF", [](BiffWriter& w) { w.writeBOF(); },
         bytesOf({0x09, 0x08, 0x08, 0, 0, 0, 0x10, 0, 0, 0, 0, 0})},
        {"EOF", [](BiffWriter& w) { w.writeEOF(); }, bytesOf({0x0A, 0, 0, 0})},
        {"abc at row 2, column 1", [](BiffWriter& w) { w.writeLabel(1, 2, "abc"); },
         bytesOf({0x04, 0x02, 0x0B, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00, 0x00, 0x03, 0x00, 0x61, 0x62, 0x63})},
        {"an empty cell", [](BiffWriter& w) { w.writeLabel(0, 0, ""); },
         bytesOf({0x04, 0x02, 0x08, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
        {"row and column past one byte", [](BiffWriter& w) { w.writeLabel(0x0102, 0x4002, "x"); },
         bytesOf({0x04, 0x02, 0x09, 0, 0x02, 0x40, 0x02, 0x01, 0, 0, 0x01, 0, 'x'})},
        {"the micro sign in the ANSI code page", [](BiffWriter& w) { w.writeLabel(0, 0, "5 \u00b5s"); },
         bytesOf({0x04, 0x02, 0x0C, 0, 0, 0, 0, 0, 0, 0, 0x04, 0, '5', ' ', 0xB5, 's'})},
        {"a cell past the format's rows", [](BiffWriter& w) { w.writeLabel(0, 0x10000, "x"); }, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Collected out;
        c.write(*out.writer);
        EXPECT_EQ(out.finish(), c.bytes);
    }
}

TEST(BiffRecords, LongTextsAreCutAndBlocksStayWhole) {
    Collected out(100);
    out.writer->writeLabel(0, 0, std::string(300, 'a'));
    for (int i = 0; i < 50; ++i)
        out.writer->writeLabel(1, i, "abcdef");
    const std::string bytes = out.finish();
    EXPECT_EQ(bytes.size(), 12 + BiffWriter::kMaxLabelLength + 50 * 18u);
    EXPECT_EQ(bytes.substr(2, 2), bytesOf({0x07, 0x01})) << "length 8 + 255";
    EXPECT_GT(out.blocks, 9);
}

// A record to export: a ShotBench shot with n rows, and Measure cells that name
// their place ("M1 I 3": display M1, channel I, row 3).
struct Export {
    ShotBench bench;
    std::vector<std::string> captions;
    std::vector<std::string> sources;
    std::vector<MeasureCellTable> cells;
    ExportContents contents;

    Export(int channelCount, std::array<bool, 4> on, int n = ShotBench::kN) {
        bench.state.ChannelCount = channelCount;
        bench.state.ChannelOn = on;
        bench.state.TimebaseIndex = n > 4060 ? 6 : 7;
        bench.state.WindowStart = (n > 4060 ? 16300 : 4060) - n;
        for (int c = 1; c <= 4; ++c)
            bench.fill(c, [c](int i) { return 60 + (i * 7 + c * 13) % 120; });
        bench.transfer();
        contents.record = &bench.record;
        contents.dataCaption = "Data03";
        contents.dateTime = "08.12.2026 01:02:03";
    }
    void addMeasure(std::string caption, std::string source) {
        MeasureCellTable table;
        for (int k = 0; k < 4; ++k)
            for (int r = 0; r < kMeasureRows; ++r)
                table[std::size_t(k)][std::size_t(r)] =
                    caption + " " + std::to_string(k + 1) + " " + std::to_string(r);
        captions.push_back(std::move(caption));
        sources.push_back(std::move(source));
        cells.push_back(table);
    }
    // The contents with every Measure display added so far.
    const ExportContents& filled() {
        contents.measures.clear();
        for (std::size_t i = 0; i < captions.size(); ++i)
            contents.measures.push_back({captions[i], sources[i], &cells[i]});
        return contents;
    }
    std::string bytes() {
        Collected out;
        writeSheet(filled(), *out.writer);
        return out.finish();
    }
    Sheet sheet() { return readLabels(bytes()); }
};

// The cells a sheet holds outside the table, the settings and block positions.
std::set<int> columnsOf(const Sheet& sheet, int row) {
    std::set<int> columns;
    for (const auto& [cell, text] : sheet)
        if (cell.first == row)
            columns.insert(cell.second);
    return columns;
}

TEST(ExportSheet, ChannelCountsDecideTheTableAndSettingsColumns) {
    struct Case {
        int channelCount;
        int lastColumn;
    };
    for (const Case c : {Case{2, 4}, Case{4, 8}}) {
        SCOPED_TRACE(c.channelCount);
        Export e(c.channelCount, {true, true, true, true});
        const Sheet sheet = e.sheet();
        const int rows = e.bench.record.Cells.rowCount();
        ASSERT_EQ(rows, ShotBench::kN);
        // Every table cell, and nothing else below row 7 without a Measure display.
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column <= c.lastColumn; ++column)
                ASSERT_EQ(sheet.at({row, column}), e.bench.cell(column, row)) << row << "," << column;
        EXPECT_EQ(sheet.size(), std::size_t(rows * (c.lastColumn + 1) + 5));
        const int settings = c.lastColumn + 2;
        EXPECT_EQ(sheet.at({1, settings}), "08.12.2026 01:02:03");
        EXPECT_EQ(sheet.at({3, settings}), e.bench.record.TriggerText);
        EXPECT_EQ(sheet.at({4, settings}), e.bench.record.TriggerLevelText);
        EXPECT_EQ(sheet.at({5, settings}), e.bench.record.TimebaseText);
        EXPECT_EQ(sheet.at({6, settings}), e.bench.record.RealTimebaseText);
        std::set<int> row3;
        for (int i = 0; i <= c.lastColumn; ++i)
            row3.insert(i);
        row3.insert(settings);
        EXPECT_EQ(columnsOf(sheet, 3), row3);
    }
}

TEST(ExportSheet, MeasureBlocksOfMatchingDisplaysOnly) {
    struct Case {
        const char* name;
        int channelCount;
        std::array<bool, 4> on;
        bool include;
        std::vector<std::pair<std::string, std::string>> measures; // caption, source
        std::vector<std::string> blocks;                           // captions, in block order
        std::vector<std::pair<int, int>> channelColumns;           // channel, column
    };
    const Case cases[] = {
        {"channels I and III",
         4,
         {true, false, true, false},
         true,
         {{"Measure01", "Data03"}},
         {"Measure01"},
         {{1, 12}, {3, 14}}},
        {"all four",
         4,
         {true, true, true, true},
         true,
         {{"Measure01", "Data03"}},
         {"Measure01"},
         {{1, 12}, {2, 14}, {3, 16}, {4, 18}}},
        {"a two-channel shot",
         2,
         {true, true, false, false},
         true,
         {{"Measure01", "Data03"}},
         {"Measure01"},
         {{1, 8}, {2, 10}}},
        {"a two-channel shot keeps to its channels",
         2,
         {false, true, true, true},
         true,
         {{"Measure01", "Data03"}},
         {"Measure01"},
         {{2, 8}}},
        {"include Measures unchecked", 4, {true, true, true, true}, false, {{"Measure01", "Data03"}}, {}, {}},
        {"another source",
         4,
         {true, true, true, true},
         true,
         {{"Measure01", "Data04"}, {"Measure02", ""}},
         {},
         {}},
        {"not a Measure caption", 4, {true, true, true, true}, true, {{"Scope01", "Data03"}}, {}, {}},
        {"blocks count matching displays only",
         4,
         {true, false, false, false},
         true,
         {{"Measure05", "Data03"}, {"Measure06", "Data01"}, {"Measure02", "Data03"}},
         {"Measure05", "Measure02"},
         {{1, 12}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Export e(c.channelCount, c.on);
        e.contents.includeMeasures = c.include;
        for (const auto& [caption, source] : c.measures)
            e.addMeasure(caption, source);
        const Sheet sheet = e.sheet();
        const int names = lastTableColumn(e.bench.record) + 2;
        std::size_t blockCells = 0;
        for (std::size_t b = 0; b < c.blocks.size(); ++b) {
            const int r = 24 * int(b) + 11;
            EXPECT_EQ(sheet.at({r, names}), c.blocks[b]);
            EXPECT_EQ(sheet.at({r + 1, names}), "Vpp");
            EXPECT_EQ(sheet.at({r + 16, names}), "- Pulse Width");
            EXPECT_EQ(sheet.at({r + 22, names}), "+/- Delay");
            for (const auto& [channel, column] : c.channelColumns) {
                const char* headings[] = {"Channel I", "Channel II", "Channel III", "Channel IV"};
                EXPECT_EQ(sheet.at({r, column}), headings[channel - 1]);
                for (int i = 0; i < kMeasureRows; ++i)
                    EXPECT_EQ(sheet.at({r + 1 + i, column}),
                              c.blocks[b] + " " + std::to_string(channel) + " " + std::to_string(i));
            }
            blockCells += 23 * (1 + c.channelColumns.size());
        }
        const std::size_t tableCells = std::size_t(ShotBench::kN * (names - 1));
        EXPECT_EQ(sheet.size(), tableCells + 5 + blockCells) << "no other cells";
    }
}

// One record per line, in hex, so that a difference shows where it is.
std::string hexLines(const std::string& bytes) {
    std::ostringstream out;
    std::size_t at = 0;
    while (at + 4 <= bytes.size()) {
        const std::size_t length =
            std::size_t(std::uint8_t(bytes[at + 2])) | std::size_t(std::uint8_t(bytes[at + 3])) << 8;
        for (std::size_t i = 0; i < 4 + length && at + i < bytes.size(); ++i) {
            char hex[4];
            std::snprintf(hex, sizeof hex, i ? " %02X" : "%02X", unsigned(std::uint8_t(bytes[at + i])));
            out << hex;
        }
        out << '\n';
        at += 4 + length;
    }
    return out.str();
}

std::string readText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(ExportSheet, GoldenTwoChannelSheetWithOneBlock) {
    // Four rows (headings and samples 0 and 1), channel II off, one Measure display
    // with a micro sign in a cell.
    Export e(2, {true, false, false, false}, 4);
    e.addMeasure("Measure00", "Data03");
    e.cells[0][0][12] = "1.5 \u00b5s";
    const std::string golden = readText(fs::path(KAVLON_TEST_DATA) / "export_two_channel.txt");
    const std::string actual = hexLines(e.bytes());
    if (golden != actual)
        std::ofstream(fs::path(::testing::TempDir()) / "export_two_channel.txt") << actual;
    EXPECT_EQ(actual, golden) << "written for comparison to " << ::testing::TempDir();
}

using Scratch = test::ScratchFolder;

std::ptrdiff_t fails(int error) {
    errno = error;
    return -1;
}

TEST(ExportFile, AFailedExportLeavesNoFileAndTheEarlierOneAsItWas) {
    struct Case {
        const char* name;
        std::string target; // below the scratch folder
        Existing existing;
        FileCalls calls;    // empty: the platform's
        bool earlier;       // a file of that name is there before
        std::string reason; // empty: exported
    };
    int calls = 0;
    const FileCalls fullOnSecond{.write = [&calls](int fd, const char* d, std::size_t s) {
        return ++calls == 2 ? fails(ENOSPC) : ::write(fd, d, s);
    }};
    const FileCalls syncFails{.sync = [](int) { return int(fails(EIO)); }};
    const Case cases[] = {
        {"a new file", "QV_00000.xls", Existing::Keep, {}, false, ""},
        {"replacing the user's choice", "mine.xls", Existing::Replace, {}, true, ""},
        {"a generated name taken meanwhile",
         "QV_00000.xls",
         Existing::Keep,
         {},
         true,
         std::generic_category().message(EEXIST)},
        {"a folder that is not there",
         "gone/mine.xls",
         Existing::Replace,
         {},
         false,
         std::generic_category().message(ENOENT)},
        {"a disk full part way", "mine.xls", Existing::Replace, fullOnSecond, true,
         std::generic_category().message(ENOSPC)},
        {"a disk full part way, new name", "mine.xls", Existing::Keep, fullOnSecond, false,
         std::generic_category().message(ENOSPC)},
        {"a sync that fails", "mine.xls", Existing::Replace, syncFails, true,
         std::generic_category().message(EIO)},
    };
    Export e(4, {true, true, true, true}, 16300);
    const std::string earlier = "an earlier export";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scratch folder;
        const fs::path target = folder.path() / c.target;
        if (c.earlier)
            std::ofstream(target, std::ios::binary) << earlier;
        const std::set<std::string> before = folder.names();
        calls = 0;
        const ExportResult result = exportSheet(target, e.contents, c.existing, c.calls);
        EXPECT_EQ(result.result.saved, c.reason.empty());
        EXPECT_EQ(result.result.reason, c.reason);
        if (c.reason.empty()) {
            EXPECT_EQ(readLabels(readText(target)).size(), std::size_t(16300 * 9 + 5));
            EXPECT_EQ(folder.names(), std::set<std::string>{c.target});
        } else {
            EXPECT_EQ(folder.names(), before) << "no part of the export is left";
            if (c.earlier) {
                EXPECT_EQ(readText(target), earlier);
            }
        }
    }
}

TEST(ExportFile, AReallyFullDiskLeavesTheEarlierFileAndNothingElse) {
    // A full export is some 2.4 MB; this disk holds 1 MB.
    const test::TinyFileSystem disk(1024 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << "no full disk to try: " << disk.whyNot();
    const fs::path path = fs::path(disk.path()) / "mine.xls";
    std::ofstream(path, std::ios::binary) << "an earlier export";
    Export e(4, {true, true, true, true}, 16300);

    const ExportResult result = exportSheet(path, e.contents);
    EXPECT_FALSE(result.result.saved);
    EXPECT_EQ(result.result.reason, std::generic_category().message(ENOSPC));
    EXPECT_EQ(readText(path), "an earlier export");
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(disk.path()))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, std::set<std::string>{"mine.xls"});
}

TEST(ExportFile, GeneratedNamesTakeTheFirstFreeNumberAndNeverATakenOne) {
    EXPECT_EQ(exportFileName(0), "QV_00000.xls");
    EXPECT_EQ(exportFileName(42), "QV_00042.xls");
    EXPECT_EQ(exportFileName(99999), "QV_99999.xls");
    struct Case {
        const char* name;
        std::vector<int> taken;
        std::optional<std::string> expected;
        int count = kExportNameCount;
    };
    const Case cases[] = {
        {"an empty folder", {}, "QV_00000.xls"},   {"a run taken", {0, 1, 2}, "QV_00003.xls"},
        {"a gap", {0, 2}, "QV_00001.xls"},         {"a link to nowhere takes its name", {-1}, "QV_00001.xls"},
        {"all taken", {0, 1, 2}, std::nullopt, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scratch folder;
        for (int i : c.taken) {
            if (i < 0)
                fs::create_symlink("nowhere", folder.path() / exportFileName(0));
            else
                std::ofstream(folder.path() / exportFileName(i)) << "x";
        }
        const auto name = firstFreeExportName(folder.path(), c.count);
        ASSERT_EQ(name.has_value(), c.expected.has_value());
        if (name) {
            EXPECT_EQ(name->parent_path(), folder.path());
            EXPECT_EQ(name->filename().string(), *c.expected);
        }
    }
}

// Runs the independent reader on path: each non-empty cell as row, column and the
// hex of its UTF-8 text. Nothing when python3 or its spreadsheet module is missing.
std::optional<Sheet> readWithIndependentReader(const fs::path& path, std::string& whyNot) {
    const test::ScriptRun run = test::runDataScript("read_sheet.py", path);
    if (run.status == -1 || run.status == 3 || run.status == 127) {
        whyNot = "python3 with xlrd is missing (scripts/deps installs python3-xlrd): " + run.output;
        return std::nullopt;
    }
    EXPECT_EQ(run.status, 0) << run.output;
    const std::string& output = run.output;
    Sheet sheet;
    std::istringstream lines(output);
    int row = 0, column = 0;
    std::string hex;
    while (lines >> row >> column >> hex) {
        std::string text;
        for (std::size_t i = 0; hex != "-" && i + 1 < hex.size(); i += 2)
            text += char(std::stoi(hex.substr(i, 2), nullptr, 16));
        sheet[{row, column}] = text;
    }
    return sheet;
}

TEST(ExportFile, AFullExportReadsBackCellForCellElsewhere) {
    Export e(4, {true, true, true, true}, 16300);
    e.contents.dateTime = "08.12.26 01:02:03 µ";
    e.addMeasure("Measure01", "Data03");
    e.addMeasure("Measure02", "Data03");
    e.cells[1][3][7] = "12.0 µV";
    Scratch folder;
    const fs::path path = folder.path() / "full.xls";
    ASSERT_TRUE(exportSheet(path, e.filled()).result.saved);

    std::string whyNot;
    const auto read = readWithIndependentReader(path, whyNot);
    if (!read)
        GTEST_SKIP() << whyNot;

    // What the sheet must hold, made from the record and the Measure cells, not from the writer.
    Sheet expected;
    for (int row = 0; row < 16300; ++row)
        for (int column = 0; column <= 8; ++column)
            expected[{row, column}] = e.bench.cell(column, row);
    expected[{1, 10}] = std::string(e.contents.dateTime);
    expected[{3, 10}] = e.bench.record.TriggerText;
    expected[{4, 10}] = e.bench.record.TriggerLevelText;
    expected[{5, 10}] = e.bench.record.TimebaseText;
    expected[{6, 10}] = e.bench.record.RealTimebaseText;
    const char* headings[] = {"Channel I", "Channel II", "Channel III", "Channel IV"};
    for (int b = 0; b < 2; ++b) {
        const int r = 11 + 24 * b;
        expected[{r, 10}] = e.captions[std::size_t(b)];
        for (int i = 0; i < kMeasureRows; ++i)
            expected[{r + 1 + i, 10}] = std::string(kExportMeasureNames[std::size_t(i)]);
        for (int k = 0; k < 4; ++k) {
            expected[{r, 12 + 2 * k}] = headings[k];
            for (int i = 0; i < kMeasureRows; ++i)
                expected[{r + 1 + i, 12 + 2 * k}] = e.cells[std::size_t(b)][std::size_t(k)][std::size_t(i)];
        }
    }
    ASSERT_EQ(read->size(), expected.size());
    for (const auto& [cell, text] : expected)
        ASSERT_EQ(read->at(cell), text) << "cell " << cell.first << "," << cell.second;
}

} // namespace
} // namespace kavlon
