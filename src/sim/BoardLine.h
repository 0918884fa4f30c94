#pragma once
// The serial line between the host and the board: it delivers the host's bytes
// to the board's UART and queues the board's replies with the time they become
// readable. Mismatched baud rates garble the bytes, the faults of the plan cut
// or corrupt the traffic, and the wire trace sees every byte from the board's
// side. With line-rate timing each byte takes its ten bit times, and a reply
// waits the USB adapter's latency before it starts.

#include <cstdint>
#include <deque>
#include <optional>
#include <span>

#include "sim/FaultPlan.h"
#include "sim/ReplySink.h"
#include "sim/WireTrace.h"

namespace zavuv::sim {

class Board;

struct LineTiming {
    bool lineRate = false;
    std::int64_t latencyUs = 0;
};

// Ten bit times (start, eight data, stop) at this rate, in microseconds.
std::int64_t byteTimeUs(int baudRate);

class BoardLine : public ReplySink {
public:
    BoardLine(const FaultPlan& faults, WireTrace& trace, LineTiming timing = {});
    BoardLine(const BoardLine&) = delete;
    BoardLine& operator=(const BoardLine&) = delete;

    // The board must be attached before the host sends anything.
    void attach(Board& board) { board_ = &board; }

    // The host puts these bytes on the line at its baud rate. False when the line
    // is dead (then not all of them arrived).
    bool hostSends(std::span<const std::uint8_t> bytes, int hostBaud, std::int64_t nowUs);
    // When the last byte the host sent has left its UART.
    std::int64_t hostSendingEndsUs() const { return hostLineFreeUs_; }

    // When the next reply byte becomes readable, if any is on its way.
    std::optional<std::int64_t> nextReplyUs() const;
    // Moves the reply bytes readable by untilUs into `into`; returns how many.
    std::size_t take(std::span<std::uint8_t> into, std::int64_t untilUs);
    // The host closed its end: what was on its way is lost.
    void discardReplies();

    bool hungUp() const { return hungUp_; }
    std::int64_t hostBytesSent() const { return hostBytes_; }

    // ReplySink: the board's replies.
    void reply(std::span<const std::uint8_t> bytes) override;

private:
    struct Pending {
        std::uint8_t byte;
        std::int64_t readableUs;
    };

    void deliver(std::uint8_t byte, std::int64_t atUs);

    const FaultPlan faults_;
    WireTrace& trace_;
    const LineTiming timing_;
    Board* board_ = nullptr;
    bool hungUp_ = false;
    std::int64_t hostBytes_ = 0;
    std::int64_t replies_ = 0;
    // While the host's bytes are being delivered: the host's rate and the time.
    int hostBaud_ = 0;
    std::int64_t processingUs_ = 0;
    std::int64_t hostLineFreeUs_ = 0;
    std::int64_t boardLineFreeUs_ = 0;
    std::deque<Pending> pending_;
};

}  // namespace zavuv::sim
