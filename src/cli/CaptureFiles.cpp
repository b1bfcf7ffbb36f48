#include "cli/CaptureFiles.h"

#include "cli/CommandSession.h"

#include "core/export/SheetFile.h"
#include "core/shot/ShotCsv.h"

namespace kavlon::cli {

std::string_view extensionOf(ShotFormat format) {
    return format == ShotFormat::Csv ? ".csv" : ".xls";
}

SaveResult saveShot(const std::filesystem::path& path, const ShotRecord& record, ShotFormat format,
                    const std::string& dateTime, const FileCalls& calls) {
    if (format == ShotFormat::Csv)
        return saveShotCsv(path, record, Existing::Keep, calls);
    ExportContents contents;
    contents.record = &record;
    contents.dataCaption = CommandSession::kShotCaption;
    contents.dateTime = dateTime;
    return exportSheet(path, contents, Existing::Keep, calls).result;
}

NumberedSave saveNumberedShot(const std::filesystem::path& folder, const ShotRecord& record,
                              ShotFormat format, const std::string& dateTime, const FileCalls& calls) {
    return saveUnderFreeName(folder, extensionOf(format), [&](const std::filesystem::path& path) {
        return saveShot(path, record, format, dateTime, calls);
    });
}

std::optional<std::string> readShot(const std::filesystem::path& path, ShotRecord& record) {
    ShotFileResult read = readShotFile(path, TransferInputs{});
    if (!read.ok)
        return read.error;
    record = std::move(read.record);
    return std::nullopt;
}

} // namespace kavlon::cli
