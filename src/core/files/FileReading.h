#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace kavlon {

// How a read of a whole file ended.
enum class FileReadStatus {
    Read,       // text holds every byte
    Missing,    // nothing under that name, or a link to nowhere
    NotRegular, // a folder, a pipe, a device: never opened
    TooLarge,   // more than the caller's limit
    Unreadable, // there but not readable; reason says why
};

struct FileReadResult {
    FileReadStatus status = FileReadStatus::Missing;
    std::string text;
    std::string reason; // the platform's words for Missing and Unreadable
};

// The whole of a regular file of at most maxSize bytes. What is not a regular file is
// looked at but never opened: opening a pipe waits for a writer, a device may do anything.
FileReadResult readRegularFile(const std::filesystem::path& path, std::size_t maxSize);

} // namespace kavlon
