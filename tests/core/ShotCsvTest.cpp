#include "core/shot/ShotCsv.h"
#include "core/export/ExportSheet.h"
#include "core/scales/ScaleTables.h"
#include "support/DataScript.h"
#include "support/SameShot.h"
#include "support/ScratchFolder.h"
#include "support/SyntheticShot.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <locale>
#include <memory>
#include <sstream>

namespace kavlon {
namespace {

namespace fs = std::filesystem;
using test::expectSameShot;
using test::ScratchFolder;

// The settings of one shot the instrument could deliver, and its samples.
struct ShotCase {
    const char* name;
    int mode = 4;
    std::array<bool, 4> on = {true, true, true, true};
    int timebase = 6;
    int windowStart = 0;
    int triggerSource = 1;
    std::array<int, 4> volts = {9, 8, 5, 11};
    std::array<std::string, 4> voltsTexts = {"1 V / Div", "5 V / Div", "50 mV / Div", "500 V / Div"};
    char separator = '.';
};

// Square waves with sloped edges and a little noise, different on every channel, so the
// analysis finds edges and cycles; the state as the trailer leaves it.
std::unique_ptr<AcquisitionState> stateOf(const ShotCase& c) {
    test::SyntheticShot shot;
    shot.timebase = c.timebase;
    shot.timebaseOffset = 1;
    shot.timeStep = 3;
    shot.trailerValue = 4321;
    shot.windowStart = c.windowStart;
    shot.triggerPoint = 812;
    shot.triggerSource = c.triggerSource;
    shot.triggerLevel = 17;
    shot.channelCount = c.mode;
    shot.on = c.on;
    shot.volts = c.volts;
    shot.probes = {3, 6, 0, 12};
    shot.zeroLevels = {128, 120, 140, 100};
    shot.referenceLevels = {10, 50, 90};
    shot.voltsTexts = c.voltsTexts;
    // The noise runs on through the channels and positions in the order state() asks for them.
    shot.sample = [noise = 99u](int k, int i) mutable {
        noise = noise * 1103515245u + 12345u;
        const int period = 90 + 61 * (k - 1);
        const int phase = i % period;
        const int v = phase < period / 2 ? 30 + 3 * phase : 230 - 3 * (phase - period / 2);
        return std::clamp(v, 29 + k, 221 - k) + int((noise >> 16) % 7);
    };
    auto s = shot.state();
    s->AuxFlag = true;
    return s;
}

std::unique_ptr<ShotRecord> delivered(const ShotCase& c) {
    auto record = std::make_unique<ShotRecord>();
    transferShot(*stateOf(c), *record, TransferInputs{c.separator});
    return record;
}

const ShotCase kFourChannels{"four channels, the whole memory"};

std::string withLineEnds(std::string text, std::string_view end) {
    std::string out;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text.compare(at, 2, "\r\n") == 0) {
            out += end;
            ++at;
        } else {
            out += text[at];
        }
    }
    return out;
}

TEST(ShotFile, EveryKindOfShotOpensAsDelivered) {
    // clang-format off
    const ShotCase cases[] = {
        kFourChannels,
        {"two channels, 3 and 4 flagged on but never read", 2, {true, true, true, true}, 7, 0, 2},
        {"channel 2 off: its values are counted all the same", 4, {true, false, true, true}, 3, 200, 0},
        {"mode 3, two off", 3, {false, true, true, false}, 9, 40, 5},
        {"two channels, one off, comma labels", 2, {false, true, false, false}, 12, 1000, 2, {9, 8, 5, 11},
         {"1 V / Div", "5 V / Div", "", ""}, ','},
        {"window past the shot: an empty shot", 4, {true, true, true, true}, 7, 5000},
        {"a scale without volts, texts that need quotes", 4, {true, true, true, true}, 6, 0, 1, {0, 8, 5, 11},
         {"1,5 \"V\" / Div", "µV", "", " "}},
        {"a comma but no quote in a volts text", 4, {true, true, true, true}, 6, 0, 1, {9, 8, 5, 11},
         {"1,5 V / Div", "5 V / Div", ",", "0,5 V,"}},
    };
    // clang-format on
    for (const ShotCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto original = delivered(c);
        const std::string text = shotCsvText(*original);
        for (std::string_view ends : {"\r\n", "\n", "\r"}) {
            SCOPED_TRACE(ends.size() == 2 ? "CR LF" : ends == "\n" ? "LF" : "CR");
            const auto read = std::make_unique<ShotFileResult>(
                parseShotFile(withLineEnds(text, ends), TransferInputs{c.separator}));
            ASSERT_TRUE(read->ok) << read->error;
            expectSameShot(read->record, *original);
        }
    }
}

