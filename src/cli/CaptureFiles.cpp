#include "cli/CaptureFiles.h"

#include "cli/CommandSession.h"

#include "core/export/SheetFile.h"
#include "core/shot/ShotCsv.h"

namespace kavlon::cli {

std::string_view extensionOf(ShotFormat format) {
    return format == ShotFormat::Csv ? ".csv" : ".xls";
}

std::optional<std::filesystem::path> firstFreeShotName(const std::filesystem::path& folder,
                                                       ShotFormat format) {
    for (int i = 0; i < kExportNameCount; ++i) {
        auto candidate = folder / exportFileName(i);
        candidate.replace_extension(extensionOf(format));
        std::error_code error;
        // A dangling link takes the name as well as a file does.
        if (!std::filesystem::exists(std::filesystem::symlink_status(candidate, error)))
            return candidate;
    }
    return std::nullopt;
}

SaveResult saveShot(const std::filesystem::path& path, const ShotRecord& record, ShotFormat format,
                    const std::string& dateTime) {
    if (format == ShotFormat::Csv)
        return saveShotCsv(path, record, Existing::Keep);
    ExportContents contents;
    contents.record = &record;
    contents.dataCaption = CommandSession::kShotCaption;
    contents.dateTime = dateTime;
    return exportSheet(path, contents, Existing::Keep).result;
}

std::optional<std::string> readShot(const std::filesystem::path& path, ShotRecord& record) {
    ShotFileResult read = readShotFile(path, TransferInputs{});
    if (!read.ok)
        return read.error;
    record = std::move(read.record);
    return std::nullopt;
}

} // namespace kavlon::cli
