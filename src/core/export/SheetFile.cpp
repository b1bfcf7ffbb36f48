#include "core/export/SheetFile.h"

namespace kavlon {

ExportResult exportSheet(const std::filesystem::path& path, const ExportContents& contents, Existing existing,
                         const FileCalls& calls) {
    AtomicFile file(path, existing, calls);
    if (!file.open())
        return {{false, file.reason(), file.nameTaken()}, 0};
    BiffWriter writer([&file](std::string_view block) { return file.write(block); });
    writeSheet(contents, writer);
    if (!writer.finish())
        return {{false, file.reason(), file.nameTaken()}, file.writeCalls()};
    SaveResult result = file.commit();
    return {std::move(result), file.writeCalls()};
}

std::string exportFileName(int number) {
    return numberedName(number, kExportExtension);
}

std::optional<std::filesystem::path> firstFreeExportName(const std::filesystem::path& folder, int count) {
    return firstFreeNumberedName(folder, kExportExtension, count);
}

NumberedSave exportSheetUnderFreeName(const std::filesystem::path& folder, const ExportContents& contents,
                                      int count, const FileCalls& calls) {
    return saveUnderFreeName(
        folder, kExportExtension,
        [&](const std::filesystem::path& path) {
            return exportSheet(path, contents, Existing::Keep, calls).result;
        },
        count);
}

} // namespace kavlon
