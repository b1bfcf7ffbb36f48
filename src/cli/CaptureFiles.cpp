#include "cli/CaptureFiles.h"

#include "cli/CommandSession.h"

#include "core/export/ExportSheet.h"
#include "core/export/SheetFile.h"
#include "core/shot/ShotCsv.h"

namespace kavlon::cli {

std::string_view extensionOf(ShotFormat format) {
    return format == ShotFormat::Csv ? ".csv" : ".xls";
}

namespace {

ExportContents sheetOf(const ShotRecord& record, const std::string& dateTime) {
    ExportContents contents;
    contents.record = &record;
    contents.dataCaption = CommandSession::kShotCaption;
    contents.dateTime = dateTime;
    return contents;
}

} // namespace

SaveResult saveShot(const std::filesystem::path& path, const ShotRecord& record, ShotFormat format,
                    const std::string& dateTime, const FileCalls& calls, Existing existing) {
    if (format == ShotFormat::Csv)
        return saveShotCsv(path, record, existing, calls);
    return exportSheet(path, sheetOf(record, dateTime), existing, calls).result;
}

std::string shotBytes(const ShotRecord& record, ShotFormat format, const std::string& dateTime) {
    if (format == ShotFormat::Csv)
        return shotCsvText(record);
    std::string bytes;
    BiffWriter writer([&](std::string_view block) {
        bytes += block;
        return true;
    });
    writeSheet(sheetOf(record, dateTime), writer);
    writer.finish();
    return bytes;
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
