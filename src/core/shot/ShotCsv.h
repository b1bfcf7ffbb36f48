#pragma once

#include "core/files/AtomicFile.h"
#include "core/shot/ShotRecord.h"
#include "core/shot/ShotTransfer.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace kavlon {

struct ShotFileResult {
    bool ok = false;
    // The shot exactly as a Data display would hold it after the instrument delivered it.
    ShotRecord record;
    // What is wrong, "line N: ..." where there is a line; the caller adds the file name.
    std::string error;
};

// The CSV text of a record: UTF-8, RFC 4180 (CR LF line ends), '.' as decimal mark
// whatever the locale, the settings in '#' lines first, then a header row and one row
// per sample position with the raw value and volts of every channel that has cells.
std::string shotCsvText(const ShotRecord& record);

// Writes it through AtomicFile; the platform's reason on failure. A record that could
// not be read back (no shot yet, settings outside the instrument's tables) is refused.
// With Existing::Keep a file that has the name by the end of the writing stays.
SaveResult saveShotCsv(const std::filesystem::path& path, const ShotRecord& record,
                       Existing existing = Existing::Replace, const FileCalls& calls = {});

// Reads a CSV written by shotCsvText, or recognises a spreadsheet (.xls) this program
// exported, by content, not by name.
ShotFileResult readShotFile(const std::filesystem::path& path, const TransferInputs& inputs);

// The same from bytes in memory (used by the fuzz target and by readShotFile).
ShotFileResult parseShotFile(std::string_view bytes, const TransferInputs& inputs);

} // namespace kavlon
