#include "sim/SimulatedPort.h"

#include <algorithm>

namespace zavuv::sim {

bool SimulatedPort::open(int baudRate) {
    std::lock_guard lock(mutex_);
    BoardLine& line = board_.line();
    if (line.hungUp() || baudRate <= 0) {
        open_ = false;
        return false;
    }
    // What the board sent while the port was closed never reached anybody.
    line.discardReplies();
    open_ = true;
    baudRate_ = baudRate;
    return true;
}

void SimulatedPort::close() {
    std::lock_guard lock(mutex_);
    if (open_) {
        board_.line().discardReplies();
    }
    open_ = false;
}

bool SimulatedPort::isOpen() const {
    std::lock_guard lock(mutex_);
    return open_;
}

int SimulatedPort::baudRate() const {
    std::lock_guard lock(mutex_);
    return baudRate_;
}

bool SimulatedPort::drain() {
    std::lock_guard lock(mutex_);
    if (!open_ || board_.line().hungUp()) {
        return false;
    }
    clock_.advanceToUs(board_.line().hostSendingEndsUs());
    return true;
}

long SimulatedPort::write(std::span<const std::uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    if (!open_ || !board_.line().hostSends(bytes, baudRate_, clock_.nowUs())) {
        return -1;
    }
    return static_cast<long>(bytes.size());
}

std::size_t SimulatedPort::read(std::span<std::uint8_t> into, int timeoutMs) {
    std::lock_guard lock(mutex_);
    BoardLine& line = board_.line();
    if (!open_ || line.hungUp() || into.empty()) {
        return 0;
    }
    const std::int64_t nowUs = clock_.nowUs();
    if (const std::size_t count = line.take(into, nowUs); count > 0) {
        return count;
    }
    const std::int64_t deadlineUs = nowUs + std::int64_t{std::max(timeoutMs, 0)} * 1000;
    const auto nextUs = line.nextReplyUs();
    if (nextUs && *nextUs <= deadlineUs) {
        clock_.advanceToUs(*nextUs);
        return line.take(into, *nextUs);
    }
    clock_.advanceToUs(deadlineUs);
    return 0;
}

}  // namespace zavuv::sim
