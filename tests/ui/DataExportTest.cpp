#include "ScopeFixture.h"
#include "support/SheetReader.h"

#include "ui/dialogs/OutputFolders.h"
#include "ui/displays/MeasureDisplay.h"

#include "core/export/SheetFile.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>

#include <fstream>

#include <unistd.h>

namespace kavlon {
namespace {

using namespace test;
namespace fs = std::filesystem;

fs::path toPath(const QString& path) {
    return fs::path(path.toStdU16String());
}

class DataExport : public ScopeWindow {
protected:
    fs::path exports() const { return toPath(bench.folder.path()) / "exports"; }
    std::set<std::string> exportNames() const {
        std::set<std::string> names;
        std::error_code ignored;
        for (const auto& entry : fs::directory_iterator(exports(), ignored))
            names.insert(entry.path().filename().string());
        return names;
    }
    // The first row of each measurement block in the sheet, by the caption it carries.
    static std::map<std::string, int> blocks(const Sheet& sheet, int namesColumn) {
        std::map<std::string, int> found;
        for (const auto& [cell, text] : sheet)
            if (cell.second == namesColumn && text.starts_with("Measure"))
                found[text] = cell.first;
        return found;
    }
};

TEST_F(DataExport, TheButtonWritesTheChosenFileWithTheMeasuresOfThisDisplayOnly) {
    TMDIChild_Data* data = dataWithShot({.on = {true, false, true, false}});
    TMDIChild_Data* other = dataWithShot({});
    TMDIChild_Math* first = measuring(data);
    measuring(other);
    TMDIChild_Math* second = measuring(data);
    first->MeasureCells[2][0] = "1.5 \u00b5V";

    struct Case {
        const char* name;
        bool include;
        std::map<std::string, int> blocks;
    };
    const Case cases[] = {
        {"include Measures", true, {{"Measure02", 11}, {"Measure04", 35}}},
        {"include Measures unchecked", false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        data->incMeasureCB->setChecked(c.include);
        bench.dialogs.fileToSave = bench.folder.filePath("chosen.xls");
        bench.dialogs.saveRequests.clear();
        data->ExportBtn->click();
        EXPECT_EQ(bench.dialogs.errors.size(), 0u);
        ASSERT_EQ(bench.dialogs.saveRequests.size(), 1u);
        EXPECT_EQ(bench.dialogs.saveRequests[0].folder, bench.folder.path() + "/exports/")
            << "the dialog starts there";

        const Sheet sheet = readSheetFile(toPath(bench.dialogs.fileToSave));
        EXPECT_EQ(sheet.at({1, 1}), "Value");
        EXPECT_EQ(sheet.at({3, 10}), data->Trigger_lb->text().toStdString());
        EXPECT_EQ(blocks(sheet, 10), c.blocks);
        if (c.include) {
            EXPECT_EQ(first->windowTitle(), "Measure02");
            EXPECT_EQ(sheet.at({11, 12}), "Channel I");
            EXPECT_EQ(sheet.at({11, 14}), "Channel III");
            EXPECT_EQ(sheet.at({12, 14}), "1.5 \xB5V");
            EXPECT_EQ(sheet.at({36, 12}), second->MeasureCells[0][0]);
            EXPECT_FALSE(sheet.count({11, 16}));
        }
    }
}

TEST_F(DataExport, ACancelledOrFailedChoiceLeavesNoFile) {
    TMDIChild_Data* data = dataWithShot({});
    struct Case {
        const char* name;
        QString file;
        bool error;
    };
    const Case cases[] = {
        {"cancelled", QString(), false},
        {"a folder that is not there", bench.folder.filePath("gone/x.xls"), true},
        {"a folder in the file's place", bench.folder.filePath("exports"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bench.dialogs.errors.clear();
        bench.dialogs.fileToSave = c.file;
        EXPECT_FALSE(data->ExportBtnClick(data->ExportBtn));
        EXPECT_EQ(bench.dialogs.errors.size(), c.error ? 1u : 0u);
        if (c.error) {
            EXPECT_TRUE(bench.dialogs.errors[0].startsWith("Cannot write"));
            EXPECT_FALSE(bench.dialogs.errorDetails[0].isEmpty()) << "the platform's reason";
        }
        EXPECT_EQ(exportNames(), std::set<std::string>{}) << "nothing in the exports folder";
        EXPECT_FALSE(fs::exists(toPath(bench.folder.filePath("gone"))));
    }
}

TEST_F(DataExport, GeneratedNamesCountUpAndNeverReplaceAnEarlierExport) {
    TMDIChild_Data* data = dataWithShot({.channels = 2, .on = {true, true, false, false}});
    EXPECT_TRUE(data->ExportBtnClick(nullptr));
    EXPECT_TRUE(data->ExportBtnClick(nullptr));
    EXPECT_EQ(exportNames(), (std::set<std::string>{"QV_00000.xls", "QV_00001.xls"}));
    EXPECT_EQ(readSheetFile(exports() / "QV_00001.xls").at({1, 4}), "Voltage");
    EXPECT_TRUE(bench.dialogs.saveRequests.empty()) << "no dialog for a generated name";

    // Every name taken (of three, to spare the disk 100,000 files): the export ends
    // with a message and the last name's file stays as it was.
    EXPECT_EQ(data->exportNameCount, kExportNameCount);
    data->exportNameCount = 3;
    std::ofstream(exports() / exportFileName(2)) << "";
    const auto last = exports() / exportFileName(2);
    EXPECT_FALSE(data->ExportBtnClick(nullptr));
    ASSERT_EQ(bench.dialogs.errors.size(), 1u);
    EXPECT_TRUE(bench.dialogs.errors[0].contains("QV_00002.xls")) << bench.dialogs.errors[0].toStdString();
    EXPECT_EQ(fs::file_size(last), 0u) << "the last export is as it was";
}

TEST(OutputFolders, BelowTheProgramWhenWritableOtherwiseTheUsersDataFolder) {
    QStandardPaths::setTestModeEnabled(true);
    const QString userData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/";
    QTemporaryDir program;
    const QString file = program.filePath("file");
    QFile(file).open(QIODevice::WriteOnly);
    const QString readOnly = program.filePath("readonly");
    QDir().mkdir(readOnly);
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner);
    struct Case {
        const char* name;
        QString programDirectory;
        QString root;
    };
    const Case cases[] = {
        {"writable, with its separator", program.path() + "/", program.path() + "/"},
        {"writable, without", program.path(), program.path() + "/"},
        {"not there", program.filePath("gone"), userData},
        {"a file", file, userData},
        {"empty", QString(), userData},
        // Writable for the superuser, and still no place for a user's files.
        {"the system's folder of programs", "/usr/bin", userData},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(outputRoot(c.programDirectory), c.root);
    }
    // Permissions bind everybody but the superuser.
    if (::geteuid() != 0) {
        EXPECT_EQ(outputRoot(readOnly), userData);
    }

    QString why;
    EXPECT_EQ(outputFolder(program.path(), "exports", &why), program.path() + "/exports/");
    EXPECT_TRUE(QFileInfo(program.filePath("exports")).isDir());
    EXPECT_EQ(outputFolder(program.path(), "file", &why), QString()) << "a file in the folder's place";
    EXPECT_FALSE(why.isEmpty());
    QStandardPaths::setTestModeEnabled(false);
}

} // namespace
} // namespace kavlon
