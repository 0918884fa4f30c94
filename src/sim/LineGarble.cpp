#include "sim/LineGarble.h"

namespace zavuv::sim {

namespace {

constexpr int kBitsPerFrame = 10;  // start, 8 data, stop

// The sender's line level during its bit slot `slot` (0 before the first byte is
// never asked for; past the last frame the line idles high).
int levelOfSlot(std::span<const std::uint8_t> bytes, std::int64_t slot) {
    if (slot < 0 || slot >= static_cast<std::int64_t>(bytes.size()) * kBitsPerFrame) {
        return 1;
    }
    const int bit = static_cast<int>(slot % kBitsPerFrame);
    if (bit == 0) {
        return 0;
    }
    if (bit == kBitsPerFrame - 1) {
        return 1;
    }
    return (bytes[static_cast<std::size_t>(slot / kBitsPerFrame)] >> (bit - 1)) & 1;
}

}  // namespace

std::vector<std::uint8_t> garbleRun(std::span<const std::uint8_t> bytes, int senderBaud,
                                    int receiverBaud) {
    if (senderBaud == receiverBaud || senderBaud <= 0 || receiverBaud <= 0) {
        return {bytes.begin(), bytes.end()};
    }
    // Time in units of 1 / (2 * senderBaud * receiverBaud) s keeps every bit edge
    // and every mid-bit sampling point an integer.
    const std::int64_t senderBit = 2 * std::int64_t{receiverBaud};
    const std::int64_t halfReceiverBit = senderBaud;
    const std::int64_t lastSlot = static_cast<std::int64_t>(bytes.size()) * kBitsPerFrame;
    auto levelAt = [&](std::int64_t t) { return levelOfSlot(bytes, t / senderBit); };

    std::vector<std::uint8_t> received;
    std::int64_t searchFrom = 0;
    while (true) {
        // The next falling edge at or after searchFrom; edges lie on slot boundaries.
        std::int64_t slot = (searchFrom + senderBit - 1) / senderBit;
        while (slot < lastSlot &&
               !(levelOfSlot(bytes, slot) == 0 && levelOfSlot(bytes, slot - 1) == 1)) {
            ++slot;
        }
        if (slot >= lastSlot) {
            return received;
        }
        const std::int64_t edge = slot * senderBit;
        if (levelAt(edge + halfReceiverBit) != 0) {
            searchFrom = edge + 1;  // a glitch, not a start bit
            continue;
        }
        std::uint8_t value = 0;
        for (int bit = 0; bit < 8; ++bit) {
            value |=
                static_cast<std::uint8_t>(levelAt(edge + (3 + 2 * bit) * halfReceiverBit) << bit);
        }
        received.push_back(value);  // kept even with a framing error, as drivers do
        searchFrom = edge + 19 * halfReceiverBit;
    }
}

}  // namespace zavuv::sim
