#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kavlon {

// How the instrument's quick print and the Scope displays' Print button output a picture.
struct QuickPrintOptions {
    enum Target { Printer = 0, Bmp = 1, Jpeg = 2 };
    bool Grid = false;
    bool Invert = false;
    bool Color = false;
    int PrintAs = Printer;
    bool operator==(const QuickPrintOptions&) const = default;
};

// The contents of "KavlonPC.INI", section "Main".
struct StoredSettings {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    // A file that exists but lacks a key gives grid and invert on.
    QuickPrintOptions Options{true, true, false, QuickPrintOptions::Printer};
    // Shot files opened or saved lately, newest first, as the file system names them
    // (keys RecentShot1 to RecentShot6; written only when there are any).
    std::vector<std::string> RecentShots{};
    // The Follow box a new Scope, Measure or FFT display starts with: the last one
    // chosen (key Follow; written only when on, so a file from before reads as off).
    bool Follow = false;
    bool operator==(const StoredSettings&) const = default;
};

constexpr std::size_t kMaxRecentShots = 6;

// The list with path first, an earlier mention of it dropped, no more than kMaxRecentShots long.
std::vector<std::string> withRecentShot(std::vector<std::string> recent, const std::string& path);

constexpr const char* kSettingsFileName = "KavlonPC.INI";

// Reads the settings from the text of an INI file. Any text is accepted: a
// missing key, or a value that is no number, gives that key's default. Like the
// platform's INI reader it takes UTF-8 and UTF-16 text with a byte-order mark,
// and lines ended by CR, LF or both.
StoredSettings parseSettings(std::string_view text);

// One value as the INI reader takes it: decimal, or hexadecimal after "0x",
// with optional sign and leading blanks; digits end at the first other character.
// False when the text starts with no number or the number does not fit an int.
bool parseIniInteger(std::string_view text, int& value);

// The file's text with the eight keys in their fixed order, booleans as 1/0, then
// Follow when it is on, then the recent shot files. A path is kept in printable ASCII with %XX for every
// other byte, so that no line end, encoding or blank of the file can change it.
std::string formatSettings(const StoredSettings& settings);

} // namespace kavlon
