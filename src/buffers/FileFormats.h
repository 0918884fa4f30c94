#pragma once
// The one list of memory file formats: each with its name, its extensions, how
// its content is recognised, its reader and (where it has one) its writer.
// Load, Load At, Reload, drops, the file dialogs, the command line's convert
// and its memory commands all choose formats here; no other code looks at a
// file's extension.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "buffers/ChecksumPolicy.h"
#include "buffers/ImageSegments.h"

namespace zavuv::buffers {

enum class FileFormatId { IntelHex, SRecord, Elf, Binary };

// What a file gives: its bytes in the file's own address space (avr-gcc's
// EEPROM at 0x810000), and for ELF the fuse and lock bytes and the signature
// it was built for.
struct DecodedFile {
    ImageSegments image{};
    std::vector<std::uint8_t> fuses{};  // low, high, extended: as many as the file gives
    std::optional<std::uint8_t> lock{};
    // In chip order (the first byte 1E for Atmel).
    std::optional<std::array<std::uint8_t, 3>> signature{};
};

// Why a file does not decode, in the person's language. When the checksums are
// all that is wrong, the question to ask; a Yes reads the file again accepting
// them.
struct FormatFailure {
    std::string message{};
    std::optional<std::string> checksumQuestion{};
};

using DecodeResult = std::variant<DecodedFile, FormatFailure>;

struct FileFormat {
    FileFormatId id;
    const char* filterName;  // in the file dialogs: "HEX Files"
    // Lower case, without the dot.
    std::span<const std::string_view> extensions;
    // Whether content starts like this format; nullptr: never recognised by content.
    bool (*looksLike)(std::span<const std::uint8_t> content);
    DecodeResult (*read)(std::span<const std::uint8_t> content, ChecksumPolicy checksums);
    // The file's bytes for an image; nullptr for a format that is never written.
    std::string (*write)(const ImageSegments& image, const std::string& path);
};

// Every format, in the order the file dialogs list them.
std::span<const FileFormat> fileFormats();
const FileFormat& fileFormat(FileFormatId id);

// The format the file's extension names (any letter case), or nullptr.
const FileFormat* formatNamedBy(std::string_view path);

// The format a file is read as: the one its extension names; else the one its
// content starts like; else binary.
const FileFormat& formatForReading(std::string_view path, std::span<const std::uint8_t> content);

// One entry of a file dialog's filter list.
struct FileFilter {
    std::string name;                     // "HEX Files"
    std::vector<std::string> extensions;  // lower case, without the dot
};

// The filters of a buffer's open or save dialog ("All Files" not included),
// the formats that can be written only for saving; the Flash buffer lists
// .hex first, the EEPROM buffer .eep.
std::vector<FileFilter> bufferFileFilters(bool isEeprom, bool saving);
// The extension a buffer's dialogs add to a name without one.
std::string_view defaultBufferExtension(bool isEeprom);

}  // namespace zavuv::buffers
