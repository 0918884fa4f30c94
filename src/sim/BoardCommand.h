#pragma once
// The command bytes as the board's firmware knows them. The board keeps its own
// table rather than the host's, so that a slip on one side shows on the wire.

#include <cstdint>

namespace zavuv::sim {

enum class BoardCommand : std::uint8_t {
    Sync = 0x25,              // '%'
    GetVersion = 0x40,        // '@'
    GetId = 0x3F,             // '?'
    GetSerial = 0x4E,         // 'N'
    Escape = 0x1B,            // ESC
    SelectDevice = 0x26,      // '&' code
    SetWord = 0x3A,           // ':' high, low
    SetMode = 0x23,           // '#' baud code, SCK code, polling flag
    ResetShort = 0x51,        // 'Q'
    ResetLong = 0x2A,         // '*'
    Reset89 = 0x2B,           // '+'
    ProgEnableSync = 0x3D,    // '='
    EndSession = 0x2D,        // '-'
    Spi2 = 0x32,              // '2' two instruction bytes
    Spi3 = 0x33,              // '3' three instruction bytes
    Spi4 = 0x34,              // '4' four instruction bytes
    SpiRead = 0x35,           // '5' three instruction bytes, answer of the fourth
    At45Select = 0x6C,        // 'l'
    At45Deselect = 0x6B,      // 'k'
    At25Select = 0x39,        // '9'
    At25Deselect = 0x38,      // '8'
    SpiWriteByte = 0x36,      // '6' byte
    SpiReadByte = 0x37,       // '7'
    SpiWriteN = 0x30,         // '0' count high, count low, bytes
    SpiReadN = 0x31,          // '1' count high, count low
    ReadBlock = 0x7D,         // '}' count
    ReadEepromBlock = 0x3C,   // '<' count
    WriteBlock = 0x7B,        // '{' count, bytes
    WriteEepromBlock = 0x3E,  // '>' count, bytes
    SetParam = 0x57,          // 'W' delay code
    BootEnter = 0x5E,         // '^'
};

constexpr std::uint8_t kCr = 0x0D;
constexpr std::uint8_t kEsc = 0x1B;

}  // namespace zavuv::sim
