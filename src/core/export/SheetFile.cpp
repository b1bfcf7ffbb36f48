#include "core/export/SheetFile.h"

#include <cstdio>
#include <system_error>

namespace kavlon {

ExportResult exportSheet(const std::filesystem::path& path, const ExportContents& contents, Existing existing,
                         const BlockWrite& write) {
    AtomicFile file(path, existing, write);
    if (!file.open())
        return {{false, file.reason()}, 0};
    BiffWriter writer([&file](std::string_view block) { return file.write(block); });
    writeSheet(contents, writer);
    if (!writer.finish())
        return {{false, file.reason()}, file.writeCalls()};
    SaveResult result = file.commit();
    return {std::move(result), file.writeCalls()};
}

std::string exportFileName(int number) {
    char name[16];
    std::snprintf(name, sizeof name, "QV_%5.5d.xls", number);
    return name;
}

std::optional<std::filesystem::path> firstFreeExportName(const std::filesystem::path& folder, int count) {
    for (int i = 0; i < count; ++i) {
        std::filesystem::path candidate = folder / exportFileName(i);
        std::error_code error;
        // A dangling link takes the name as well as a file does.
        if (!std::filesystem::exists(std::filesystem::symlink_status(candidate, error)))
            return candidate;
    }
    return std::nullopt;
}

} // namespace kavlon
