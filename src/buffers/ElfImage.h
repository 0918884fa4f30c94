#pragma once
// The memories an avr-gcc ELF file describes: Flash, EEPROM, fuse and lock
// bytes and the signature it was built for.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "buffers/ImageSegments.h"

namespace zavuv::buffers {

enum class ElfProblem {
    NotElf,            // no ELF magic, or an ELF class or byte order that does not exist
    Truncated,         // shorter than its header or its header tables
    SixtyFourBit,      // a 64-bit ELF file: never AVR code
    BigEndian,         // AVR files are little-endian
    WrongMachine,      // built for another processor; detail: its machine number
    Unreadable,        // libelf refused the file; detail: libelf's reason
    SegmentPastEnd,    // a loadable segment's bytes past the end of the file; detail: its index
    SectionPastEnd,    // a loadable section's bytes past the end of the file
    WrongSectionSize,  // .fuse not 1..3 bytes, .lock not 1, .signature not 3
    OutsideMemories,   // a loadable section at neither a Flash nor an EEPROM address
    Overlap,           // sections giving one address different bytes, or sharing file bytes
};

struct ElfError {
    ElfProblem problem = ElfProblem::NotElf;
    // Language-neutral: a number, or for a section problem the section's name
    // ("#index" for one without a name).
    std::string detail;
    // For OutsideMemories and Overlap: the address in the file's address space.
    std::uint64_t address = 0;
};

struct ElfImage {
    ImageSegments flash;
    ImageSegments eeprom;  // from EEPROM address 0
    // Low, high and extended fuse byte, as many as the file gives (none without
    // a .fuse section).
    std::vector<std::uint8_t> fuses;
    std::optional<std::uint8_t> lock;
    // As stored: avr-libc's <avr/signature.h> puts the signature's last byte
    // first.
    std::optional<std::array<std::uint8_t, 3>> signature;
};

// Reads a 32-bit little-endian ELF file for the AVR: every allocated section
// with bytes in the file, at its load address (the containing loadable
// segment's physical address plus the section's offset in it, as avr-objcopy
// takes it). Flash lies at 0x000000..0x7FFFFF, EEPROM at 0x810000..0x81FFFF;
// .fuse, .lock and .signature are taken by name. Nothing is read outside
// `file`, whatever its headers claim.
std::variant<ElfImage, ElfError> readElfImage(std::span<const std::uint8_t> file);

// False in a build without an ELF reader (Windows), which refuses every ELF file.
bool elfFilesReadable();

}  // namespace zavuv::buffers
