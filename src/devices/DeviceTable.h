#pragma once
// The constant table of the supported chips. A record's index is the device
// number stored in project files, so the order of the table never changes and
// new chips only ever go at its end.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace zavuv::devices {

// In the order of the family list; the list's selection index is the value.
enum class DeviceFamily : std::int32_t {
    At25 = 0,
    At45 = 1,
    At86 = 2,
    At89S = 3,
    At90 = 4,
    ATtiny = 5,
    ATmega = 6,
};
inline constexpr int kFamilyCount = 7;

// The chip-side protocol.
enum class ProgAlgorithm : std::int32_t {
    Avr = 0,  // also AT86RF401 and AT45 DataFlash (told apart by family)
    At89S8252 = 1,
    At89S53 = 3,
    At89S51 = 4,  // AT89S2051, AT89S4051, AT89S51, AT89S52
    At25 = 10,
    At89S8253 = 12,
};

using Signature = std::array<std::uint8_t, 3>;

// How the chip erase instruction is given.
enum class EraseSequence : std::int32_t {
    Once,
    // The ATtiny26 takes it twice, with a load of an erased Flash byte between the two.
    TwiceWithByteLoad,
};

// The internal oscillator frequencies a chip's calibration bytes are for, in
// the order of the bytes' addresses.
enum class CalibrationClocks : std::int32_t {
    None,
    Mhz8,          // one byte
    Mhz1To8,       // four bytes: 1, 2, 4 and 8 MHz
    Mhz8And4,      // two bytes: 8 MHz, then 4 MHz
    Mhz9p6And4p8,  // two bytes: 9.6 MHz, then 4.8 MHz
};

// The fuse bytes of a chip as it leaves the factory; 0xFF where it has no such byte.
struct FuseValues {
    std::uint8_t low = 0xFF;
    std::uint8_t high = 0xFF;
    std::uint8_t extended = 0xFF;

    friend bool operator==(const FuseValues&, const FuseValues&) = default;
};

struct DeviceInfo {
    DeviceFamily family;
    const char* name;
    std::int32_t pageSize;    // AVR: words per Flash page; AT25/AT45: bytes; 0: byte-wise
    std::int32_t flashSize;   // bytes
    std::int32_t eepromSize;  // bytes; AT45: the page-number address shift instead
    Signature signature;      // AT45: {statusValue, statusMask, 0}
    Signature altSignature;
    ProgAlgorithm algorithm;
    std::int32_t flashWriteDelayCode;  // low byte goes to the board: 0xFF - 7 * ms
    std::int32_t flashReadDelayCode;
    std::int32_t eepromWriteDelayCode;
    std::int32_t eepromReadDelayCode;
    std::int32_t pageWriteDelayMs;
    std::int32_t boardDeviceCode;
    std::int32_t lockFuseLayout;  // -1: no lock or fuse bits
    std::int32_t forceProgEnable;
    CalibrationClocks calibration;
    FuseValues factoryFuses{};
    EraseSequence eraseSequence = EraseSequence::Once;

    bool isAt45() const { return family == DeviceFamily::At45; }
    int addressShift() const { return eepromSize; }
    std::uint8_t statusValue() const { return signature[0]; }
    std::uint8_t statusMask() const { return signature[1]; }
    // The frequency of each calibration byte in MHz ("9.6"), by address.
    std::span<const char* const> calibrationMHz() const;
    int calibrationBytes() const { return static_cast<int>(calibrationMHz().size()); }
};

struct FamilyPosition {
    DeviceFamily family;
    int position;  // among the records of the family, in table order
};

class DeviceTable {
public:
    static constexpr int kCount = 74;

    static int count() { return kCount; }
    static bool isValidIndex(int index) { return index >= 0 && index < kCount; }
    static const DeviceInfo& at(int index);

    static const char* familyName(DeviceFamily family);
    static std::vector<const char*> devicesOfFamily(DeviceFamily family);

    static FamilyPosition familyPosition(int index);
    // The record at this position of the family, or -1.
    static int indexAt(DeviceFamily family, int position);

    // The first record whose signature or alternative signature matches; -1 when
    // none does or b0 is not the manufacturer code 0x1E.
    static int findBySignature(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2);
    // The first DataFlash record whose status test matches; 0xFF counts as no answer.
    static int findAt45ByStatus(std::uint8_t status);

    // The two high bytes of a DataFlash page address, high byte first; the
    // third address byte is always 0.
    static std::array<std::uint8_t, 2> at45PageAddress(const DeviceInfo& device, int page);
};

}  // namespace zavuv::devices
