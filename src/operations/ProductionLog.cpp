#include "operations/ProductionLog.h"

#include <chrono>
#include <system_error>

#include <fmt/chrono.h>
#include <fmt/format.h>

#include "base/NativeFile.h"
#include "base/Utf8Path.h"

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
    const base::NativeFile file(base::utf8Path(path_), base::NativeFile::Access::Append);
    return file.isOpen() ? std::string() : file.openError().message();
}

std::string ProductionLog::append(const UnitRecord& r) const {
    // One handle appends under its own lock: a line is one write, and two
    // processes logging to one file take turns (the header only once).
    base::NativeFile file(base::utf8Path(path_), base::NativeFile::Access::Append);
    if (!file.isOpen())
        return file.openError().message();
    if (const std::error_code error = file.lockExclusive())
        return error.message();
    std::string text = file.size() == 0 ? csvLine(kHeader) : "";
    text += csvLine({r.time, r.port, r.boardSerial, r.chip, r.signature, r.serialNumber,
                     r.flashChecksum, r.eepromChecksum, r.ok ? "OK" : "Error", r.error,
                     fmt::format("{:.3f}", r.durationSeconds)});
    std::error_code error =
        file.writeAll(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    if (!error)
        error = file.flushToDisk();
    return error ? error.message() : std::string();
}

}  // namespace zavuv::operations
