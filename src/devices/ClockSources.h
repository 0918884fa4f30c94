#pragma once
// What the clock-select fuses (CKSEL) of an AVR chip choose. Chips of one
// generation share a coding of the CKSEL value; a layout names its coding.

#include <optional>
#include <string>

namespace zavuv::devices {

struct LockFuseLayout;
struct LockFuseState;

// The CKSEL codings: which clock source each CKSEL value selects.
enum class ClockScheme {
    None,           // no clock-select fuses
    Classic,        // ATmega8/16/32/64/128, ATmega8515/8535, ATtiny26
    MegaX8,         // ATmega48..328, ATmega164..1284, ATmega640..2560
    LowFrequency4,  // 0100..0111 a low-frequency crystal: AT90CAN, ATmega162, ATmega165..6490
    Usb,            // AT90USB, ATmega32U4, ATmega16U2
    PowerStage,     // AT90PWM
    Tiny2313,       // ATtiny2313, ATtiny4313
    TinyX4X5,       // ATtiny24..84, ATtiny25..85, ATtiny261..861
    Tiny13,         // two CKSEL bits
};

// What a chip needs outside itself to run with a clock setting.
enum class ClockSource {
    Internal,             // an oscillator inside the chip: nothing
    ExternalClock,        // a clock signal on XTAL1
    Crystal,              // a crystal or ceramic resonator on XTAL1/XTAL2
    LowFrequencyCrystal,  // a 32.768 kHz watch crystal
    ExternalRc,           // a resistor and capacitor on XTAL1
    Reserved,             // a value the datasheet reserves
};

// The clock setting of a state: the CKSEL value and its name ("CKSEL3..0 = 1111").
struct ClockSetting {
    ClockSource source = ClockSource::Internal;
    std::string text;
};

// Nothing when the layout has no clock-select fuses or no coding for them.
std::optional<ClockSetting> clockSetting(const LockFuseLayout& layout, const LockFuseState& state);

}  // namespace zavuv::devices
