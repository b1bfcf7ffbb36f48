#include "core/settings/SettingsStorage.h"
#include "support/AnotherUser.h"
#include "support/ScratchFolder.h"
#include "support/TinyFileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <future>
#include <iterator>
#include <ostream>
#include <set>
#include <stdexcept>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kavlon {

static void PrintTo(const StoredSettings& s, std::ostream* os) {
    *os << "{" << s.Left << ", " << s.Top << ", " << s.Width << ", " << s.Height << ", {" << s.Options.Grid
        << ", " << s.Options.Invert << ", " << s.Options.Color << ", " << s.Options.PrintAs << "}}";
}

namespace {

namespace fs = std::filesystem;

std::string reasonOf(int error) {
    return std::generic_category().message(error);
}

// A scratch folder with the settings file's place in it.
class Scratch : public test::ScratchFolder {
public:
    fs::path file() const { return path() / kSettingsFileName; }
};

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string readBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

const std::string kFull =
    "[Main]\nLeft=1\nTop=2\nWidth=900\nHeight=700\nGrid=0\nInvert=0\nColor=1\nPrintAs=2\n";
const StoredSettings kFullSettings{1, 2, 900, 700, {false, false, true, 2}};
const StoredSettings kKeyDefaults{};

// A comment line of exactly length bytes, end included.
std::string padding(std::size_t length) {
    return ";" + std::string(length - 2, 'x') + "\n";
}

std::string replaced(std::string text, const std::string& lineEnd) {
    std::string out;
    for (char c : text)
        out += c == '\n' ? lineEnd : std::string(1, c);
    return out;
}

std::string utf16(const std::string& ascii, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : ascii)
        out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return out;
}

using Make = std::function<void(const fs::path&)>;

Make file(const std::string& bytes) {
    return [bytes](const fs::path& path) { writeBytes(path, bytes); };
}
Make pipe() {
    return [](const fs::path& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); };
}
Make linkTo(const std::string& target, const Make& makeTarget = {}) {
    return [=](const fs::path& path) {
        if (makeTarget)
            makeTarget(path.parent_path() / target);
        fs::create_symlink(target, path);
    };
}

std::optional<StoredSettings> loadSettings(const fs::path& path) {
    return readSettingsFile(path).settings;
}

// Reads path on a thread of its own. Opening a pipe waits for a writer; when
// the read does not come back, the test becomes that writer, so a reader that
// blocks fails here instead of hanging the suite.
SettingsRead loadWithoutHanging(const fs::path& path) {
    auto loading = std::async(std::launch::async, [&] { return readSettingsFile(path); });
    if (loading.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
        ADD_FAILURE() << "reading the settings blocked";
        const int writer = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
    }
    return loading.get();
}

TEST(SettingsLoad, DamagedFilesAreReadAsThePlatformWouldOrNotAtAll) {
    using Status = SettingsRead::Status;
    struct Case {
        const char* name;
        Make make;
        std::optional<StoredSettings> expected; // nothing: the first run's defaults
        Status status = Status::Read;
    };
    const std::size_t oldLimit = 64 * 1024;
    const std::string head = "[Main]\n";
    const Case cases[] = {
        {"no file", [](const fs::path&) {}, std::nullopt, Status::Missing},
        {"an empty file", file(""), kKeyDefaults},
        {"[Main] beyond the first 64 KiB", file(padding(oldLimit + 100) + kFull), kFullSettings},
        {"a key across 64 KiB", file(head + padding(oldLimit - 8 - head.size()) + "Width=1234\n"),
         StoredSettings{0, 0, 1234, 0, {true, true, false, 0}}},
        {"the largest file read",
         file(head + "Width=1234\n" + padding(kMaxSettingsFileSize - head.size() - 11)),
         StoredSettings{0, 0, 1234, 0, {true, true, false, 0}}},
        {"one byte larger", file(head + "Width=1234\n" + padding(kMaxSettingsFileSize - head.size() - 10)),
         std::nullopt, Status::Unreadable},
        {"UTF-8 byte-order mark", file("\xEF\xBB\xBF" + kFull), kFullSettings},
        {"UTF-16 LE with CR LF", file(utf16(replaced(kFull, "\r\n"), false)), kFullSettings},
        {"UTF-16 BE", file(utf16(kFull, true)), kFullSettings},
        {"CR only", file(replaced(kFull, "\r")), kFullSettings},
        {"a folder", [](const fs::path& path) { fs::create_directory(path); }, std::nullopt,
         Status::NotRegular},
        {"a named pipe", pipe(), std::nullopt, Status::NotRegular},
        {"a link to nowhere", linkTo("gone.ini"), std::nullopt, Status::Missing},
        {"a link to a named pipe", linkTo("pipe", pipe()), std::nullopt, Status::NotRegular},
        {"a link to a settings file", linkTo("real.ini", file(kFull)), kFullSettings},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Scratch folder;
        c.make(folder.file());
        const SettingsRead read = loadWithoutHanging(folder.file());
        EXPECT_EQ(read.settings, c.expected);
        EXPECT_EQ(read.status, c.status);
        EXPECT_EQ(read.reason.empty(), c.status != Status::Unreadable) << read.reason;
    }
}

