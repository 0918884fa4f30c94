#include "operations/UnitRecord.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include <fmt/format.h>

#include "operations/SerialNumber.h"

namespace zavuv::operations {

namespace {

// The bytes of the counter the increment steps: up to four ending at
// `address`, held to the buffer as the increment holds it.
struct Counter {
    std::size_t first = 0;
    std::size_t last = 0;
};

std::optional<Counter> counterOf(const buffers::MemoryBuffer& buffer, int address) {
    if (address < 0 || buffer.size() == 0)
        return std::nullopt;
    const auto last = std::min<std::size_t>(static_cast<std::size_t>(address), buffer.size() - 1);
    return Counter{last >= 3 ? last - 3 : 0, last};
}

// The counter one step back, most significant byte first: the undoing of
// incrementSerialNumber (a borrow runs towards lower addresses while a byte was 0).
std::vector<std::uint8_t> stepBack(const buffers::MemoryBuffer& buffer, const Counter& counter) {
    std::vector<std::uint8_t> bytes(buffer.data().begin() + counter.first,
                                    buffer.data().begin() + counter.last + 1);
    for (auto byte = bytes.rbegin(); byte != bytes.rend(); ++byte)
        if ((*byte)-- != 0)
            break;
    return bytes;
}

std::string checksumText(std::uint16_t checksum) {
    return fmt::format("0x{:04X}", checksum);
}

// What the chip got from this buffer: its checksum and, when the project steps
// a number in it, that number. After a unit that succeeded such a buffer holds
// the next number already (the reservation's or the step's), one more than the
// chip's.
struct Programmed {
    std::string serialNumber;
    std::string checksum;
};

Programmed programmedFrom(const workspace::Workspace& ws, bool isFlash, bool ok) {
    const buffers::MemoryBuffer& buffer = isFlash ? ws.flash() : ws.eeprom();
    if (buffer.size() == 0)
        return {};
    const int address = isFlash ? ws.project().autoIncAddressFlash : ws.project().autoIncAddress;
    const auto counter = counterOf(buffer, address);
    if (!ok || !counter || !incrementsSerialNumber(ws, isFlash))
        return {"", checksumText(buffer.checksum16())};
    const std::vector<std::uint8_t> chip = stepBack(buffer, *counter);
    int checksum = buffer.checksum16();
    std::string number;
    for (std::size_t i = 0; i < chip.size(); ++i) {
        checksum += chip[i] - buffer.data()[counter->first + i];
        number += fmt::format("{:02X}", chip[i]);
    }
    return {number, checksumText(static_cast<std::uint16_t>(checksum & 0xFFFF))};
}

}  // namespace

UnitRecord describeUnit(workspace::Workspace& ws, bool ok) {
    UnitRecord record;
    if (const auto& serial = ws.connection().state().serialNumber)
        record.boardSerial = fmt::format("{:02X}", fmt::join(*serial, " "));
    record.chip = ws.projectDeviceInfo().name;
    const auto& signature = ws.results.signature;
    if (signature != kSignatureNotRead)
        record.signature =
            fmt::format("{:02X} {:02X} {:02X}", signature[0], signature[1], signature[2]);
    const Programmed flash = programmedFrom(ws, true, ok);
    const Programmed eeprom = programmedFrom(ws, false, ok);
    record.serialNumber = flash.serialNumber.empty() ? eeprom.serialNumber : flash.serialNumber;
    record.flashChecksum = flash.checksum;
    record.eepromChecksum = eeprom.checksum;
    record.ok = ok;
    return record;
}

}  // namespace zavuv::operations
