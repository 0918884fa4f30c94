#include "devices/AvrLayoutBuilder.h"
#include "devices/DeviceTable.h"
#include "devices/LockFuseLayout.h"

namespace zavuv::devices {

namespace {

using avr::FuseByteNames;
using avr::keepProgrammed;
using avr::kNoFuse;

// clang-format off
// Fuse bytes by bit, from bit 0, named after the first layout that has them.
constexpr FuseByteNames kLow10{"CKSEL0", "CKSEL1", "CKSEL2", "CKSEL3", "SUT0", "SUT1", "BODEN", "BODLEVEL"};
constexpr FuseByteNames kHigh10{"BOOTRST", "BOOTSZ0", "BOOTSZ1", "EESAVE", "CKOPT", keepProgrammed("SPIEN"), "JTAGEN", "OCDEN"};
constexpr FuseByteNames kExtended10{"WDTON", "M103C"};
constexpr FuseByteNames kHigh12{"BOOTRST", "BOOTSZ0", "BOOTSZ1", "EESAVE", "CKOPT", keepProgrammed("SPIEN"), "WDTON", "RSTDISBL"};
constexpr FuseByteNames kLow14{"CKSEL0", "CKSEL1", "CKSEL2", "CKSEL3", "SUT0", "SUT1", "CKOPT", "PLLCK"};
constexpr FuseByteNames kHigh14{"BODEN", "BODLEVEL", "EESAVE", "SPIEN", "RSTDISBL"};
constexpr FuseByteNames kHigh17{"BOOTRST", "BOOTSZ0", "BOOTSZ1", "EESAVE", "CKOPT", keepProgrammed("SPIEN"), "WDTON", "S8515C"};
constexpr FuseByteNames kHigh18{"BOOTRST", "BOOTSZ0", "BOOTSZ1", "EESAVE", "CKOPT", keepProgrammed("SPIEN"), "WDTON", "S8535C"};
constexpr FuseByteNames kLow19{"CKSEL0", "CKSEL1", "CKSEL2", "CKSEL3", "SUT0", "SUT1", "CKOUT", "CKDIV16"};  // bit 7 is CKDIV8
constexpr FuseByteNames kHigh19{"BOOTRST", "BOOTSZ0", "BOOTSZ1", "EESAVE", "WDTON", keepProgrammed("SPIEN"), "JTAGEN", "OCDEN"};
constexpr FuseByteNames kExtended19{kNoFuse, "BODLEVEL0", "BODLEVEL1", "BODLEVEL2", "M161C"};
constexpr FuseByteNames kExtended21{"RSTDISBL", "BODLEVEL0", "BODLEVEL1", "BODLEVEL2"};
constexpr FuseByteNames kLow23{"CKSEL0", "CKSEL1", "SUT0", "SUT1", "CKDIV8", "WDTON", "EESAVE", "SPIEN"};
constexpr FuseByteNames kHigh23{"RSTDISBL", "BODLEVEL0", "BODLEVEL1", "DWEN", "SPMEN"};
constexpr FuseByteNames kLow24{"CKSEL0", "CKSEL1", "CKSEL2", "CKSEL3", "SUT0", "SUT1", "CKOUT", "CKDIV8"};
constexpr FuseByteNames kHigh24{"RSTDISBL", "BODLEVEL0", "BODLEVEL1", "BODLEVEL2", "WDTON", keepProgrammed("SPIEN"), "EESAVE", "DWEN"};
constexpr FuseByteNames kExtended24{"SPMEN"};
constexpr FuseByteNames kHigh25{"BODLEVEL0", "BODLEVEL1", "BODLEVEL2", "EESAVE", "WDTON", keepProgrammed("SPIEN"), "DWEN", "RSTDISBL"};
constexpr FuseByteNames kSelfProgramming{"SELFPRGEN"};
constexpr FuseByteNames kBootSize{"BOOTRST", "BOOTSZ0", "BOOTSZ1"};
constexpr FuseByteNames kExtended29{"TA0SEL", "BODLEVEL0", "BODLEVEL1", "BODLEVEL2"};
constexpr FuseByteNames kExtended30{"RSTDISBL", "BODLEVEL0", "BODLEVEL1"};
constexpr FuseByteNames kBodLevels{"BODLEVEL0", "BODLEVEL1", "BODLEVEL2"};
constexpr FuseByteNames kRetiredPowerStage{"BOOTRST", "BOOTSZ0", "BOOTSZ1", "PSCRV", "PSC0RB", "PSC1RB", "PSC2RB"};
constexpr FuseByteNames kPowerStage1{"BOOTRST", "BOOTSZ0", "BOOTSZ1", kNoFuse, "PSCRV", "PSC0RB", kNoFuse, "PSC2RB"};
constexpr FuseByteNames kPowerStage2{"BOOTRST", "BOOTSZ0", "BOOTSZ1", kNoFuse, "PSCRV", "PSC0RB", "PSC1RB", "PSC2RB"};
constexpr FuseByteNames kUsbExtended{"BODLEVEL0", "BODLEVEL1", "BODLEVEL2", "HWBE"};
constexpr FuseByteNames kHigh51{"BOOTRST", "BOOTSZ0", "BOOTSZ1", "EESAVE", "WDTON", keepProgrammed("SPIEN"), "DWEN", "RSTDISBL"};
constexpr FuseByteNames kHigh54{"BOOTRST", "BOOTSZ0", "BOOTSZ1", "EESAVE", "WDTON", keepProgrammed("SPIEN"), "RSTDISBL", "DWEN"};
constexpr FuseByteNames kNone{};

constexpr avr::Templates kHighWithZero{.high = {0xAC, 0xA8, 0x00, 0xFF}};
constexpr avr::Templates kAllWithZero{{0xAC, 0xE0, 0x00, 0xFF}, {0xAC, 0xA0, 0x00, 0xFF}, {0xAC, 0xA8, 0x00, 0xFF}, {0xAC, 0xA4, 0x00, 0xFF}};

constexpr avr::LayoutRecipe kAvrLayouts[] = {
    {.index = 10, .low = kLow10, .high = kHigh10, .extended = kExtended10, .clock = ClockScheme::Classic},
    {.index = 12, .low = kLow10, .high = kHigh12, .extended = kNone, .clock = ClockScheme::Classic},
    {.index = 13, .low = kLow10, .high = kHigh10, .extended = kNone, .clock = ClockScheme::Classic},
    {.index = 14, .low = kLow14, .high = kHigh14, .extended = kNone, .bootLocks = false, .clock = ClockScheme::Classic},
    {.index = 16, .low = kLow10, .high = kHigh10, .extended = kNone, .clock = ClockScheme::Classic},
    {.index = 17, .low = kLow10, .high = kHigh17, .extended = kNone, .clock = ClockScheme::Classic},
    {.index = 18, .low = kLow10, .high = kHigh18, .extended = kNone, .clock = ClockScheme::Classic},
    {.index = 20, .low = kLow10, .high = kHigh10, .extended = kExtended10, .clock = ClockScheme::Classic},
    {.index = 23, .low = kLow23, .high = kHigh23, .extended = kNone, .bootLocks = false, .clock = ClockScheme::Tiny13},
    {.index = 26, .low = kLow24, .high = kHigh25, .extended = kBootSize, .templates = kHighWithZero, .clock = ClockScheme::MegaX8},
    {.index = 29, .low = kLow24, .high = kHigh19, .extended = kExtended29, .clock = ClockScheme::LowFrequency4},
    {.index = 30, .low = kLow24, .high = kHigh19, .extended = kExtended30, .clock = ClockScheme::LowFrequency4},
    {.index = 32, .low = kLow24, .high = kHigh19, .extended = kBodLevels, .clock = ClockScheme::MegaX8},
    {.index = 33, .low = kLow24, .high = kHigh19, .extended = kExtended30, .clock = ClockScheme::LowFrequency4},
    {.index = 35, .low = kLow24, .high = kHigh19, .extended = kBodLevels, .templates = kAllWithZero, .clock = ClockScheme::MegaX8},
    // The chips' own maps, in place of the retired layouts below.
    {.index = 39, .low = kLow24, .high = kHigh24, .extended = kExtended24, .bootLocks = false, .clock = ClockScheme::Tiny2313},  // ATtiny2313
    {.index = 40, .low = kLow24, .high = kHigh25, .extended = kSelfProgramming, .bootLocks = false, .clock = ClockScheme::TinyX4X5},  // ATtiny24/44/84
    {.index = 41, .low = kLow24, .high = kHigh25, .extended = kSelfProgramming, .bootLocks = false, .clock = ClockScheme::TinyX4X5},  // ATtiny25/45/85
    {.index = 42, .low = kLow24, .high = kHigh25, .extended = kSelfProgramming, .bootLocks = false, .clock = ClockScheme::MegaX8},  // ATmega48
    {.index = 43, .low = kLow24, .high = kHigh25, .extended = kPowerStage1, .clock = ClockScheme::PowerStage},  // AT90PWM1
    {.index = 44, .low = kLow24, .high = kHigh25, .extended = kPowerStage2, .clock = ClockScheme::PowerStage},  // AT90PWM2/3
    {.index = 45, .low = kLow24, .high = kHigh19, .extended = kExtended19, .clock = ClockScheme::LowFrequency4},  // ATmega162
    {.index = 46, .low = kLow24, .high = kHigh19, .extended = kExtended21, .clock = ClockScheme::LowFrequency4},  // ATmega165/169
    {.index = 47, .low = kLow24, .high = kHigh19, .extended = kBodLevels, .clock = ClockScheme::MegaX8},  // ATmega640
    {.index = 48, .low = kLow24, .high = kHigh19, .extended = kUsbExtended, .clock = ClockScheme::Usb},  // AT90USB1286
    // The chips added after the first 55.
    {.index = 49, .low = kLow24, .high = kHigh25, .extended = kSelfProgramming, .bootLocks = false, .clock = ClockScheme::MegaX8},  // ATmega48P
    {.index = 50, .low = kLow24, .high = kHigh25, .extended = kBootSize, .templates = kHighWithZero, .clock = ClockScheme::MegaX8},  // ATmega88P/168P
    {.index = 51, .low = kLow24, .high = kHigh51, .extended = kBodLevels, .templates = kHighWithZero, .clock = ClockScheme::MegaX8},  // ATmega328/328P
    {.index = 52, .low = kLow24, .high = kHigh19, .extended = kBodLevels, .clock = ClockScheme::MegaX8},  // ATmega164P/324P/644P/1284/1284P
    {.index = 53, .low = kLow24, .high = kHigh19, .extended = kUsbExtended, .clock = ClockScheme::Usb},  // ATmega32U4, AT90USB646
    {.index = 54, .low = kLow24, .high = kHigh54, .extended = kUsbExtended, .clock = ClockScheme::Usb},  // ATmega16U2/8U2, AT90USB162
    {.index = 55, .low = kLow24, .high = kHigh24, .extended = kSelfProgramming, .bootLocks = false, .clock = ClockScheme::Tiny2313},  // ATtiny4313
    {.index = 56, .low = kLow24, .high = kHigh25, .extended = kSelfProgramming, .bootLocks = false, .clock = ClockScheme::TinyX4X5},  // ATtiny261/461/861
};

// Layouts no chip uses any more, which wrongly named or placed some bits.
// Project files written while a chip had one store their fuse bits by it, so
// they are kept only to carry those bits over to the chip's layout.
constexpr avr::LayoutRecipe kRetiredAvrLayouts[] = {
    {.index = 19, .low = kLow19, .high = kHigh19, .extended = kExtended19},
    {.index = 21, .low = kLow19, .high = kHigh19, .extended = kExtended21},
    {.index = 24, .low = kLow24, .high = kHigh24, .extended = kExtended24},
    {.index = 25, .low = kLow24, .high = kHigh25, .extended = kSelfProgramming},
    {.index = 31, .low = kLow24, .high = kHigh25, .extended = kRetiredPowerStage, .extendedWritten = false},
    {.index = 34, .low = kLow24, .high = kHigh25, .extended = kSelfProgramming},
    {.index = 36, .low = kLow24, .high = kHigh25, .extended = kSelfProgramming},
    {.index = 38, .low = kLow24, .high = kHigh25, .extended = kRetiredPowerStage, .extendedWritten = false},
};
// clang-format on

// Lock bits that are written but never read back, and no fuses: the base of
// the AT89S layouts and the whole layout of the chips without readable bits.
constexpr LockFuseLayout writeOnlyLock(Instruction lockTemplate,
                                       std::array<BitPosition, kLockBits> positions) {
    LockFuseLayout layout;
    layout.lockWriteTemplate = lockTemplate;
    layout.lockBitPos = positions;
    return layout;
}

constexpr LockFuseLayout at89S51Layout() {
    LockFuseLayout layout =
        writeOnlyLock({0xAC, 0xE0, 0x00, 0x00}, {BitPosition{1, 0}, {1, 1}, {3, 0}});
    layout.lockReadable = true;
    layout.lockReadCmd = {0x24, 0x00, 0x00};
    layout.lockReadPos = {2, 3, 4};
    return layout;
}

constexpr LockFuseLayout at89S8253Layout() {
    LockFuseLayout layout =
        writeOnlyLock({0xAC, 0xE7, 0xFF, 0xFF}, {BitPosition{1, 2}, {1, 1}, {1, 0}});
    layout.lockReadable = true;
    layout.lockReadCmd = {0x24, 0xFF, 0xFF};
    layout.lockReadPos = {0, 1, 2};

    // One fuse byte: written in instruction byte 1, read back at the same bits.
    constexpr avr::FuseBitName kFuses[] = {
        {"SerialPrgEn", +1}, {"x2 Clock En"}, {"UsrRowPrgEn"}, {"Extern Clock En", -1}};
    layout.fuseCount = 4;
    FuseByteLayout& fuses = layout.fuseBytes[0];
    fuses.present = true;
    fuses.readable = true;
    fuses.writeTemplate = {0xAC, 0x1F, 0xFF, 0xFF};
    fuses.readCmd = {0x21, 0xFF, 0xFF};
    for (int i = 0; i < layout.fuseCount; ++i) {
        layout.fuseName[i] = kFuses[i].name;
        layout.fuseWarn[i] = kFuses[i].warn;
        fuses.writePos[i] = {1, static_cast<std::int8_t>(i)};
        fuses.readPos[i] = static_cast<std::int8_t>(i);
    }
    return layout;
}

struct Slot {
    bool kept = false;
    LockFuseLayout layout;
};

constexpr std::array<Slot, kLayoutCount> buildRetiredTable() {
    std::array<Slot, kLayoutCount> table{};
    for (const avr::LayoutRecipe& recipe : kRetiredAvrLayouts)
        table[recipe.index] = {true, avr::build(recipe)};
    return table;
}

constexpr std::array<Slot, kLayoutCount> buildTable() {
    std::array<Slot, kLayoutCount> table{};
    const auto put = [&table](int index, const LockFuseLayout& layout) {
        table[index] = {true, layout};
    };
    const LockFuseLayout noReadback =
        writeOnlyLock({0xAC, 0xE0, 0x00, 0x00}, {BitPosition{1, 1}, {1, 2}, {}});
    const LockFuseLayout at89S53 =
        writeOnlyLock({0xAC, 0xFF, 0xFF, 0x00}, {BitPosition{1, 5}, {1, 6}, {1, 7}});
    put(0, noReadback);   // AT25 and AT45 memories
    put(22, noReadback);  // AT86RF401
    put(1, at89S51Layout());
    put(27, at89S53);  // AT89S8252
    put(28, at89S53);  // AT89S2051, AT89S4051, AT89S53
    put(37, at89S8253Layout());
    for (const avr::LayoutRecipe& recipe : kAvrLayouts)
        put(recipe.index, avr::build(recipe));
    return table;
}

constexpr std::array<Slot, kLayoutCount> kLayouts = buildTable();
constexpr std::array<Slot, kLayoutCount> kRetiredLayouts = buildRetiredTable();

}  // namespace

const LockFuseLayout* lockFuseLayout(int layoutIndex) {
    if (layoutIndex < 0 || layoutIndex >= kLayoutCount || !kLayouts[layoutIndex].kept)
        return nullptr;
    return &kLayouts[layoutIndex].layout;
}

const LockFuseLayout* retiredLockFuseLayout(int layoutIndex) {
    if (layoutIndex < 0 || layoutIndex >= kLayoutCount || !kRetiredLayouts[layoutIndex].kept)
        return nullptr;
    return &kRetiredLayouts[layoutIndex].layout;
}

const LockFuseLayout* layoutOf(int deviceIndex) {
    if (!DeviceTable::isValidIndex(deviceIndex))
        return nullptr;
    return lockFuseLayout(DeviceTable::at(deviceIndex).lockFuseLayout);
}

}  // namespace zavuv::devices
