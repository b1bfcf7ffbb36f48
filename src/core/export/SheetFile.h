#pragma once

#include "core/export/ExportSheet.h"
#include "core/files/AtomicFile.h"
#include "core/files/NumberedNames.h"

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
                         Existing existing = Existing::Replace, const FileCalls& calls = {});

// Generated exports are numbered QV_00000.xls to QV_99999.xls.
constexpr int kExportNameCount = kNumberedNameCount;
constexpr std::string_view kExportExtension = ".xls";
std::string exportFileName(int number);

// The first generated name not yet taken in folder, or nothing when all are.
std::optional<std::filesystem::path> firstFreeExportName(const std::filesystem::path& folder,
                                                         int count = kExportNameCount);

// Exports under the first free generated name in folder, or the next one when another
// program takes it meanwhile; an export never takes the place of an earlier one. The
// path is empty when every name is taken.
NumberedSave exportSheetUnderFreeName(const std::filesystem::path& folder, const ExportContents& contents,
                                      int count = kExportNameCount, const FileCalls& calls = {});

} // namespace kavlon
