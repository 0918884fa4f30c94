#pragma once
// What a UART sees when the far end sends at another baud rate. The sender's
// waveform (start bit, eight data bits LSB first, stop bit, idle high) is sampled
// by a receiver that times its bits by its own rate, as a real line does: the
// result is deterministic, and usually has a different number of bytes.

#include <cstdint>
#include <span>
#include <vector>

namespace zavuv::sim {

// The bytes a receiver at receiverBaud makes of one back-to-back run of bytes sent
// at senderBaud. Equal rates give the bytes unchanged.
std::vector<std::uint8_t> garbleRun(std::span<const std::uint8_t> bytes, int senderBaud,
                                    int receiverBaud);

}  // namespace zavuv::sim