TEST(ShotFile, SavedFileOpensAgainAndReplacesNothingOnFailure) {
    ScratchFolder folder;
    const auto original = delivered(kFourChannels);
    const fs::path path = folder.path() / "shot.csv";
    ASSERT_TRUE(saveShotCsv(path, *original).saved);
    EXPECT_EQ(folder.names(), std::set<std::string>{"shot.csv"}) << "no temporary file left";
    const auto read = std::make_unique<ShotFileResult>(readShotFile(path, {}));
    ASSERT_TRUE(read->ok) << read->error;
    expectSameShot(read->record, *original);

    const auto none = readShotFile(folder.path() / "none.csv", {});
    EXPECT_FALSE(none.ok);
    EXPECT_EQ(none.error, "No such file or directory");
    EXPECT_EQ(readShotFile(folder.path(), {}).error, "not a regular file");
    const SaveResult intoNowhere = saveShotCsv(folder.path() / "no" / "shot.csv", *original);
    EXPECT_FALSE(intoNowhere.saved);
    EXPECT_EQ(intoNowhere.reason, "No such file or directory");
}

TEST(ShotFile, ShotsThatCouldNotBeReadBackAreNotSaved) {
    struct Case {
        const char* name;
        std::function<void(ShotRecord&)> change;
        const char* reason;
    };
    const Case cases[] = {
        {"no shot yet", [](ShotRecord& r) { r.HasShot = false; }, "the display holds no shot yet"},
        {"a probe range below the table", [](ShotRecord& r) { r.ProbeIndex[2] = std::uint32_t(-101); },
         "probe index 4294967195 is outside 0..12"},
        {"a channel mode the transfer does not know", [](ShotRecord& r) { r.ChannelMode = 9; },
         "channel mode 9 is outside 2..4"},
        {"a control character", [](ShotRecord& r) { r.VoltsPerDivText[1] = "1\nV"; }, "control character"},
    };
    ScratchFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto record = delivered(kFourChannels);
        c.change(*record);
        const SaveResult result = saveShotCsv(folder.path() / "shot.csv", *record);
        EXPECT_FALSE(result.saved);
        EXPECT_NE(result.reason.find(c.reason), std::string::npos) << result.reason;
        EXPECT_TRUE(folder.names().empty());
    }
}

