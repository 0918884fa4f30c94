#pragma once
// Programs for avr-gcc that the image tests build: what real firmware carries
// besides its code.

namespace zavuv::testing {

// A blink for the ATmega8 with everything avr-libc lets a program carry besides
// its code: initialised data (stored in Flash after the code), EEPROM, fuses,
// lock bits and the signature.
inline constexpr const char* kBlinkSource = R"(
#include <avr/io.h>
#include <avr/eeprom.h>
#include <avr/fuse.h>
#include <avr/lock.h>
#include <avr/signature.h>
#include <util/delay.h>

FUSES = {.low = 0xE4, .high = 0xD9};
LOCKBITS = LB_MODE_3;
uint8_t EEMEM settings[5] = {1, 2, 3, 4, 5};
volatile uint8_t pattern[4] = {0x11, 0x22, 0x33, 0x44};

int main(void) {
    DDRB = 1 << PB0;
    for (;;) {
        PORTB ^= pattern[eeprom_read_byte(&settings[1]) & 3];
        _delay_ms(500);
    }
}
)";

// A boot loader for the ATmega128, linked to its boot section at 0x1F000, with
// EEPROM bytes that do not start at 0 (the tests give the addresses to the linker).
inline constexpr const char* kBootLoaderSource = R"(
#include <avr/io.h>
#include <avr/eeprom.h>

uint8_t EEMEM serial[3] = {0xA5, 0x5A, 0x01};
const char banner[] = "boot loader 1.0";

int main(void) {
    for (;;)
        PORTA = banner[eeprom_read_byte(&serial[2]) & 15];
}
)";

}  // namespace zavuv::testing
