#include "core/settings/SettingsFile.h"

#include <gtest/gtest.h>

namespace kavlon {
namespace {

TEST(SettingsFile, IntegersAreDecimalOrHexadecimal) {
    struct Case {
        const char* text;
        bool ok;
        int value;
    };
    const Case cases[] = {
        {"42", true, 42},
        {"  -17", true, -17},
        {"0x1F", true, 31},
        {"0X1f", true, 31},
        {"+8", true, 8},
        {"12abc", true, 12},
        {"0x", true, 0},
        {"-0x10", true, -16},
        {"abc", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1},
        {"2147483648", false, 0},
        {"99999999999999999999", false, 0},
        {"0xFFFFFFFFF", false, 0},
    };
    for (const auto& c : cases) {
        int value = -99;
        EXPECT_EQ(parseIniInteger(c.text, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(SettingsFile, MissingOrBrokenKeysTakeTheirDefaults) {
    struct Case {
        const char* name;
        std::string text;
        StoredSettings expected;
    };
    const Case cases[] = {
        {"empty file", "", {0, 0, 0, 0, {true, true, false, 0}}},
        {"header only", "[Main]\n", {0, 0, 0, 0, {true, true, false, 0}}},
        {"full file",
         "[Main]\nLeft=10\nTop=20\nWidth=800\nHeight=600\nGrid=0\nInvert=0\nColor=1\nPrintAs=2\n",
         {10, 20, 800, 600, {false, false, true, 2}}},
        {"other section", "[Other]\nWidth=800\n[Main]\nHeight=600\n", {0, 0, 0, 600, {true, true, false, 0}}},
        {"case and blanks",
         "  [ main ]\r\n  WIDTH =  0x100 \r\ncolor=7\r\n",
         {0, 0, 256, 0, {true, true, true, 0}}},
        {"first key counts",
         "[Main]\nWidth=x\nWidth=300\nHeight=5\nHeight=6\n",
         {0, 0, 0, 5, {true, true, false, 0}}},
        {"unknown target", "[Main]\nPrintAs=3\n", {0, 0, 0, 0, {true, true, false, 0}}},
        {"negative target", "[Main]\nPrintAs=-1\n", {0, 0, 0, 0, {true, true, false, 0}}},
        {"no newline at end", "[Main]\nTop=-5", {0, -5, 0, 0, {true, true, false, 0}}},
        {"NUL bytes", std::string("[Main]\nLeft=1\0\nTop=2\n", 21), {1, 2, 0, 0, {true, true, false, 0}}},
        {"unclosed section", "[Main\nWidth=9\n", {0, 0, 0, 0, {true, true, false, 0}}},
        {"comment", "[Main]\n;Width=9\n", {0, 0, 0, 0, {true, true, false, 0}}},
    };
    for (const auto& c : cases) {
        const StoredSettings s = parseSettings(c.text);
        EXPECT_EQ(s.Left, c.expected.Left) << c.name;
        EXPECT_EQ(s.Top, c.expected.Top) << c.name;
        EXPECT_EQ(s.Width, c.expected.Width) << c.name;
        EXPECT_EQ(s.Height, c.expected.Height) << c.name;
        EXPECT_EQ(s.Options.Grid, c.expected.Options.Grid) << c.name;
        EXPECT_EQ(s.Options.Invert, c.expected.Options.Invert) << c.name;
        EXPECT_EQ(s.Options.Color, c.expected.Options.Color) << c.name;
        EXPECT_EQ(s.Options.PrintAs, c.expected.Options.PrintAs) << c.name;
    }
}

TEST(SettingsFile, WritesTheEightKeysInOrderAndReadsThemBack) {
    StoredSettings s{-3, 40, 1034, 745, {true, false, true, 1}};
    const std::string text = formatSettings(s);
    EXPECT_EQ(text,
              "[Main]\nLeft=-3\nTop=40\nWidth=1034\nHeight=745\nGrid=1\nInvert=0\nColor=1\nPrintAs=1\n");
    const StoredSettings back = parseSettings(text);
    EXPECT_EQ(back.Left, -3);
    EXPECT_EQ(back.Height, 745);
    EXPECT_TRUE(back.Options.Grid);
    EXPECT_FALSE(back.Options.Invert);
    EXPECT_EQ(back.Options.PrintAs, 1);
}

TEST(SettingsFile, RecentShotFilesSurviveAnyPathAndOlderFiles) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> recent;
    };
    const std::string full = formatSettings({});
    // clang-format off
    const Case cases[] = {
        {"a file of an older version", full, {}},
        {"in number order, gaps closed", full + "RecentShot3=/c\nRecentShot1=/a\nRECENTSHOT5= /e \n", {"/a", "/c", "/e"}},
        {"escaped bytes", full + "RecentShot1=/t%C3%B6ne/a%20b%3F%25.csv\n", {"/t\xC3\xB6ne/a b?%.csv"}},
        {"raw bytes a writer never leaves are dropped", full + "RecentShot1=/t\xC3\xB6ne\nRecentShot2=/a?b\nRecentShot3=/x\n", {"/x"}},
        {"a broken escape is dropped", full + "RecentShot1=/a%2\nRecentShot2=/b%zz\nRecentShot3=/y\n", {"/y"}},
        {"no seventh, no zeroth", full + "RecentShot7=/g\nRecentShot0=/z\nRecentShot11=/k\n", {}},
        {"the first of a key counts, a path only once", full + "RecentShot1=/a\nRecentShot1=/b\nRecentShot2=/a\n", {"/a"}},
        {"outside [Main]", "[Other]\nRecentShot1=/a\n", {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const StoredSettings read = parseSettings(c.text);
        EXPECT_EQ(read.RecentShots, c.recent);
        EXPECT_EQ(parseSettings(formatSettings(read)), read);
    }

    StoredSettings awkward;
    awkward.RecentShots = {"/a b/c=d;e[f].csv",      " lead",   "%41", "line\nend\r",
                           std::string("nul\0x", 5), "\xFF\x01"};
    const std::string text = formatSettings(awkward);
    EXPECT_EQ(parseSettings(text), awkward);
    EXPECT_EQ(text.find_first_of("\r\x01\xFF ?"), std::string::npos) << text;
}

TEST(SettingsFile, FollowIsOffUnlessTheFileSaysOn) {
    struct Case {
        const char* name;
        std::string text;
        bool follow;
    };
    const std::string full = formatSettings({});
    const Case cases[] = {
        {"a file of an older version", full, false},
        {"on", full + "Follow=1\n", true},
        {"off", full + "Follow=0\n", false},
        {"any number but zero", full + "FOLLOW = 0x2\n", true},
        {"no number", full + "Follow=yes\n", false},
        {"the first of the key counts", full + "Follow=0\nFollow=1\n", false},
        {"outside [Main]", "[Other]\nFollow=1\n", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseSettings(c.text).Follow, c.follow) << c.name;

    StoredSettings on;
    on.Follow = true;
    on.RecentShots = {"/a.csv"};
    const std::string text = formatSettings(on);
    EXPECT_EQ(text, full + "Follow=1\nRecentShot1=/a.csv\n");
    EXPECT_EQ(parseSettings(text), on);
    on.Follow = false;
    EXPECT_EQ(formatSettings(on), full + "RecentShot1=/a.csv\n") << "off leaves the file as before";
}

TEST(SettingsFile, TheRecentListPutsTheLatestFirstAndKeepsSix) {
    std::vector<std::string> recent;
    for (const char* path : {"/1", "/2", "/3", "/2", "/4", "/5", "/6", "/7"})
        recent = withRecentShot(recent, path);
    EXPECT_EQ(recent, (std::vector<std::string>{"/7", "/6", "/5", "/4", "/2", "/3"}));
}

} // namespace
} // namespace kavlon