// A locale with a decimal comma for C++ streams; the C library's too where it can be made.
class GermanLocale {
public:
    explicit GermanLocale(const fs::path& folder) {
        struct Comma : std::numpunct<char> {
            char do_decimal_point() const override { return ','; }
        };
        m_previous = std::locale::global(std::locale(std::locale::classic(), new Comma));
        const std::string make =
            "localedef -i de_DE -f UTF-8 '" + (folder / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
        if (std::system(make.c_str()) == 0) {
            ::setenv("LOCPATH", folder.c_str(), 1);
            m_cLocale = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
        }
    }
    ~GermanLocale() {
        std::locale::global(m_previous);
        std::setlocale(LC_ALL, "C");
        ::unsetenv("LOCPATH");
    }
    bool cLocale() const { return m_cLocale; }

private:
    std::locale m_previous;
    bool m_cLocale = false;
};

TEST(ShotFile, AGermanLocaleStillWritesDecimalPoints) {
    ScratchFolder folder;
    const auto original = delivered(kFourChannels);
    std::string text;
    {
        GermanLocale german(folder.path());
        char printed[16];
        std::snprintf(printed, sizeof printed, "%.1f", 1.5);
        if (german.cLocale())
            ASSERT_STREQ(printed, "1,5") << "the locale is in force";
        else
            std::fprintf(stderr, "no German C locale here: only the C++ one is in force\n");
        text = shotCsvText(*original);
    }
    EXPECT_EQ(text, shotCsvText(*original));
    std::istringstream lines(text);
    std::string line;
    int rows = 0;
    while (std::getline(lines, line))
        if (!line.empty() && line[0] != '#' && line[0] != 's') {
            ++rows;
            EXPECT_EQ(std::count(line.begin(), line.end(), ','), 8) << line;
        }
    EXPECT_EQ(rows, 16301);
    EXPECT_NE(text.find(".", text.find("\r\n0,")), std::string::npos) << "volts with a decimal point";
}

TEST(ShotFile, AnIndependentCsvReaderFindsTheSameNumbers) {
    ScratchFolder folder;
    const ShotCase c{"channel 3 off", 4, {true, true, false, true}};
    const auto record = delivered(c);
    const fs::path path = folder.path() / "shot.csv";
    ASSERT_TRUE(saveShotCsv(path, *record).saved);
    const auto lines = test::dataScriptLines("read_shot_csv.py", path);
    if (!lines)
        GTEST_SKIP() << "python3 is missing (scripts/deps installs it)";
    ASSERT_EQ(lines->size(), 1u + 16301u);
    EXPECT_EQ((*lines)[0], "sample CH1_raw CH1_volts CH2_raw CH2_volts CH4_raw CH4_volts");
    const std::array<int, 3> channels = {0, 1, 3};
    int wrong = 0;
    for (int i = 0; i < 16301 && wrong < 5; ++i) {
        std::istringstream fields((*lines)[std::size_t(i) + 1]);
        int sample = -1;
        fields >> sample;
        EXPECT_EQ(sample, i);
        for (int k : channels) {
            int raw = -1;
            std::string volts;
            fields >> raw >> volts;
            const int expected = *record->Cells.rawValue(k + 1, i);
            const double expectedVolts = *voltageOf(int(record->ProbeIndex[std::size_t(k)]),
                                                    int(record->VoltsPerDivIndex[std::size_t(k)]),
                                                    record->ZeroLevel[std::size_t(k)] - expected);
            if (raw != expected || std::strtod(volts.c_str(), nullptr) != expectedVolts)
                ADD_FAILURE() << "row " << i << " channel " << k + 1 << ": " << raw << " " << volts
                              << ", not " << expected << " " << expectedVolts << (++wrong, "");
        }
    }
}

// Line 1 the format, 2-16 the numeric settings, 17 the volts texts, 18 the value
// counts of channel 2 (off), 19 the header, 20-120 samples 0-100.
std::string smallShotText() {
    const ShotCase c{"101 samples, channel 2 off", 4, {true, false, true, true}, 7, 4060 - 100};
    return shotCsvText(*delivered(c));
}

std::string replaced(std::string text, std::string_view from, std::string_view to) {
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// The text of line n (from 1) without its end.
std::string lineOf(const std::string& text, int n) {
    std::size_t at = 0;
    for (int i = 1; i < n; ++i)
        at = text.find("\r\n", at) + 2;
    return text.substr(at, text.find("\r\n", at) - at);
}

TEST(ShotFile, DamagedFilesAreRefusedWithTheReason) {
    const std::string good = smallShotText();
    ASSERT_TRUE(parseShotFile(good, {}).ok);
    const std::string row50 = lineOf(good, 70);
    const std::string counts = lineOf(good, 18);
    // Without the first pair of value and count.
    const std::string shortCounts =
        "# value counts,2" + counts.substr(counts.find(',', counts.find(',', 17) + 1));
    // The second pair with the first pair's raw value again.
    std::vector<std::string> pairs;
    for (std::size_t at = 0; at != std::string::npos;) {
        const std::size_t comma = counts.find(',', at);
        pairs.push_back(counts.substr(at, comma == std::string::npos ? comma : comma - at));
        at = comma == std::string::npos ? comma : comma + 1;
    }
    std::string repeatedValue = pairs[0] + "," + pairs[1] + "," + pairs[2] + "," + pairs[3] + "," + pairs[2];
    for (std::size_t i = 5; i < pairs.size(); ++i)
        repeatedValue += "," + pairs[i];
    std::string garbage(50 * 1024 * 1024, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = char((i * 7919u) >> 3);
    std::string sheet;
    BiffWriter writer([&](std::string_view block) { return sheet.append(block), true; });
    ExportContents contents;
    contents.record = delivered(kFourChannels).release();
    writeSheet(contents, writer);
    writer.finish();
    delete contents.record;

    struct Case {
        const char* name;
        std::string text;
        std::string error;
    };
    // clang-format off
    const Case cases[] = {
        {"someone else's file", "time,volts\r\n0,1.5\r\n", "not a KavlonPC shot file"},
        {"empty", "", "the file is empty"},
        {"50 MB of garbage", garbage, "too large for a shot file (50 MB)"},
        {"a little garbage", garbage.substr(0, 3000), "not a KavlonPC shot file"},
        {"a spreadsheet export", sheet, "a spreadsheet export holds the table as texts"},
        {"a newer format", replaced(good, "shot,1\r\n", "shot,2\r\n"), "line 1: format version 2 is newer than this program reads (up to 1)"},
        {"format version 0", replaced(good, "shot,1\r\n", "shot,0\r\n"), "line 1: the format version \"0\" is no version number"},
        {"a byte-order mark", "\xEF\xBB\xBF" + good, "byte-order mark"},
        {"mixed line ends", replaced(good, row50 + "\r\n", row50 + "\n"), "line 70: line ends of more than one kind"},
        {"cut in the settings", good.substr(0, good.find("# zero")), "the file ends before its header row"},
        {"cut in the samples", good.substr(0, good.find(row50)), "the file ends after 50 of the shot's 101 sample rows"},
        {"cut in a row", good.substr(0, good.find(row50) + 4), "line 70: a sample row needs 7 fields, not 2"},
        {"a row too many", good + "101,1,1,1,1,1,1\r\n", "line 121: more rows than the shot's 101 samples"},
        {"an empty line at the end", good + "\r\n", "line 121: more rows than the shot's 101 samples"},
        {"raw value above 255", replaced(good, row50, "50,256" + row50.substr(row50.find(',', 3))), "line 70: raw value \"256\" is outside 0..255"},
        {"raw value below 0", replaced(good, row50, "50,-1" + row50.substr(row50.find(',', 3))), "line 70: raw value \"-1\" is outside 0..255"},
        {"raw value no number", replaced(good, row50, "50,1e2" + row50.substr(row50.find(',', 3))), "line 70: raw value \"1e2\" is outside 0..255"},
        {"volts edited", replaced(good, row50, row50 + "1"), "line 70: volts"},
        {"sample numbers out of order", replaced(good, row50, "51" + row50.substr(2)), "line 70: sample number \"51\" where 50 belongs"},
        {"timebase outside its table", replaced(good, "timebase index,7", "timebase index,32"), "line 2: timebase index 32 is outside 0..31"},
        {"zoomed past the table", replaced(good, "zoom index,1", "zoom index,25"), "timebase index 7 and zoom index 25 go past the timebase table"},
        {"volts index outside its table", replaced(good, "volts index,9", "volts index,12"), "line 7: volts index 12 is outside 0..11"},
        {"probe index outside its table", replaced(good, "probe index,3", "probe index,-1"), "line 8: probe index -1 is outside 0..12"},
        {"trigger source unknown", replaced(good, "trigger source,1", "trigger source,6"), "line 10: trigger source 6 is outside 0..5"},
        {"a setting that is no number", replaced(good, "zero level,128", "zero level,12 8"), "line 9: zero level: \"12 8\" is not a whole number"},
        {"a setting short of values", replaced(good, "zero level,128,", "zero level,"), "line 9: zero level needs 4 values"},
        {"a setting missing", replaced(good, "# aux flag,1\r\n", ""), "setting \"aux flag\" is missing before the header row"},
        {"a setting twice", replaced(good, "# aux flag,1\r\n", "# aux flag,1\r\n# aux flag,0\r\n"), "line 17: aux flag appears twice"},
        {"an unknown setting", replaced(good, "# aux flag,1\r\n", "# aux flag,1\r\n# colour,3\r\n"), "line 17: unknown setting \"# colour\""},
        {"value counts too many", replaced(good, "# value counts,2,", "# value counts,2,0,1,"), "line 18: value counts: \"4\" does not fit the shot's 101 samples"},
        {"value counts short", replaced(good, counts, shortCounts), "line 18: value counts of channel 2 add up to 100, not the shot's 101 samples"},
        {"value counts out of order", replaced(good, counts, shortCounts + ",0,4"), "line 18: value counts: \"0\" is no raw value 0..255 above the one before"},
        {"a raw value counted twice", replaced(good, counts, repeatedValue), "line 18: value counts: \"" + pairs[2] + "\" is no raw value 0..255 above the one before"},
        {"value counts missing", replaced(good, "# value counts,2,", "# value count,2,"), "line 18: unknown setting"},
        {"value counts for a channel that is on", replaced(good, "# value counts,2,", "# value counts,3,"), "line 18: value counts are only for a channel that was read but is off"},
        {"a header for other channels", replaced(good, "CH3 raw", "CH2 raw"), "line 19: the header row should be \"sample,CH1 raw,CH1 volts,CH3 raw,CH3 volts,CH4 raw,CH4 volts\""},
        {"a quote never closed", replaced(good, "1 V / Div", "\"1 V / Div"), "line 17: a quoted field is never closed"},
        {"a volts text too long", replaced(good, "1 V / Div", std::string(40, 'V')), "line 17: a volts per div text is longer than 32 bytes"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto read = std::make_unique<ShotFileResult>(parseShotFile(c.text, {}));
        EXPECT_FALSE(read->ok);
        EXPECT_NE(read->error.find(c.error), std::string::npos) << read->error;
        EXPECT_FALSE(read->record.HasShot);
    }
}

} // namespace
} // namespace kavlon
