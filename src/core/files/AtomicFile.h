#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace kavlon {

// Writes up to size bytes of data to the open file fd as the platform's write()
// does: the count written, or -1 with errno set. Tests put a full disk in its place.
using BlockWrite = std::function<std::ptrdiff_t(int fd, const char* data, std::size_t size)>;

struct SaveResult {
    bool saved = false;
    std::string reason; // why not, in the platform's words
};

// What to do when the target name is already taken at the end of the writing.
enum class Existing {
    Replace, // the new file takes the old one's place
    Keep,    // the save fails and the old file stays as it was
};

// A file that appears under its name whole or not at all. The bytes go to a new
// file beside the target, which takes the target's place only once every byte is
// written and on the disk. On failure, or when nothing is committed, the temporary
// file is gone and whatever had the target's name is as it was. Whatever is there
// and not a regular file is left alone (the save fails on it); a link to a file is
// followed and the link kept, a link to nowhere replaced. A replaced file's
// permissions carry over to its successor.
class AtomicFile {
public:
    explicit AtomicFile(std::filesystem::path target, Existing existing = Existing::Replace,
                        BlockWrite write = {});
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file; false with reason() when it cannot be.
    bool open();
    // Every byte, or false with reason(); after a failure nothing more is written.
    bool write(std::string_view bytes);
    // Syncs, closes and puts the file in the target's place.
    SaveResult commit();
    // Drops what was written; the target is untouched.
    void discard();

    const std::string& reason() const { return m_reason; }
    // Calls of the block write so far, short writes included.
    std::size_t writeCalls() const { return m_writeCalls; }

private:
    bool fail(int error);
    int resolveTarget();
    int placeFile();

    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    Existing m_existing;
    BlockWrite m_write;
    int m_fd = -1;
    bool m_failed = false;
    std::string m_reason;
    std::size_t m_writeCalls = 0;
};

// The whole of contents under path through an AtomicFile.
SaveResult saveFileWhole(const std::filesystem::path& path, std::string_view contents,
                         const BlockWrite& write = {});

} // namespace kavlon
