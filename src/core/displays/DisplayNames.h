#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kavlon {

// Kind words of the displays; the quick print names its pair "QP_Data" and "QP_Scope".
namespace kind {
constexpr std::string_view Data = "Data";
constexpr std::string_view Scope = "Scope";
constexpr std::string_view Measure = "Measure";
constexpr std::string_view FFT = "FFT";
constexpr std::string_view QuickPrintData = "QP_Data";
constexpr std::string_view QuickPrintScope = "QP_Scope";
} // namespace kind

// While this many child windows are open, the display buttons create no more.
constexpr int kMaxDisplays = 97;

// "Data" + 7 -> "Data07".
std::string displayName(std::string_view kindWord, int number);

// The first free entry among 0..childCount of the slot table, or 0 when none is.
int chooseDisplayNumber(const std::array<int, 100>& numbers, int childCount);

// The number a display name carries after its kind word, or nullopt for a
// caption that is not a display name (a file path, say).
std::optional<int> displayNumberFromCaption(std::string_view caption);

// Entries of the display list that a source box offers: Data and QP_Data displays.
bool isSourceCandidate(std::string_view entry);

} // namespace kavlon
