#pragma once
// The programmer board's firmware: it takes the host's bytes one at a time,
// gathers each command's arguments, drives the target chip's reset, select and
// SPI lines, and replies through the sink. When no valid application is present
// the boot loader runs instead.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/BlockAccess.h"
#include "sim/BootLoader.h"
#include "sim/FaultPlan.h"
#include "sim/ReplySink.h"
#include "sim/TargetChip.h"

namespace zavuv::sim {

class Board {
public:
    static constexpr int kStartBaud = 19200;
    static constexpr std::size_t kMaxBlock = 64;  // the board's block buffer

    // Uses the faults no-firmware, version and polling-fail.
    Board(TargetChip& chip, ReplySink& sink, const FaultPlan& faults);

    void receive(std::uint8_t byte, std::int64_t nowUs);

    // The line rate the board's UART runs at now.
    int baudRate() const { return baudRate_; }
    bool applicationRunning() const { return applicationRunning_; }
    const BootLoader& bootLoader() const { return bootLoader_; }
    std::uint8_t deviceCode() const { return deviceCode_; }
    std::uint8_t sckCode() const { return sckCode_; }
    bool polling() const { return polling_; }
    std::uint8_t delayCode() const { return delayCode_; }
    // A programming session holds the target in reset until '-', ESC or '^'.
    bool targetHeld() const { return targetHeld_; }

    // Commands the host got wrong in ways the real board cannot report (a block
    // longer than its buffer, an unknown baud code), for the tests to assert.
    const std::vector<std::string>& protocolViolations() const { return violations_; }

private:
    std::size_t argumentsNeeded() const;
    void execute(std::int64_t nowUs);
    bool executeSpi();  // false: not an SPI command
    void executeBlock();
    void setMode();
    void releaseTarget();
    void reply(std::uint8_t byte);
    std::uint16_t countArgument() const;

    TargetChip& chip_;
    ReplySink& sink_;
    BlockAccess blocks_;
    BootLoader bootLoader_;
    bool applicationRunning_;
    std::array<char, 3> version_;
    const bool pollingFail_;

    int baudRate_ = kStartBaud;
    std::uint8_t deviceCode_ = 0;
    std::uint8_t sckCode_ = 0;
    bool polling_ = false;
    std::uint8_t delayCode_ = 0xFF;
    bool targetHeld_ = false;

    std::optional<std::uint8_t> command_;
    std::vector<std::uint8_t> arguments_;
    std::vector<std::string> violations_;
};

}  // namespace zavuv::sim
