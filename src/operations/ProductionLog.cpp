#include "operations/ProductionLog.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include <fmt/chrono.h>
#include <fmt/format.h>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "buffers/FileLock.h"

namespace zavuv::operations {

namespace {

const std::vector<std::string> kHeader = {
    "time",      "port",          "board_serial",   "chip",
    "signature", "serial_number", "flash_checksum", "eeprom_checksum",
    "result",    "error",         "duration_s"};

std::string quoted(const std::string& field) {
    if (field.find_first_of(",\"\r\n") == std::string::npos)
        return field;
    std::string text = "\"";
    for (const char c : field) {
        if (c == '"')
            text += '"';
        text += c;
    }
    return text + '"';
}

std::string reasonOf(int error) {
    return std::generic_category().message(error);
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File openForAppending(const std::string& path) {
    File file(std::fopen(path.c_str(), "ab"));
    // Unbuffered: a line is one write to the system, never split by a buffer.
    if (file)
        std::setvbuf(file.get(), nullptr, _IONBF, 0);
    return file;
}

bool synced(std::FILE* file) {
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return ::fsync(fileno(file)) == 0;
#endif
}

}  // namespace

std::string utcTimestamp() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    return fmt::format("{:%Y-%m-%dT%H:%M:%SZ}", fmt::gmtime(now));
}

std::string csvLine(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        line += quoted(fields[i]);
    }
    return line + "\r\n";
}

std::string ProductionLog::check() const {
    errno = 0;
    if (!openForAppending(path_))
        return reasonOf(errno);
    return {};
}

std::string ProductionLog::append(const UnitRecord& r) const {
    // The log itself is the lock file: it is appended to, never renamed.
    const buffers::ExclusiveFileLock lock(path_);
    if (!lock.held())
        return lock.failure();
    errno = 0;
    const File file = openForAppending(path_);
    if (!file)
        return reasonOf(errno);
    std::error_code sizeError;
    std::string text = std::filesystem::file_size(path_, sizeError) == 0 ? csvLine(kHeader) : "";
    text += csvLine({r.time, r.port, r.boardSerial, r.chip, r.signature, r.serialNumber,
                     r.flashChecksum, r.eepromChecksum, r.ok ? "OK" : "Error", r.error,
                     fmt::format("{:.3f}", r.durationSeconds)});
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), file.get()) != text.size())
        return reasonOf(errno != 0 ? errno : ENOSPC);
    if (!synced(file.get()))
        return reasonOf(errno);
    return {};
}

}  // namespace zavuv::operations