// What the user cannot read is said, with the platform's reason, and gives no settings:
// the window then uses the defaults and leaves the file alone.
TEST(SettingsLoad, AFileTheUserCannotReadGivesTheReason) {
    for (const mode_t mode : {0000, 0200}) {
        SCOPED_TRACE(mode);
        Scratch folder;
        ASSERT_EQ(::chmod(folder.path().c_str(), 0755), 0);
        writeBytes(folder.file(), kFull);
        ASSERT_EQ(::chmod(folder.file().c_str(), mode), 0);
        const std::string answer = test::asAnotherUser([&] {
            const SettingsRead read = readSettingsFile(folder.file());
            return std::to_string(int(read.status)) + " " + std::to_string(read.settings.has_value()) + " " +
                   read.reason;
        });
        EXPECT_EQ(answer, std::to_string(int(SettingsRead::Status::Unreadable)) + " 0 " + reasonOf(EACCES));
    }
    Scratch folder;
    writeBytes(folder.file(), std::string(kMaxSettingsFileSize + 1, ';'));
    EXPECT_EQ(readSettingsFile(folder.file()).reason,
              "larger than 1024 KiB, which no settings file of this program is");
}

std::ptrdiff_t realWrite(int fd, const char* data, std::size_t size) {
    return ::write(fd, data, size);
}

std::ptrdiff_t fails(int error) {
    errno = error;
    return -1;
}

TEST(SettingsSave, AFailingDiskLeavesThePreviousFileAndNothingElse) {
    struct Case {
        const char* name;
        // What the disk does at the n-th write of one save.
        std::function<std::ptrdiff_t(int n, int fd, const char* data, std::size_t size)> write;
        int error; // 0: saved
    };
    const Case cases[] = {
        {"all at once", [](int, int fd, const char* d, std::size_t s) { return realWrite(fd, d, s); }, 0},
        {"a byte at a time", [](int, int fd, const char* d, std::size_t) { return realWrite(fd, d, 1); }, 0},
        {"interrupted first",
         [](int n, int fd, const char* d, std::size_t s) {
             return n == 0 ? fails(EINTR) : realWrite(fd, d, s);
         },
         0},
        {"full at once", [](int, int, const char*, std::size_t) { return fails(ENOSPC); }, ENOSPC},
        {"full part way",
         [](int n, int fd, const char* d, std::size_t s) {
             return n == 0 ? realWrite(fd, d, std::min<std::size_t>(s, 10)) : fails(ENOSPC);
         },
         ENOSPC},
        {"no progress", [](int, int, const char*, std::size_t) { return std::ptrdiff_t(0); }, EIO},
        {"broken disk", [](int, int, const char*, std::size_t) { return fails(EIO); }, EIO},
    };
    const StoredSettings next{5, 6, 1000, 800, {true, false, true, 1}};
    for (const auto& c : cases) {
        for (const bool previous : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (previous ? ", replacing a file" : ", no file before"));
            Scratch folder;
            if (previous)
                writeBytes(folder.file(), kFull);
            int calls = 0;
            const SaveResult result = saveSettings(
                folder.file(), next, FileCalls{.write = [&](int fd, const char* d, std::size_t s) {
                    return c.write(calls++, fd, d, s);
                }});
            EXPECT_EQ(result.saved, c.error == 0);
            EXPECT_EQ(result.reason, c.error == 0 ? "" : reasonOf(c.error));
            if (c.error == 0) {
                EXPECT_EQ(loadSettings(folder.file()), next);
            } else if (previous) {
                EXPECT_EQ(readBytes(folder.file()), kFull) << "the previous file is as it was";
            }
            const std::set<std::string> expected =
                previous || c.error == 0 ? std::set<std::string>{kSettingsFileName} : std::set<std::string>{};
            EXPECT_EQ(folder.names(), expected) << "no temporary file left behind";
        }
    }
}

TEST(SettingsSave, WhatIsNoFileIsLeftAlone) {
    struct Case {
        const char* name;
        Make make;
        bool saved;
        fs::file_type nameAfter, fileAfter; // the name itself, and what it leads to
    };
    using T = fs::file_type;
    const Case cases[] = {
        {"a folder", [](const fs::path& path) { fs::create_directory(path); }, false, T::directory,
         T::directory},
        {"a named pipe", pipe(), false, T::fifo, T::fifo},
        {"a link to a named pipe", linkTo("pipe", pipe()), false, T::symlink, T::fifo},
        {"a link to nowhere", linkTo("gone.ini"), true, T::regular, T::regular},
        {"a link to a settings file", linkTo("real.ini", file(kFull)), true, T::symlink, T::regular},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Scratch folder;
        c.make(folder.file());
        const std::set<std::string> before = folder.names();
        const SaveResult result = saveSettings(folder.file(), kKeyDefaults);
        EXPECT_EQ(result.saved, c.saved);
        EXPECT_EQ(result.reason.empty(), c.saved);
        EXPECT_EQ(fs::symlink_status(folder.file()).type(), c.nameAfter);
        EXPECT_EQ(fs::status(folder.file()).type(), c.fileAfter);
        EXPECT_EQ(folder.names(), before);
        if (c.saved) {
            EXPECT_EQ(loadSettings(folder.file()), kKeyDefaults);
        }
    }
}

TEST(SettingsSave, AReallyFullDiskLeavesThePreviousFile) {
    const test::TinyFileSystem disk(64 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << "no full disk to try: " << disk.whyNot();
    const fs::path path = fs::path(disk.path()) / kSettingsFileName;
    ASSERT_TRUE(saveSettings(path, kFullSettings).saved);
    ASSERT_TRUE(disk.fill());

    const SaveResult result = saveSettings(path, kKeyDefaults);
    EXPECT_FALSE(result.saved);
    EXPECT_EQ(result.reason, reasonOf(ENOSPC));
    EXPECT_EQ(loadSettings(path), kFullSettings);
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(disk.path()))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{kSettingsFileName, "filler"}));

    fs::remove(fs::path(disk.path()) / "filler");
    EXPECT_TRUE(saveSettings(path, kKeyDefaults).saved) << "with room again the next save goes through";
    EXPECT_EQ(loadSettings(path), kKeyDefaults);
}

} // namespace
} // namespace kavlon
