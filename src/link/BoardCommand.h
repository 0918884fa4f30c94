#pragma once
// The board's one-byte commands and how each travels on the line.

#include <cstdint>

namespace zavuv::link {

enum class BoardCommand : std::uint8_t {
    CMD_SYNC = 0x25,                // '%': '+' or '*' ready, '-' boot loader only
    CMD_GET_VERSION = 0x40,         // '@': three ASCII bytes
    CMD_GET_ID = 0x3F,              // '?': length, text, CR
    CMD_GET_SERIAL = 0x4E,          // 'N': five bytes, CR
    CMD_ESCAPE = 0x1B,              // back to the board's idle state, no reply
    CMD_SELECT_DEVICE = 0x26,       // '&' device code
    CMD_SET_WORD = 0x3A,            // ':' high, low
    CMD_SET_MODE = 0x23,            // '#' baud code, SCK code, polling flag
    CMD_RESET_SHORT = 0x51,         // 'Q'
    CMD_RESET_LONG = 0x2A,          // '*'
    CMD_RESET_89 = 0x2B,            // '+'
    CMD_PROG_ENABLE_SYNC = 0x3D,    // '=': the board finds step with the target itself
    CMD_END_SESSION = 0x2D,         // '-'
    CMD_SPI2 = 0x32,                // '2' two instruction bytes
    CMD_SPI3 = 0x33,                // '3' three instruction bytes
    CMD_SPI4 = 0x34,                // '4' four instruction bytes
    CMD_SPI_READ = 0x35,            // '5' three bytes; replies the fourth
    CMD_AT45_SELECT = 0x6C,         // 'l'
    CMD_AT45_DESELECT = 0x6B,       // 'k'
    CMD_AT25_SELECT = 0x39,         // '9'
    CMD_AT25_DESELECT = 0x38,       // '8'
    CMD_SPI_WRITE_BYTE = 0x36,      // '6' one byte
    CMD_SPI_READ_BYTE = 0x37,       // '7'
    CMD_SPI_WRITE_N = 0x30,         // '0' count high, count low, bytes
    CMD_SPI_READ_N = 0x31,          // '1' count high, count low
    CMD_READ_BLOCK = 0x7D,          // '}' count
    CMD_READ_EEPROM_BLOCK = 0x3C,   // '<' count
    CMD_WRITE_BLOCK = 0x7B,         // '{' count, data
    CMD_WRITE_EEPROM_BLOCK = 0x3E,  // '>' count, data
    CMD_SET_PARAM = 0x57,           // 'W' delay code
    CMD_BOOT_ENTER = 0x5E,          // '^': '+' when the boot loader takes an image
};

// How a command and its arguments go out.
enum class Framing {
    Block,       // command and arguments in one write
    ByteByByte,  // one write per byte, each after the line has drained
    WriteBlock,  // command and count byte by byte, then the data in one write
};

constexpr Framing framingOf(BoardCommand command) {
    switch (command) {
    case BoardCommand::CMD_SET_MODE:
    case BoardCommand::CMD_SPI2:
    case BoardCommand::CMD_SPI3:
    case BoardCommand::CMD_SPI4:
    case BoardCommand::CMD_SPI_READ:
    case BoardCommand::CMD_SET_PARAM:
        return Framing::Block;
    case BoardCommand::CMD_WRITE_BLOCK:
    case BoardCommand::CMD_WRITE_EEPROM_BLOCK:
        return Framing::WriteBlock;
    default:
        return Framing::ByteByByte;
    }
}

constexpr std::uint8_t byteOf(BoardCommand command) {
    return static_cast<std::uint8_t>(command);
}

// The acknowledgement most commands answer with.
inline constexpr std::uint8_t kAck = 0x0D;

// Replies to CMD_SYNC.
inline constexpr std::uint8_t kSyncReady = '+';
inline constexpr std::uint8_t kSyncReadyAlt = '*';
inline constexpr std::uint8_t kSyncNoFirmware = '-';

// Every block transfer carries at most this many data bytes.
inline constexpr int kMaxBlockBytes = 64;

}  // namespace zavuv::link
