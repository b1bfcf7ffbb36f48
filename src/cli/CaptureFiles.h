#pragma once

#include "core/files/AtomicFile.h"
#include "core/files/NumberedNames.h"
#include "core/shot/ShotRecord.h"

#include <filesystem>
#include <optional>
#include <string>

namespace kavlon::cli {

// The two kinds of file a shot is written to: the offline-shot CSV, and the
// spreadsheet the Data display exports.
enum class ShotFormat { Csv, Xls };

std::string_view extensionOf(ShotFormat format);

// Writes the shot whole or not at all; never over a file that is already there,
// unless told to replace it (a file the user named).
SaveResult saveShot(const std::filesystem::path& path, const ShotRecord& record, ShotFormat format,
                    const std::string& dateTime, const FileCalls& calls = {},
                    Existing existing = Existing::Keep);

// The bytes of that file, for standard output.
std::string shotBytes(const ShotRecord& record, ShotFormat format, const std::string& dateTime);

// Writes the shot under the first numbered name (QV_00000 to QV_99999) with the
// format's extension that nothing in folder takes; when another capture into the
// same folder takes that name meanwhile, under the next free one. The path is empty
// when every name is taken.
NumberedSave saveNumberedShot(const std::filesystem::path& folder, const ShotRecord& record,
                              ShotFormat format, const std::string& dateTime, const FileCalls& calls = {});

// Reads a shot file written by this program (either kind); on failure the reason.
std::optional<std::string> readShot(const std::filesystem::path& path, ShotRecord& record);

} // namespace kavlon::cli
