#include "sim/StateDirectory.h"

#include <charconv>
#include <sstream>
#include <system_error>

#include <fmt/format.h>

#include "base/Utf8Path.h"
#include "buffers/FileIo.h"
#include "buffers/FileLimits.h"
#include "buffers/IniFile.h"
#include "sim/ChipNames.h"

namespace zavuv::sim {

namespace {

constexpr const char* kSection = "Chip";
constexpr const char* kIniName = "chip.ini";
constexpr const char* kFlashName = "flash.bin";
constexpr const char* kEepromName = "eeprom.bin";

std::optional<std::vector<std::uint8_t>> parseHexBytes(const std::string& text) {
    std::istringstream words(text);
    std::vector<std::uint8_t> bytes;
    std::string word;
    while (words >> word) {
        if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
            word.erase(0, 2);
        }
        unsigned value = 0;
        const char* end = word.data() + word.size();
        auto [ptr, error] = std::from_chars(word.data(), end, value, 16);
        if (word.empty() || word.size() > 2 || error != std::errc() || ptr != end) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<std::uint8_t>(value));
    }
    return bytes;
}

std::string hexBytes(std::span<const std::uint8_t> bytes) {
    std::string text;
    for (std::uint8_t byte : bytes) {
        text += fmt::format("{}{:02X}", text.empty() ? "" : " ", byte);
    }
    return text;
}

// Reads the key's hex bytes into `out` when it is present; an error text when it
// is not `count` bytes (any count when count is negative).
std::string readBytes(const buffers::IniFile& ini, const char* key, int count,
                      std::vector<std::uint8_t>& out) {
    if (!ini.hasKey(kSection, key)) {
        return {};
    }
    const std::string text = ini.readString(kSection, key, "");
    const auto bytes = parseHexBytes(text);
    if (!bytes || (count >= 0 && bytes->size() != static_cast<std::size_t>(count))) {
        return fmt::format("{}: {}={} should be {} hex byte{}", kIniName, key, text, count,
                           count == 1 ? "" : "s");
    }
    out = *bytes;
    return {};
}

std::string readByte(const buffers::IniFile& ini, const char* key, std::uint8_t& out) {
    std::vector<std::uint8_t> bytes{out};
    std::string error = readBytes(ini, key, 1, bytes);
    out = bytes[0];
    return error;
}

// Loads a memory file that must fill the memory exactly; a missing file leaves
// the memory erased.
std::string readMemory(const std::filesystem::path& path, const char* what, const char* chip,
                       std::vector<std::uint8_t>& memory) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return {};
    }
    const buffers::FileContent content =
        buffers::readWholeFile(base::utf8Name(path), buffers::kMaxInputFileSize);
    if (content.status != buffers::ReadStatus::Ok) {
        return fmt::format("cannot read {}", base::utf8Name(path));
    }
    if (content.bytes.size() != memory.size()) {
        return fmt::format("{} holds {} bytes, but the {} {} has {}", base::utf8Name(path),
                           content.bytes.size(), chip, what, memory.size());
    }
    memory = content.bytes;
    return {};
}

}  // namespace

LoadedState loadChipState(const std::filesystem::path& directory) {
    const std::filesystem::path iniPath = directory / kIniName;
    std::error_code error;
    if (!std::filesystem::exists(iniPath, error)) {
        return {};
    }
    const auto ini = buffers::IniFile::load(base::utf8Name(iniPath));
    if (!ini) {
        return {std::nullopt, fmt::format("cannot read {}", base::utf8Name(iniPath))};
    }
    const std::string name = ini->readString(kSection, "Name", "");
    const auto choice = findChip(name);
    if (!choice) {
        return {std::nullopt, fmt::format("{}: Name={} is not a chip of the device table",
                                          base::utf8Name(iniPath), name)};
    }
    ChipImage image = ChipImage::fresh(choice->deviceIndex);
    image.signature = choice->signature;
    std::vector<std::uint8_t> signature(image.signature.begin(), image.signature.end());
    const char* chip = image.device().name;
    for (std::string problem :
         {readBytes(*ini, "Signature", 3, signature), readByte(*ini, "Lock", image.lock),
          readByte(*ini, "LowFuse", image.lowFuse), readByte(*ini, "HighFuse", image.highFuse),
          readByte(*ini, "ExtFuse", image.extFuse),
          readBytes(*ini, "Calibration", image.device().calibrationBytes(), image.calibration),
          readMemory(directory / kFlashName, "Flash", chip, image.flash),
          readMemory(directory / kEepromName, "EEPROM", chip, image.eeprom)}) {
        if (!problem.empty()) {
            return {std::nullopt, problem};
        }
    }
    std::copy(signature.begin(), signature.end(), image.signature.begin());
    return {std::move(image), {}};
}

std::string saveChipState(const std::filesystem::path& directory, const ChipImage& image) {
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error) {
        return fmt::format("cannot create the state directory {}: {}", base::utf8Name(directory),
                           error.message());
    }
    buffers::IniFile ini;
    ini.writeString(kSection, "Name", image.device().name);
    ini.writeString(kSection, "Signature", hexBytes(image.signature));
    ini.writeString(kSection, "Lock", hexBytes(std::span(&image.lock, 1)));
    ini.writeString(kSection, "LowFuse", hexBytes(std::span(&image.lowFuse, 1)));
    ini.writeString(kSection, "HighFuse", hexBytes(std::span(&image.highFuse, 1)));
    ini.writeString(kSection, "ExtFuse", hexBytes(std::span(&image.extFuse, 1)));
    ini.writeString(kSection, "Calibration", hexBytes(image.calibration));
    // The memories first, so that a failure leaves the old chip.ini with them.
    for (const auto& [name, memory] :
         {std::pair{kFlashName, &image.flash}, std::pair{kEepromName, &image.eeprom}}) {
        if (!memory->empty() &&
            !buffers::writeFileAtomically(base::utf8Name(directory / name), *memory)) {
            return fmt::format("cannot write {}", base::utf8Name(directory / name));
        }
    }
    if (!ini.save(base::utf8Name(directory / kIniName))) {
        return fmt::format("cannot write {}", base::utf8Name(directory / kIniName));
    }
    return {};
}

}  // namespace zavuv::sim
