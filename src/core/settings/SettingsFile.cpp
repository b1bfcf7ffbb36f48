#include "core/settings/SettingsFile.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <limits>
#include <optional>
#include <string>

namespace kavlon {

namespace {

std::string_view trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

int digitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

constexpr std::array<std::string_view, 8> kKeys = {"Left", "Top",    "Width", "Height",
                                                   "Grid", "Invert", "Color", "PrintAs"};

// Takes the next line off text. CR, LF and CR LF each end a line: files written
// on other systems or by old editors must not hide the section header.
std::string_view nextLine(std::string_view& text) {
    const auto end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    if (end == std::string_view::npos)
        text = {};
    else
        text.remove_prefix(end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1));
    return line;
}

// UTF-16 text as one byte per character. Keys, numbers and the section name are
// all ASCII, so whatever lies beyond ASCII only has to stay different from them.
std::string narrowUtf16(std::string_view bytes, bool bigEndian) {
    std::string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const unsigned char first = static_cast<unsigned char>(bytes[i]);
        const unsigned char second = static_cast<unsigned char>(bytes[i + 1]);
        const unsigned unit = bigEndian ? (first << 8 | second) : (second << 8 | first);
        text += unit < 0x80 ? char(unit) : '?';
    }
    return text;
}

// The text without its byte-order mark; UTF-16 is narrowed into storage first.
std::string_view withoutByteOrderMark(std::string_view text, std::string& storage) {
    if (text.starts_with("\xEF\xBB\xBF"))
        return text.substr(3);
    const bool littleEndian = text.starts_with("\xFF\xFE");
    if (!littleEndian && !text.starts_with("\xFE\xFF"))
        return text;
    storage = narrowUtf16(text.substr(2), !littleEndian);
    return storage;
}

constexpr std::string_view kRecentKey = "RecentShot";
constexpr std::string_view kFollowKey = "Follow";

bool keptAsIs(unsigned char c) {
    // '?' stands for every character UTF-16 text cannot narrow, so it is never kept.
    return c > 0x20 && c < 0x7F && c != '%' && c != '?';
}

std::string encodePath(std::string_view path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        if (keptAsIs(c)) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    return out;
}

// The path, or an empty text when the value is not one encodePath could have written.
std::string decodePath(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        if (c == '%' && i + 2 < value.size() && digitValue(value[i + 1], 16) >= 0 &&
            digitValue(value[i + 2], 16) >= 0) {
            out += char(digitValue(value[i + 1], 16) * 16 + digitValue(value[i + 2], 16));
            i += 2;
        } else if (keptAsIs(c)) {
            out += char(c);
        } else {
            return {};
        }
    }
    return out;
}

// RecentShot1 .. RecentShot6 as 0..5; nothing for any other key.
std::optional<std::size_t> recentIndex(std::string_view key) {
    if (key.size() != kRecentKey.size() + 1 ||
        !equalsIgnoringCase(key.substr(0, kRecentKey.size()), kRecentKey))
        return std::nullopt;
    const int digit = digitValue(key.back(), 10);
    if (digit < 1 || std::size_t(digit) > kMaxRecentShots)
        return std::nullopt;
    return std::size_t(digit - 1);
}

} // namespace

std::vector<std::string> withRecentShot(std::vector<std::string> recent, const std::string& path) {
    std::erase(recent, path);
    recent.insert(recent.begin(), path);
    if (recent.size() > kMaxRecentShots)
        recent.resize(kMaxRecentShots);
    return recent;
}

bool parseIniInteger(std::string_view text, int& value) {
    text = trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') &&
        digitValue(text[2], 16) >= 0) {
        base = 16;
        text.remove_prefix(2);
    }
    long long magnitude = 0;
    std::size_t digits = 0;
    for (char c : text) {
        const int d = digitValue(c, base);
        if (d < 0)
            break;
        magnitude = magnitude * base + d;
        if (magnitude > (long long)std::numeric_limits<int>::max() + 1)
            return false;
        ++digits;
    }
    if (digits == 0)
        return false;
    const long long signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<int>::max())
        return false;
    value = int(signedValue);
    return true;
}

