// Where the settings file lives: beside a program whose folder is its own, otherwise in
// the user's configuration folder.
#include "UiHelpers.h"
#include "support/ReadOnlyFolder.h"

#include "ui/mainwindow/SettingsLocation.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kavlon {
namespace {

using test::ScriptedDialogs;

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(text);
}

// The user's own settings file, gone before and after each test.
struct UserSettingsFile {
    const QString path = userConfigDirectory() + "/KavlonPC.INI";
    UserSettingsFile() { QFile::remove(path); }
    ~UserSettingsFile() { QFile::remove(path); }
};

TEST(SettingsLocation, BesideAProgramWhoseFolderIsItsOwnOtherwiseTheUsers) {
    QTemporaryDir program;
    const QString user = "/home/someone/.config/KavlonPC";
    const QString besideProgram = program.path() + "/KavlonPC.INI";
    const QString perUser = user + "/KavlonPC.INI";
    struct Case {
        const char* name;
        QString programDirectory;
        QStringList readOrder;
        QString writePath;
    };
    const Case cases[] = {
        {"writable: a build tree or a portable copy", program.path(), {besideProgram}, besideProgram},
        {"writable, with its separator", program.path() + "/", {besideProgram}, besideProgram},
        {"not there",
         program.filePath("gone"),
         {perUser, program.filePath("gone") + "/KavlonPC.INI"},
         perUser},
        // Writable for the superuser, and still nobody's to keep settings in.
        {"the system's folder of programs", "/usr/bin", {perUser, "/usr/bin/KavlonPC.INI"}, perUser},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SettingsLocation location = settingsLocation(c.programDirectory, user);
        EXPECT_EQ(location.readOrder.join(" | ").toStdString(), c.readOrder.join(" | ").toStdString());
        EXPECT_EQ(location.writePath.toStdString(), c.writePath.toStdString());
    }
}

TEST(MainWindowSettings, AReadOnlyProgramFolderKeepsThemInTheUsersConfigurationFolder) {
    UserSettingsFile user;
    test::ReadOnlyFolder program;
    const QString folder = QString::fromStdString(program.path());
    const QByteArray beside =
        "[Main]\nLeft=0\nTop=0\nWidth=900\nHeight=700\nGrid=0\nInvert=0\nColor=0\nPrintAs=2\n";
    writeFile(folder + "/KavlonPC.INI", beside);
    if (!program.seal())
        GTEST_SKIP() << "no read-only folder to try: " << program.whyNot();

    ScriptedDialogs dialogs;
    {
        TMainForm form(folder, &dialogs, test::noInstrument());
        form.show();
        EXPECT_EQ(form.size(), QSize(900, 700)) << "the file beside the program while the user has none";
        EXPECT_EQ(form.QuickPrintOptions.PrintAs, 2);
        form.resize(1000, 720);
        EXPECT_TRUE(form.close());
    }
    ASSERT_TRUE(dialogs.errors.empty()) << "saved without complaint: " << dialogs.errors[0].toStdString();
    EXPECT_TRUE(readFile(user.path).contains("\nWidth=1000\nHeight=720\n"))
        << readFile(user.path).toStdString();
    EXPECT_EQ(readFile(folder + "/KavlonPC.INI"), beside);

    TMainForm again(folder, &dialogs, test::noInstrument());
    again.show();
    EXPECT_EQ(again.size(), QSize(1000, 720)) << "the user's file is read first";
}

TEST(MainWindowSettings, AProgramFolderOfItsOwnIgnoresTheUsersFile) {
    UserSettingsFile user;
    const QByteArray users = "[Main]\nWidth=900\nHeight=700\n";
    QDir().mkpath(userConfigDirectory());
    writeFile(user.path, users);
    QTemporaryDir program;
    writeFile(program.filePath("KavlonPC.INI"), "[Main]\nWidth=1000\nHeight=720\n");

    ScriptedDialogs dialogs;
    TMainForm form(program.path(), &dialogs, test::noInstrument());
    form.show();
    EXPECT_EQ(form.size(), QSize(1000, 720)) << "a portable copy carries its own settings";
    form.resize(1010, 730);
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(readFile(program.filePath("KavlonPC.INI")).contains("\nWidth=1010\nHeight=730\n"));
    EXPECT_EQ(readFile(user.path), users);
}

} // namespace
} // namespace kavlon
