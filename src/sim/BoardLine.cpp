#include "sim/BoardLine.h"

#include <algorithm>
#include <vector>

#include "sim/Board.h"
#include "sim/LineGarble.h"

namespace zavuv::sim {

std::int64_t byteTimeUs(int baudRate) {
    return baudRate > 0 ? (10'000'000 + baudRate / 2) / baudRate : 0;
}

BoardLine::BoardLine(const FaultPlan& faults, WireTrace& trace, LineTiming timing)
    : faults_(faults), trace_(trace), timing_(timing),
      hungUp_(faults.hangupAfter.has_value() && *faults.hangupAfter == 0) {}

bool BoardLine::hostSends(std::span<const std::uint8_t> bytes, int hostBaud, std::int64_t nowUs) {
    hostBaud_ = hostBaud;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (hungUp_) {
            return false;
        }
        std::int64_t atUs = nowUs;
        if (timing_.lineRate) {
            atUs = std::max(nowUs, hostLineFreeUs_) + byteTimeUs(hostBaud);
            hostLineFreeUs_ = atUs;
        }
        if (board_->baudRate() == hostBaud) {
            ++hostBytes_;
            deliver(bytes[i], atUs);
        } else {
            // The board's UART makes its own bytes of the rest of this run.
            hostBytes_ += static_cast<std::int64_t>(bytes.size() - i);
            for (std::uint8_t byte : garbleRun(bytes.subspan(i), hostBaud, board_->baudRate())) {
                deliver(byte, atUs);
            }
            i = bytes.size();
        }
        if (faults_.hangupAfter && hostBytes_ >= *faults_.hangupAfter) {
            hungUp_ = true;  // the reply to this byte is lost with the line
            pending_.clear();
        }
    }
    return !bytes.empty() || !hungUp_;
}

void BoardLine::deliver(std::uint8_t byte, std::int64_t atUs) {
    processingUs_ = atUs;
    trace_.record(Direction::HostToBoard, std::span(&byte, 1), atUs);
    board_->receive(byte, atUs);
}

void BoardLine::reply(std::span<const std::uint8_t> bytes) {
    if (hungUp_ || bytes.empty() || (faults_.silentAfter && hostBytes_ > *faults_.silentAfter)) {
        return;
    }
    std::vector<std::uint8_t> sent(bytes.begin(), bytes.end());
    if (++replies_ == faults_.garbageAfter.value_or(0)) {
        sent[0] = static_cast<std::uint8_t>(~sent[0]);
    }
    trace_.record(Direction::BoardToHost, sent, processingUs_);
    const int boardBaud = board_->baudRate();
    const std::vector<std::uint8_t> received =
        boardBaud == hostBaud_ ? sent : garbleRun(sent, boardBaud, hostBaud_);
    std::int64_t readableUs = processingUs_ + timing_.latencyUs;
    for (std::uint8_t byte : received) {
        if (timing_.lineRate) {
            readableUs = std::max(readableUs, boardLineFreeUs_) + byteTimeUs(boardBaud);
            boardLineFreeUs_ = readableUs;
        }
        pending_.push_back({byte, readableUs});
    }
}

std::optional<std::int64_t> BoardLine::nextReplyUs() const {
    if (pending_.empty()) {
        return std::nullopt;
    }
    return pending_.front().readableUs;
}

std::size_t BoardLine::take(std::span<std::uint8_t> into, std::int64_t untilUs) {
    std::size_t count = 0;
    while (count < into.size() && !pending_.empty() && pending_.front().readableUs <= untilUs) {
        into[count++] = pending_.front().byte;
        pending_.pop_front();
    }
    return count;
}

void BoardLine::discardReplies() {
    pending_.clear();
}

}  // namespace zavuv::sim
