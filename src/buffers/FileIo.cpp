#include "buffers/FileIo.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#include <fmt/format.h>

#include "base/NativeFile.h"
#include "base/Utf8Path.h"

namespace zavuv::buffers {

namespace fs = std::filesystem;

FileContent readWholeFile(const std::string& path, std::size_t maxBytes) {
    FileContent content;
    // The size is only a first guess: the file may be no regular file, or grow
    // while it is read, so the limit is checked again on what is actually read.
    const fs::path name = base::utf8Path(path);
    std::error_code sizeError;
    const auto expected = fs::file_size(name, sizeError);
    if (!sizeError && expected > maxBytes) {
        content.status = ReadStatus::TooLarge;
        return content;
    }
    std::ifstream in(name, std::ios::binary);
    if (!in)
        return content;
    if (!sizeError)
        content.bytes.reserve(static_cast<std::size_t>(expected));
    std::array<char, 65536> chunk;
    while (in) {
        in.read(chunk.data(), chunk.size());
        const auto got = static_cast<std::size_t>(in.gcount());
        if (content.bytes.size() + got > maxBytes) {
            content.bytes = {};
            content.status = ReadStatus::TooLarge;
            return content;
        }
        content.bytes.insert(content.bytes.end(), chunk.data(), chunk.data() + got);
    }
    if (in.bad()) {
        content.bytes = {};
        return content;
    }
    content.status = ReadStatus::Ok;
    return content;
}

namespace {

// Where the bytes must go: through symbolic links (a chain of them, relative or
// absolute) to the file they name, so that the rename replaces that file and
// not a link.
fs::path finalTarget(const fs::path& path) {
    std::error_code error;
    if (!fs::is_symlink(path, error))
        return path;
    auto resolved = fs::weakly_canonical(path, error);
    return error ? path : resolved;
}

// A new file of a fresh name in the folder; the name is short and fixed in
// length so that it fits wherever the target's own name fits.
base::NativeFile createTemporary(const fs::path& folder, fs::path& temporary) {
    std::random_device seed;
    std::mt19937_64 names(seed());
    base::NativeFile file;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder / fmt::format(".zavuv-{:016x}.tmp", names());
        file = base::NativeFile(temporary, base::NativeFile::Access::CreateNew);
        if (file.isOpen() || file.openError() != std::errc::file_exists)
            break;
    }
    return file;
}

bool failWith(std::string* failure, std::error_code error) {
    if (failure)
        *failure = error.message();
    return false;
}

// A device, a pipe or a socket is no file to replace: the bytes are streamed
// into it, as any tool writes to /dev/null, /dev/stdout or a FIFO.
bool writeInPlace(const fs::path& target, std::span<const std::uint8_t> bytes,
                  std::string* failure) {
    base::NativeFile file(target, base::NativeFile::Access::Write);
    if (!file.isOpen())
        return failWith(failure, file.openError());
    std::error_code error = file.writeAll(bytes);
    const std::error_code closeError = file.close();
    if (!error)
        error = closeError;
    return !error || failWith(failure, error);
}

bool replaceRegularFile(const fs::path& target, bool exists, std::span<const std::uint8_t> bytes,
                        std::string* failure) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    fs::path temporary;
    base::NativeFile file = createTemporary(folder, temporary);
    if (!file.isOpen())
        return failWith(failure, file.openError());
    // The replacement keeps the old file's owner and permissions, so that a
    // save by root does not take a user's file over.
    if (exists)
        file.takeOwnershipOf(target);
    std::error_code error = file.writeAll(bytes);
    if (!error)
        error = file.flushToDisk();
    const std::error_code closeError = file.close();
    if (!error)
        error = closeError;
    if (!error)
        error = base::replaceFile(temporary, target);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return failWith(failure, error);
    }
    error = base::flushFolder(folder);
    return !error || failWith(failure, error);
}

}  // namespace

bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                         std::string* failure) {
    const fs::path name = base::utf8Path(path);
    std::error_code error;
    // Followed through links: /dev/stdout is a link to a pipe, a terminal or a file.
    const fs::file_status status = fs::status(name, error);
    switch (status.type()) {
    case fs::file_type::regular:
        return replaceRegularFile(finalTarget(name), true, bytes, failure);
    case fs::file_type::directory:
        return failWith(failure, std::make_error_code(std::errc::is_a_directory));
    case fs::file_type::none:
    case fs::file_type::not_found:
        return replaceRegularFile(finalTarget(name), false, bytes, failure);
    default:
        return writeInPlace(name, bytes, failure);
    }
}

}  // namespace zavuv::buffers
