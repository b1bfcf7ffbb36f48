#pragma once

#include "core/files/AtomicFile.h"
#include "core/shot/ShotRecord.h"

#include <filesystem>
#include <optional>
#include <string>

namespace kavlon::cli {

// The two kinds of file a shot is written to: the offline-shot CSV, and the
// spreadsheet the Data display exports.
enum class ShotFormat { Csv, Xls };

std::string_view extensionOf(ShotFormat format);

// The first numbered name (QV_00000 to QV_99999) with the format's extension that
// nothing in folder takes yet; nothing when all are taken.
std::optional<std::filesystem::path> firstFreeShotName(const std::filesystem::path& folder,
                                                       ShotFormat format);

// Writes the shot whole or not at all; never over a file that is already there.
SaveResult saveShot(const std::filesystem::path& path, const ShotRecord& record, ShotFormat format,
                    const std::string& dateTime);

// Reads a shot file written by this program (either kind); on failure the reason.
std::optional<std::string> readShot(const std::filesystem::path& path, ShotRecord& record);

} // namespace kavlon::cli
