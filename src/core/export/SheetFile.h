#pragma once

#include "core/export/ExportSheet.h"
#include "core/files/AtomicFile.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace kavlon {

struct ExportResult {
    SaveResult result;
    // Block writes the file took, for the benchmark's count.
    std::size_t writeCalls = 0;
};

// Writes the sheet to path whole or not at all (see AtomicFile): a failure leaves no
// part of it and whatever had the name before as it was.
ExportResult exportSheet(const std::filesystem::path& path, const ExportContents& contents,
                         Existing existing = Existing::Replace, const BlockWrite& write = {});

// Generated exports are numbered QV_00000.xls to QV_99999.xls.
constexpr int kExportNameCount = 100000;
std::string exportFileName(int number);

// The first generated name not yet taken in folder, or nothing when all are; an
// export never takes the place of an earlier one.
std::optional<std::filesystem::path> firstFreeExportName(const std::filesystem::path& folder,
                                                         int count = kExportNameCount);

} // namespace kavlon
