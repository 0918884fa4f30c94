#pragma once
// A serial port wired in-process to a simulated board, in virtual time: what the
// host writes reaches the board at once (or at line rate, when the board's line
// runs with line-rate timing), a reply becomes readable at the virtual time the
// board produced it, and a read that waits moves the virtual clock on by at most
// its time-out. After a hang-up reads return 0 at once and writes fail.

#include <mutex>

#include "base/VirtualClock.h"
#include "link/SerialPort.h"
#include "sim/SimulatedBoard.h"

namespace zavuv::sim {

class SimulatedPort : public link::SerialPort {
public:
    SimulatedPort(SimulatedBoard& board, base::VirtualClock& clock)
        : board_(board), clock_(clock) {}

    // False when the line is dead (an unplugged adapter).
    bool open(int baudRate) override;
    void close() override;
    bool isOpen() const override;
    bool drain() override;
    long write(std::span<const std::uint8_t> bytes) override;
    std::size_t read(std::span<std::uint8_t> into, int timeoutMs) override;

    int baudRate() const;

private:
    mutable std::mutex mutex_;
    SimulatedBoard& board_;
    base::VirtualClock& clock_;
    bool open_ = false;
    int baudRate_ = 0;
};

}  // namespace zavuv::sim
