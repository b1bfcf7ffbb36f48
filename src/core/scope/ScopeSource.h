#pragma once

#include "core/scope/ScopeState.h"
#include "core/shot/ShotRecord.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kavlon {

// Copies a Data display's shot into a Scope's state: every sample cell that holds a
// value (an empty cell keeps what the Scope had), the settings with their texts, and
// the zero rows.
void copyShot(const ShotRecord& record, ScopeState& state);

// The scroll bar's maximum for a shot: how many steps the first drawn sample can move
// on before 600 columns of the factor would run past the shot. Never below 0: a
// factor that does not fit (or is not positive) leaves nothing to scroll.
int scrollMaximum(int timebaseIndex, int samplesPerPixel);

// The zoom box's entries for a timebase and the samples-per-pixel value behind each.
// From index 7 on only three entries are offered, though five factors are kept.
struct ZoomRow {
    std::span<const std::string_view> entries;
    std::array<std::int32_t, 5> factors{};
};
// Nothing for a timebase index outside 0..31.
std::optional<ZoomRow> zoomRow(int timebaseIndex);

} // namespace kavlon
