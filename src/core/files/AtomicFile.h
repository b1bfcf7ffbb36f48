#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace kavlon {

// Writes up to size bytes of data to the open file fd as the platform's write()
// does: the count written, or -1 with errno set.
using BlockWrite = std::function<std::ptrdiff_t(int fd, const char* data, std::size_t size)>;

// The platform calls the writer makes, each answering as the platform's own does (a
// count or 0, or -1 with errno set). An empty one is the platform's; tests put a full
// disk, a failing sync or rename, or a platform without unnamed files in their place.
struct FileCalls {
    BlockWrite write = {};
    std::function<int(int fd)> sync = {};
    // from takes the place of to.
    std::function<int(const char* from, const char* to)> rename = {};
    // A file without a name in folder, open for writing (Linux: O_TMPFILE).
    std::function<int(const char* folder)> createUnnamed = {};
};

struct SaveResult {
    bool saved = false;
    std::string reason; // why not, in the platform's words
    // Existing::Keep found the name taken, before or at the end of the writing.
    bool nameTaken = false;
};

// What to do when the target name is already taken at the end of the writing.
enum class Existing {
    Replace, // the new file takes the old one's place
    Keep,    // the save fails and the old file stays as it was
};

// A file that appears under its name whole or not at all. The bytes go to a file
// without a name in the target's folder (where the platform has them; a named one
// beside the target elsewhere), which takes the target's place only once every byte
// is written and on the disk. A killed program leaves no unnamed file behind; named
// ones it left are cleared away by the next save of the same target. On failure, or
// when nothing is committed, the new file is gone and whatever had the target's name
// is as it was. Whatever is there and not a regular file is left alone (the save
// fails on it); a link to a file is followed and the link kept, a link to nowhere
// replaced. A file this user may not write, or could not give back to its owner and
// group, is not replaced; a replaced file's permissions carry over to its successor.
class AtomicFile {
public:
    explicit AtomicFile(std::filesystem::path target, Existing existing = Existing::Replace,
                        FileCalls calls = {});
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the new file; false with reason() when it cannot be.
    bool open();
    // Every byte, or false with reason(); after a failure nothing more is written.
    bool write(std::string_view bytes);
    // Syncs, closes and puts the file in the target's place.
    SaveResult commit();
    // Drops what was written; the target is untouched.
    void discard();

    const std::string& reason() const { return m_reason; }
    bool nameTaken() const { return m_nameTaken; }
    // Calls of the block write so far, short writes included.
    std::size_t writeCalls() const { return m_writeCalls; }

private:
    struct Target;
    bool fail(int error);
    int checkTarget(Target& target);
    int claimTemporary(const std::function<int(const std::filesystem::path&)>& claim);
    int createFile();
    int keepOwnerAndMode(const Target& target);
    int placeFile();
    int placeUnnamed();
    int linkUnnamed(const std::filesystem::path& name);
    int closeFile();

    std::filesystem::path m_target;
    std::filesystem::path m_temporary; // the named file while it is ours
    Existing m_existing;
    FileCalls m_calls;
    std::size_t m_longestName = 0; // of a file name in the target's folder
    int m_fd = -1;
    bool m_unnamed = false;
    bool m_failed = false;
    bool m_nameTaken = false;
    std::string m_reason;
    std::size_t m_writeCalls = 0;
};

// The whole of contents under path through an AtomicFile.
SaveResult saveFileWhole(const std::filesystem::path& path, std::string_view contents,
                         Existing existing = Existing::Replace, const FileCalls& calls = {});

} // namespace kavlon
