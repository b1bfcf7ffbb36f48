// The atomic writer against what really happens to files: a killed writer, long names,
// a sync or rename that fails, another program taking the name, files the user may not
// write. Each case runs with the unnamed file the platform offers and with the named one
// of platforms without it.
#include "core/files/AtomicFile.h"
#include "core/files/EscapedText.h"
#include "core/files/Folders.h"
#include "core/files/NumberedNames.h"
#include "core/files/TemporaryNames.h"
#include "support/AnotherUser.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <set>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kavlon {
namespace {

namespace fs = std::filesystem;
using test::ScratchFolder;

std::string readText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string reasonOf(int error) {
    return std::generic_category().message(error);
}

int fails(int error) {
    errno = error;
    return -1;
}

enum class Temporary { Unnamed, Named };
constexpr Temporary kBothTemporaries[] = {Temporary::Unnamed, Temporary::Named};

const char* nameOf(Temporary temporary) {
    return temporary == Temporary::Unnamed ? "unnamed temporary file" : "named temporary file";
}

// The platform's calls, except that Named stands for a platform without unnamed files.
FileCalls callsFor(Temporary temporary) {
    FileCalls calls;
    if (temporary == Temporary::Named)
        calls.createUnnamed = [](const char*) { return fails(EOPNOTSUPP); };
    return calls;
}

bool unnamedFilesWorkIn(const fs::path& folder) {
#if defined(O_TMPFILE)
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::close(fd);
    return fd >= 0;
#else
    (void)folder;
    return false;
#endif
}

TEST(AtomicFile, AKilledWriterLeavesNothingOrWhatTheNextSaveClearsAway) {
    for (const Temporary temporary : kBothTemporaries) {
        for (const Existing existing : {Existing::Replace, Existing::Keep}) {
            SCOPED_TRACE(std::string(nameOf(temporary)) +
                         (existing == Existing::Keep ? ", keep" : ", replace"));
            ScratchFolder folder;
            if (temporary == Temporary::Unnamed && !unnamedFilesWorkIn(folder.path()))
                GTEST_SKIP() << "no unnamed files on this file system";
            const fs::path target = folder.path() / "QV_00001.csv";
            if (existing == Existing::Replace)
                writeText(target, "the earlier file");
            const pid_t writer = ::fork();
            if (writer == 0) {
                FileCalls calls = callsFor(temporary);
                int writes = 0;
                calls.write = [&](int fd, const char* data, std::size_t size) {
                    if (++writes == 2)
                        ::raise(SIGKILL);
                    return ::write(fd, data, size);
                };
                AtomicFile file(target, existing, calls);
                if (file.open() && file.write("the first half"))
                    file.write("the second half");
                ::_exit(1);
            }
            int status = 0;
            ASSERT_EQ(::waitpid(writer, &status, 0), writer);
            ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

            const std::set<std::string> left = folder.names();
            if (existing == Existing::Replace) {
                EXPECT_EQ(readText(target), "the earlier file");
            }
            if (temporary == Temporary::Unnamed) {
                EXPECT_EQ(left.size(), existing == Existing::Replace ? 1u : 0u) << "a kill leaves nothing";
                continue;
            }
            const std::string stale = temporaryName(target.filename().string(), writer, 0);
            EXPECT_TRUE(left.count(stale)) << "the named file stays until the next save";
            // Not ours to clear: a running process's file, another target's, a look-alike.
            const std::set<std::string> others = {temporaryName("QV_00001.csv", 1, 0),
                                                  temporaryName("QV_00002.csv", writer, 0),
                                                  "QV_00001.csv." + std::to_string(writer) + "-x.tmp"};
            for (const std::string& other : others)
                writeText(folder.path() / other, "not stale");
            EXPECT_TRUE(saveFileWhole(target, "the later file", existing, callsFor(temporary)).saved);
            std::set<std::string> expected = others;
            expected.insert(target.filename().string());
            EXPECT_EQ(folder.names(), expected);
            EXPECT_EQ(readText(target), "the later file");
        }
    }
}

TEST(TemporaryNames, NeverLongerThanTheLimitNorCutInsideACharacter) {
    EXPECT_EQ(temporaryName("QV_00001.csv", 7953, 0), "QV_00001.csv.7953-0.tmp");
    for (const std::string character : {"a", "\u00e9", "\u20ac", "\U0001F600"}) {
        for (std::size_t length = 1; length <= kLongestFileName; ++length) {
            std::string name;
            while (name.size() + character.size() <= length)
                name += character;
            const std::string temporary = temporaryName(name, 4194304, 99);
            ASSERT_LE(temporary.size(), kLongestFileName) << name;
            ASSERT_EQ(escapeControlCharacters(temporary), temporary) << "whole characters only: " << name;
            const auto owner = temporaryOwner(temporary, name);
            ASSERT_TRUE(owner) << temporary;
            EXPECT_EQ(owner->pid, 4194304);
            EXPECT_EQ(owner->attempt, 99);
        }
    }
    for (const char* foreign : {"QV_00001.csv.7953-0.tmp", "QV_00002.csv.79a3-0.tmp", "QV_00002.csv.-5-0.tmp",
                                "QV_00002.csv.007953-0.tmp", "QV_00002.csv.7953-0", "QV_00002.csv"})
        EXPECT_FALSE(temporaryOwner(foreign, "QV_00002.csv")) << foreign;
}

TEST(AtomicFile, ANameOfAnyLegalLengthCanBeSaved) {
    struct Case {
        const char* name;
        std::string fileName;
        std::string reason; // empty: saved
    };
    std::string euros;
    for (int i = 0; i < 85; ++i)
        euros += "\u20ac";
    const Case cases[] = {
        {"255 letters", std::string(255, 'a'), ""},
        {"253 letters and a two-byte character", std::string(253, 'a') + "\u00e9", ""},
        {"85 three-byte characters", euros, ""},
        {"one byte too long", std::string(256, 'a'), reasonOf(ENAMETOOLONG)},
    };
    for (const Case& c : cases) {
        for (const Temporary temporary : kBothTemporaries) {
            for (const Existing existing : {Existing::Replace, Existing::Keep}) {
                SCOPED_TRACE(std::string(c.name) + ", " + nameOf(temporary));
                ScratchFolder folder;
                const fs::path target = folder.path() / c.fileName;
                if (existing == Existing::Replace && c.reason.empty())
                    writeText(target, "the earlier file");
                const SaveResult result =
                    saveFileWhole(target, "the new file", existing, callsFor(temporary));
                EXPECT_EQ(result.reason, c.reason);
                EXPECT_EQ(result.saved, c.reason.empty());
                EXPECT_EQ(folder.names(),
                          c.reason.empty() ? std::set<std::string>{c.fileName} : std::set<std::string>{});
                if (result.saved) {
                    EXPECT_EQ(readText(target), "the new file");
                }
            }
        }
    }
}

TEST(AtomicFile, AFailedSyncOrRenameKeepsTheEarlierFileAndSaysWhy) {
    struct Case {
        const char* name;
        std::function<int(int)> sync;
        std::function<int(const char*, const char*)> rename;
        int error; // 0: saved
    };
    const Case cases[] = {
        {"a disk error at the sync", [](int) { return fails(EIO); }, {}, EIO},
        {"the disk full at the sync", [](int) { return fails(ENOSPC); }, {}, ENOSPC},
        {"a file system that cannot sync", [](int) { return fails(EINVAL); }, {}, 0},
        {"a rename refused", {}, [](const char*, const char*) { return fails(EIO); }, EIO},
        {"a rename across file systems", {}, [](const char*, const char*) { return fails(EXDEV); }, EXDEV},
    };
    for (const Case& c : cases) {
        for (const Temporary temporary : kBothTemporaries) {
            SCOPED_TRACE(std::string(c.name) + ", " + nameOf(temporary));
            ScratchFolder folder;
            const fs::path target = folder.path() / "KavlonPC.INI";
            writeText(target, "the earlier file");
            FileCalls calls = callsFor(temporary);
            calls.sync = c.sync;
            calls.rename = c.rename;
            const SaveResult result = saveFileWhole(target, "the new file", Existing::Replace, calls);
            EXPECT_EQ(result.saved, c.error == 0);
            EXPECT_EQ(result.reason, c.error == 0 ? "" : reasonOf(c.error));
            EXPECT_EQ(readText(target), c.error == 0 ? "the new file" : "the earlier file");
            EXPECT_EQ(folder.names(), std::set<std::string>{"KavlonPC.INI"}) << "no temporary file left";
        }
    }
}

TEST(AtomicFile, AFileThatTakesTheNameWhileTheNewOneIsWrittenSurvives) {
    for (const Temporary temporary : kBothTemporaries) {
        SCOPED_TRACE(nameOf(temporary));
        ScratchFolder folder;
        const fs::path target = folder.path() / "QV_00000.csv";
        FileCalls calls = callsFor(temporary);
        calls.write = [&](int fd, const char* data, std::size_t size) {
            if (!fs::exists(target))
                writeText(target, "another program's file");
            return ::write(fd, data, size);
        };
        const SaveResult result = saveFileWhole(target, "ours", Existing::Keep, calls);
        EXPECT_FALSE(result.saved);
        EXPECT_TRUE(result.nameTaken);
        EXPECT_EQ(result.reason, reasonOf(EEXIST));
        EXPECT_EQ(readText(target), "another program's file");
        EXPECT_EQ(folder.names(), std::set<std::string>{"QV_00000.csv"});

        const SaveResult again = saveFileWhole(target, "ours", Existing::Keep, callsFor(temporary));
        EXPECT_TRUE(again.nameTaken) << "a name taken before the writing is taken as well";
        EXPECT_EQ(readText(target), "another program's file");
    }
}

// Every temporary name this process may use is held by another of its writers: the
// save fails without touching their files, and its own name was never the one taken.
TEST(AtomicFile, TemporaryNamesAllInUseFailTheSaveAndStayTheirWriters) {
    for (const Temporary temporary : kBothTemporaries) {
        for (const Existing existing : {Existing::Replace, Existing::Keep}) {
            SCOPED_TRACE(std::string(nameOf(temporary)) +
                         (existing == Existing::Keep ? ", keep" : ", replace"));
            ScratchFolder folder;
            if (temporary == Temporary::Unnamed && !unnamedFilesWorkIn(folder.path()))
                continue;
            const fs::path target = folder.path() / "QV_00000.csv";
            if (existing == Existing::Replace)
                writeText(target, "the earlier file");
            std::set<std::string> expected = folder.names();
            for (int attempt = 0; attempt < 100; ++attempt) {
                const std::string name = temporaryName(target.filename().string(), ::getpid(), attempt);
                writeText(folder.path() / name, "another writer's");
                expected.insert(name);
            }
            const SaveResult result = saveFileWhole(target, "ours", existing, callsFor(temporary));
            // Keep gives an unnamed file the target's name straight away: no temporary name.
            const bool needsName = temporary == Temporary::Named || existing == Existing::Replace;
            EXPECT_EQ(result.saved, !needsName);
            EXPECT_EQ(result.reason, needsName ? reasonOf(EEXIST) : "");
            EXPECT_FALSE(result.nameTaken) << "the target's own name was free";
            if (!needsName)
                expected.insert(target.filename().string());
            EXPECT_EQ(folder.names(), expected);
            for (int attempt = 0; attempt < 100; ++attempt)
                EXPECT_EQ(readText(folder.path() / temporaryName("QV_00000.csv", ::getpid(), attempt)),
                          "another writer's");
        }
    }
}

TEST(AtomicFile, AReplacedFileKeepsItsModeAndOwner) {
    struct Case {
        mode_t mode;
        uid_t owner; // root can give a file away; others keep their own
    };
    const uid_t me = ::geteuid();
    const Case cases[] = {{0600, me}, {0640, me}, {0664, me}, {0755, me}, {0600, test::kNobody}};
    for (const Case& c : cases) {
        if (c.owner != me && !test::runningAsRoot())
            continue;
        for (const Temporary temporary : kBothTemporaries) {
            SCOPED_TRACE(std::to_string(c.mode) + " of " + std::to_string(c.owner) + ", " +
                         nameOf(temporary));
            ScratchFolder folder;
            const fs::path target = folder.path() / "KavlonPC.INI";
            writeText(target, "the earlier file");
            ASSERT_EQ(::chmod(target.c_str(), c.mode), 0);
            ASSERT_EQ(::chown(target.c_str(), c.owner, gid_t(-1)), 0);
            ASSERT_TRUE(saveFileWhole(target, "the new file", Existing::Replace, callsFor(temporary)).saved);
            struct stat info {};
            ASSERT_EQ(::stat(target.c_str(), &info), 0);
            EXPECT_EQ(info.st_mode & 07777, c.mode);
            EXPECT_EQ(info.st_uid, c.owner);
            EXPECT_EQ(readText(target), "the new file");
        }
    }
}

TEST(AtomicFile, AFileTheUserMayNotWriteIsLeftAsItIs) {
    struct Case {
        const char* name;
        bool usersOwn; // made by the user, then write-protected; otherwise root's
        mode_t mode;
    };
    const Case cases[] = {
        {"write-protected by its owner", true, 0444},
        {"another user's, readable by its owner only", false, 0600},
        {"another user's, readable by all", false, 0644},
    };
    for (const Case& c : cases) {
        if (!c.usersOwn && !test::runningAsRoot())
            continue; // only the superuser can give a file to somebody else
        for (const Temporary temporary : kBothTemporaries) {
            SCOPED_TRACE(std::string(c.name) + ", " + nameOf(temporary));
            ScratchFolder folder;
            ASSERT_EQ(::chmod(folder.path().c_str(), 0777), 0) << "the folder is the user's to write";
            const fs::path target = folder.path() / "KavlonPC.INI";
            if (!c.usersOwn) {
                writeText(target, "the earlier file");
                ASSERT_EQ(::chmod(target.c_str(), c.mode), 0);
            }
            const std::string answer = test::asAnotherUser([&] {
                if (c.usersOwn) {
                    writeText(target, "the earlier file");
                    ::chmod(target.c_str(), c.mode);
                }
                const SaveResult result =
                    saveFileWhole(target, "the new file", Existing::Replace, callsFor(temporary));
                return result.saved ? std::string("saved") : result.reason;
            });
            EXPECT_EQ(answer, reasonOf(EACCES));
            EXPECT_EQ(readText(target), "the earlier file");
            struct stat info {};
            ASSERT_EQ(::stat(target.c_str(), &info), 0);
            EXPECT_EQ(info.st_mode & 07777, c.mode);
            EXPECT_EQ(info.st_uid == ::geteuid(), !c.usersOwn || !test::runningAsRoot()) << "same owner";
            EXPECT_EQ(folder.names(), std::set<std::string>{"KavlonPC.INI"});
        }
    }
}

TEST(NumberedNames, TheFirstNumberNobodyHasTaken) {
    struct Case {
        std::set<std::string> taken;
        const char* extension;
        std::optional<std::string> expected;
        int count = kNumberedNameCount;
    };
    const Case cases[] = {
        {{}, ".bmp", "QV_00000.bmp"},
        {{"QV_00000.jpg", "QV_00001.jpg", "QV_00003.jpg"}, ".jpg", "QV_00002.jpg"},
        // Another kind's file does not take the number.
        {{"QV_00000.bmp"}, ".jpg", "QV_00000.jpg"},
        {{"QV_00000.csv", "QV_00001.csv"}, ".csv", std::nullopt, 2},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        for (const std::string& name : c.taken)
            writeText(folder.path() / name, "x");
        const auto path = firstFreeNumberedName(folder.path(), c.extension, c.count);
        ASSERT_EQ(path.has_value(), c.expected.has_value()) << c.extension;
        if (path) {
            EXPECT_EQ(*path, folder.path() / *c.expected);
        }
    }
    EXPECT_EQ(numberedName(99999, ".xls"), "QV_99999.xls");
}

// The next free name after a taken one is kavloncli's case (CliShotFiles); here what ends
// the trying: every name taken, or a failure that a new name would not mend.
TEST(NumberedNames, SavingStopsWhenEveryNameIsTakenOrTheFailureIsAnother) {
    ScratchFolder folder;
    writeText(folder.path() / "QV_00000.csv", "x");
    writeText(folder.path() / "QV_00001.csv", "x");
    int calls = 0;
    const auto refuse = [&](const fs::path&) {
        ++calls;
        return SaveResult{false, reasonOf(EACCES)};
    };
    const NumberedSave full = saveUnderFreeName(folder.path(), ".csv", refuse, 2);
    EXPECT_TRUE(full.path.empty());
    EXPECT_EQ(full.result.reason, "every name from QV_00000.csv to QV_00001.csv is taken");
    const NumberedSave refused = saveUnderFreeName(folder.path(), ".csv", refuse);
    EXPECT_EQ(refused.path, folder.path() / "QV_00002.csv");
    EXPECT_EQ(refused.result.reason, reasonOf(EACCES));
    EXPECT_EQ(calls, 1);

    // A name found taken is not tried again: the next try goes on after it.
    std::vector<std::string> tried;
    const auto taken = [&](const fs::path& path) {
        tried.push_back(path.filename().string());
        return SaveResult{false, reasonOf(EEXIST), true};
    };
    EXPECT_TRUE(saveUnderFreeName(folder.path(), ".csv", taken, 4).path.empty());
    EXPECT_EQ(tried, (std::vector<std::string>{"QV_00002.csv", "QV_00003.csv"}));
}

TEST(EscapedText, ControlCharactersAndBrokenBytesAreShownEscaped) {
    struct Case {
        const char* name;
        std::string text;
        std::string shown;
    };
    const Case cases[] = {
        {"plain text", "1 V / Div", "1 V / Div"},
        {"a terminal's clear screen", "\x1b[2J", "\\x1b[2J"},
        {"a NUL", std::string("a\0b", 3), "a\\x00b"},
        {"CR LF", "a\r\nb", "a\\x0d\\x0ab"},
        {"a tab and DEL", "\t\x7f", "\\x09\\x7f"},
        {"micro sign and euro in UTF-8", "\u00b5V \u20ac \U0001F600", "\u00b5V \u20ac \U0001F600"},
        {"a backslash stays", "C:\\shots", "C:\\shots"},
        {"C1 control in UTF-8",
         "\xc2\x9b"
         "2J",
         "\\xc2\\x9b2J"},
        {"an 8-bit CSI",
         "\x9b"
         "2J",
         "\\x9b2J"},
        {"a Latin-1 micro sign", "\xb5V", "\\xb5V"},
        {"an overlong slash", "\xc0\xaf", "\\xc0\\xaf"},
        {"a surrogate", "\xed\xa0\x80", "\\xed\\xa0\\x80"},
        {"a character cut short", "\xe2\x82", "\\xe2\\x82"},
        {"past U+10FFFF", "\xf4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(escapeControlCharacters(c.text), c.shown) << c.name;
}

TEST(Folders, AFolderThatCannotBeMadeSaysWhy) {
    ScratchFolder folder;
    writeText(folder.path() / "plain", "a file");
    struct Case {
        const char* name;
        fs::path folder;
        std::string reason;
    };
    const Case cases[] = {
        {"made with its parents", folder.path() / "a" / "b" / "exports", ""},
        {"there already", folder.path() / "a", ""},
        {"a file holds its name", folder.path() / "plain", reasonOf(ENOTDIR)},
        {"a file holds its name, with a separator", folder.path() / "plain" / "", reasonOf(ENOTDIR)},
        {"a file holds a parent's name", folder.path() / "plain" / "exports", reasonOf(ENOTDIR)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(makeFolders(c.folder), c.reason) << c.name;
        EXPECT_EQ(fs::is_directory(c.folder), c.reason.empty()) << c.name;
    }
    // A home the user may not write: the reason is the permission, not a missing folder.
    const fs::path home = folder.path() / "home";
    fs::create_directory(home);
    ASSERT_EQ(::chmod(home.c_str(), 0555), 0);
    ASSERT_EQ(::chmod(folder.path().c_str(), 0755), 0);
    EXPECT_EQ(test::asAnotherUser([&] { return makeFolders(home / ".local" / "share" / "KavlonPC"); }),
              reasonOf(EACCES));
}

} // namespace
} // namespace kavlon
