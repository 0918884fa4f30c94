#pragma once
// Whole-file reading with an input limit, and atomic file replacement.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zavuv::buffers {

enum class ReadStatus { Ok, CannotRead, TooLarge };

struct FileContent {
    ReadStatus status = ReadStatus::CannotRead;
    std::vector<std::uint8_t> bytes;  // the whole file when status is Ok
};

// Reads the whole file. A file longer than maxBytes is refused (TooLarge), never
// cut. Throws std::bad_alloc when memory runs out.
FileContent readWholeFile(const std::string& path, std::size_t maxBytes);

// Replaces the file with these bytes, or leaves the old file untouched: the bytes
// go to a temporary file in the same folder, reach the disk, and only then take
// the old file's name. A symbolic link keeps pointing at the file it named, and a
// replaced file keeps its mode, owner and group; the folder reaches the disk
// after the rename, so that the new file survives a power cut. A target that is
// no regular file (a device such as /dev/null, a pipe such as /dev/stdout, a
// FIFO, a socket) is written in place, as other tools write to it; a folder is
// refused. Returns false when any step fails, with the system's reason in
// *failure when one is given.
bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         std::string* failure = nullptr);

}  // namespace zavuv::buffers