namespace {

// What the [Main] section says: the first value of each key, as the platform's own
// INI reader takes it.
struct MainSection {
    std::array<bool, kKeys.size()> seen{};
    std::array<std::optional<int>, kKeys.size()> found;
    std::array<std::optional<std::string>, kMaxRecentShots> recent;
    bool followSeen = false;
    std::optional<int> follow;

    void take(std::string_view key, std::string_view value) {
        if (const auto r = recentIndex(key)) {
            if (!recent[*r])
                recent[*r] = decodePath(trim(value));
            return;
        }
        if (equalsIgnoringCase(key, kFollowKey)) {
            int number = 0;
            if (!followSeen && parseIniInteger(value, number))
                follow = number;
            followSeen = true;
            return;
        }
        for (std::size_t k = 0; k < kKeys.size(); ++k)
            if (!seen[k] && equalsIgnoringCase(key, kKeys[k])) {
                seen[k] = true;
                int number = 0;
                if (parseIniInteger(value, number))
                    found[k] = number;
                return;
            }
    }
};

StoredSettings settingsOf(const MainSection& main) {
    StoredSettings s;
    const auto get = [&](std::size_t k, int fallback) { return main.found[k].value_or(fallback); };
    s.Left = get(0, 0);
    s.Top = get(1, 0);
    s.Width = get(2, 0);
    s.Height = get(3, 0);
    s.Options.Grid = get(4, 1) != 0;
    s.Options.Invert = get(5, 1) != 0;
    s.Options.Color = get(6, 0) != 0;
    s.Options.PrintAs = get(7, 0);
    // An unknown target would leave the picture nowhere; print it instead.
    if (s.Options.PrintAs < QuickPrintOptions::Printer || s.Options.PrintAs > QuickPrintOptions::Jpeg)
        s.Options.PrintAs = QuickPrintOptions::Printer;
    s.Follow = main.follow.value_or(0) != 0;
    for (const auto& path : main.recent)
        if (path && !path->empty() &&
            std::find(s.RecentShots.begin(), s.RecentShots.end(), *path) == s.RecentShots.end())
            s.RecentShots.push_back(*path);
    return s;
}

} // namespace

StoredSettings parseSettings(std::string_view text) {
    std::string narrowed;
    text = withoutByteOrderMark(text, narrowed);
    MainSection main;
    bool inMain = false;
    while (!text.empty()) {
        const std::string_view line = trim(nextLine(text));
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            const auto close = line.find(']');
            inMain = close != std::string_view::npos &&
                     equalsIgnoringCase(trim(line.substr(1, close - 1)), "Main");
            continue;
        }
        const auto eq = line.find('=');
        if (inMain && eq != std::string_view::npos)
            main.take(trim(line.substr(0, eq)), line.substr(eq + 1));
    }
    return settingsOf(main);
}

std::string formatSettings(const StoredSettings& s) {
    const int values[kKeys.size()] = {s.Left,
                                      s.Top,
                                      s.Width,
                                      s.Height,
                                      s.Options.Grid ? 1 : 0,
                                      s.Options.Invert ? 1 : 0,
                                      s.Options.Color ? 1 : 0,
                                      s.Options.PrintAs};
    std::string text = "[Main]\n";
    for (std::size_t k = 0; k < kKeys.size(); ++k) {
        text += kKeys[k];
        text += '=';
        text += std::to_string(values[k]);
        text += '\n';
    }
    if (s.Follow)
        text += std::string(kFollowKey) + "=1\n";
    for (std::size_t r = 0; r < std::min(s.RecentShots.size(), kMaxRecentShots); ++r)
        if (!s.RecentShots[r].empty())
            text +=
                std::string(kRecentKey) + std::to_string(r + 1) + '=' + encodePath(s.RecentShots[r]) + '\n';
    return text;
}

} // namespace kavlon
