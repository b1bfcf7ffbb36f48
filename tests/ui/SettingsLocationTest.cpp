// Where the settings file lives: beside a program whose folder is its own, otherwise in
// the user's configuration folder.
#include "UiHelpers.h"
#include "support/ReadOnlyFolder.h"

#include "ui/mainwindow/SettingsLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

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

// The window's start, the warning it shows once the event loop runs, and its close.
struct Started {
    ScriptedDialogs dialogs;
    std::unique_ptr<TMainForm> form;

    explicit Started(const QString& folder) {
        form = std::make_unique<TMainForm>(folder, &dialogs, test::noInstrument());
        form->show();
        QCoreApplication::processEvents();
    }
    void close() {
        dialogs.errors.clear();
        dialogs.errorDetails.clear();
        EXPECT_TRUE(form->close());
    }
};

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

const QByteArray kTooLarge = "[Main]\nWidth=900\nHeight=700\n" + QByteArray(1024 * 1024, ';');
const QString kTooLargeReason = "larger than 1024 KiB, which no settings file of this program is";

TEST(MainWindowSettings, AFileThatCannotBeReadIsSaidAtStartAndNeverOverwritten) {
    UserSettingsFile user;
    QTemporaryDir portable;
    const QString besidePortable = portable.filePath("KavlonPC.INI");
    writeFile(besidePortable, kTooLarge);
    Started run(portable.path());
    ASSERT_EQ(run.dialogs.errors.size(), 1u);
    EXPECT_EQ(run.dialogs.errors[0],
              "cannot read " + native(besidePortable) + ": " + kTooLargeReason + "; defaults are used");
    EXPECT_EQ(run.dialogs.errorDetails[0],
              "The settings will not be saved, so that " + native(besidePortable) + " stays as it is.");
    EXPECT_EQ(run.form->size(), QSize(1034, 745)) << "the first run's defaults";
    run.close();
    EXPECT_TRUE(run.dialogs.errors.empty()) << "said once, at start";
    EXPECT_EQ(readFile(besidePortable), kTooLarge);
    EXPECT_FALSE(QFile::exists(user.path));

    // An installed program writes the user's own file instead of the one beside it.
    test::ReadOnlyFolder installed;
    const QString folder = QString::fromStdString(installed.path());
    writeFile(folder + "/KavlonPC.INI", kTooLarge);
    if (!installed.seal())
        GTEST_SKIP() << "no read-only folder to try: " << installed.whyNot();
    {
        Started again(folder);
        ASSERT_EQ(again.dialogs.errors.size(), 1u);
        EXPECT_EQ(again.dialogs.errorDetails[0], "The settings will be saved to " + native(user.path) + ".");
        again.close();
        EXPECT_TRUE(again.dialogs.errors.empty());
    }
    EXPECT_TRUE(readFile(user.path).contains("\nWidth=1034\nHeight=745\n"));

    // The user's own file that cannot be read is the one the settings would go to.
    writeFile(user.path, kTooLarge);
    Started third(folder);
    ASSERT_EQ(third.dialogs.errors.size(), 1u);
    EXPECT_EQ(third.dialogs.errors[0],
              "cannot read " + native(user.path) + ": " + kTooLargeReason + "; defaults are used");
    EXPECT_EQ(third.dialogs.errorDetails[0],
              "The settings will not be saved, so that " + native(user.path) + " stays as it is.");
    third.close();
    EXPECT_EQ(readFile(user.path), kTooLarge);
}

TEST(MainWindowSettings, TheyAreWrittenWhereTheStartFoundThem) {
    UserSettingsFile user;
    test::ReadOnlyFolder program;
    const QString folder = QString::fromStdString(program.path());
    writeFile(folder + "/KavlonPC.INI", "[Main]\nWidth=900\nHeight=700\n");
    Started run(folder);
    EXPECT_EQ(run.form->size(), QSize(900, 700));
    // The folder stops being the program's own while it runs.
    if (!program.seal())
        GTEST_SKIP() << "no read-only folder to try: " << program.whyNot();
    run.close();
    ASSERT_EQ(run.dialogs.errors.size(), 1u) << "no quiet move to another file";
    EXPECT_EQ(run.dialogs.errors[0],
              "nach " + native(folder + "/KavlonPC.INI") + " kann nicht geschrieben werden");
    EXPECT_FALSE(QFile::exists(user.path));
}

TEST(MainWindowSettings, AConfigurationFolderThatCannotBeMadeSaysWhy) {
    test::ReadOnlyFolder program, home;
    const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(QString::fromStdString(home.path())));
    if (!program.seal() || !home.seal()) {
        qputenv("XDG_CONFIG_HOME", previous);
        GTEST_SKIP() << "no read-only folder to try: " << program.whyNot() << home.whyNot();
    }
    Started run(QString::fromStdString(program.path()));
    run.close();
    qputenv("XDG_CONFIG_HOME", previous);
    ASSERT_EQ(run.dialogs.errors.size(), 1u);
    const QString reason = run.dialogs.errorDetails[0];
    EXPECT_TRUE(reason == "Permission denied" || reason == "Read-only file system") << reason.toStdString();
}

} // namespace
} // namespace kavlon
