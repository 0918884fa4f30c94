#include "sim/Board.h"

#include <fmt/format.h>

#include "sim/BoardCommand.h"
#include "sim/BoardIdentity.h"

namespace zavuv::sim {

namespace {

constexpr int kBaudRates[] = {19200, 115200, 921600};

// The board retries the AVR programming enable this often before it gives up.
constexpr int kProgEnableAttempts = 32;

}  // namespace

Board::Board(TargetChip& chip, ReplySink& sink, const FaultPlan& faults)
    : chip_(chip), sink_(sink), blocks_(chip), bootLoader_(sink),
      applicationRunning_(!faults.noFirmware), version_(faults.version.value_or(kFirmwareVersion)),
      pollingFail_(faults.pollingFail) {}

void Board::reply(std::uint8_t byte) {
    sink_.reply(std::span(&byte, 1));
}

std::uint16_t Board::countArgument() const {
    return static_cast<std::uint16_t>(arguments_[0] << 8 | arguments_[1]);
}

void Board::receive(std::uint8_t byte, std::int64_t nowUs) {
    if (!applicationRunning_) {
        if (bootLoader_.receive(byte, nowUs)) {
            applicationRunning_ = true;
            version_ = kFirmwareVersion;
            baudRate_ = kStartBaud;
        }
        return;
    }
    if (!command_) {
        command_ = byte;
        arguments_.clear();
    } else {
        arguments_.push_back(byte);
    }
    if (arguments_.size() == argumentsNeeded()) {
        execute(nowUs);
        command_.reset();
    }
}

std::size_t Board::argumentsNeeded() const {
    switch (static_cast<BoardCommand>(*command_)) {
    case BoardCommand::SelectDevice:
    case BoardCommand::SpiWriteByte:
    case BoardCommand::ReadBlock:
    case BoardCommand::ReadEepromBlock:
    case BoardCommand::SetParam:
        return 1;
    case BoardCommand::SetWord:
    case BoardCommand::Spi2:
    case BoardCommand::SpiReadN:
        return 2;
    case BoardCommand::SetMode:
    case BoardCommand::Spi3:
    case BoardCommand::SpiRead:
        return 3;
    case BoardCommand::Spi4:
        return 4;
    case BoardCommand::WriteBlock:
    case BoardCommand::WriteEepromBlock:
        return arguments_.empty() ? 1 : 1 + std::size_t{arguments_[0]};
    case BoardCommand::SpiWriteN:
        return arguments_.size() < 2 ? 2 : 2 + std::size_t{countArgument()};
    default:
        return 0;
    }
}

void Board::execute(std::int64_t nowUs) {
    switch (static_cast<BoardCommand>(*command_)) {
    case BoardCommand::Sync:
        reply('+');
        return;
    case BoardCommand::GetVersion:
        sink_.reply(
            std::span(reinterpret_cast<const std::uint8_t*>(version_.data()), version_.size()));
        return;
    case BoardCommand::GetId:
        sink_.reply(identityReply(kApplicationIdentity));
        return;
    case BoardCommand::GetSerial:
        sink_.reply(serialNumberReply());
        return;
    case BoardCommand::Escape:
        releaseTarget();  // back to idle; ESC has no reply
        return;
    case BoardCommand::SelectDevice:
        deviceCode_ = arguments_[0];
        blocks_.setDeviceCode(deviceCode_);
        reply(kCr);
        return;
    case BoardCommand::SetWord:
        blocks_.setWordAddress(countArgument());
        reply(kCr);
        return;
    case BoardCommand::SetMode:
        setMode();
        return;
    case BoardCommand::ResetShort:
    case BoardCommand::ResetLong:
    case BoardCommand::Reset89:
        // A reset pulse, then the target stays held for programming.
        chip_.setReset(false);
        chip_.setReset(true);
        targetHeld_ = true;
        reply(kCr);
        return;
    case BoardCommand::ProgEnableSync:
        for (int attempt = 0; attempt < kProgEnableAttempts; ++attempt) {
            chip_.transfer(0xAC);
            chip_.transfer(0x53);
            const std::uint8_t echo = chip_.transfer(0x00);
            chip_.transfer(0x00);
            if (echo == 0x53) {
                reply(kCr);
                return;
            }
        }
        reply(kEsc);  // the target never answered in step
        return;
    case BoardCommand::EndSession:
        releaseTarget();
        reply(kCr);
        return;
    case BoardCommand::At45Select:
    case BoardCommand::At25Select:
        chip_.setSelected(true);
        reply(kCr);
        return;
    case BoardCommand::At45Deselect:
    case BoardCommand::At25Deselect:
        chip_.setSelected(false);
        reply(kCr);
        return;
    case BoardCommand::SetParam:
        delayCode_ = arguments_[0];
        reply(kCr);
        return;
    case BoardCommand::BootEnter:
        releaseTarget();
        applicationRunning_ = false;  // the boot loader erases the application first
        bootLoader_.startUpload(nowUs);
        return;
    default:
        if (!executeSpi()) {
            executeBlock();
        }
    }
}

bool Board::executeSpi() {
    switch (static_cast<BoardCommand>(*command_)) {
    case BoardCommand::Spi2: {
        chip_.transfer(arguments_[0]);
        reply(chip_.transfer(arguments_[1]));
        return true;
    }
    case BoardCommand::Spi3:
    case BoardCommand::Spi4:
        for (std::uint8_t byte : arguments_) {
            chip_.transfer(byte);
        }
        reply(kCr);
        return true;
    case BoardCommand::SpiRead:
        for (std::uint8_t byte : arguments_) {
            chip_.transfer(byte);
        }
        reply(chip_.transfer(0x00));
        return true;
    case BoardCommand::SpiWriteByte:
        chip_.transfer(arguments_[0]);
        reply(kCr);
        return true;
    case BoardCommand::SpiReadByte:
        reply(chip_.transfer(0x00));
        return true;
    case BoardCommand::SpiWriteN:
        for (std::size_t i = 2; i < arguments_.size(); ++i) {
            chip_.transfer(arguments_[i]);
        }
        reply(kCr);
        return true;
    case BoardCommand::SpiReadN: {
        std::vector<std::uint8_t> data(countArgument());
        for (std::uint8_t& byte : data) {
            byte = chip_.transfer(0x00);
        }
        data.push_back(kCr);
        sink_.reply(data);
        return true;
    }
    default:
        return false;
    }
}

void Board::executeBlock() {
    const auto command = static_cast<BoardCommand>(*command_);
    const bool isRead =
        command == BoardCommand::ReadBlock || command == BoardCommand::ReadEepromBlock;
    const bool isWrite =
        command == BoardCommand::WriteBlock || command == BoardCommand::WriteEepromBlock;
    if (!isRead && !isWrite) {
        return;  // not a command of this board: ignored, as the firmware does
    }
    const std::size_t count = arguments_[0];
    if (count > kMaxBlock) {
        violations_.push_back(
            fmt::format("block of {} bytes after command 0x{:02X}; the board takes at most {}",
                        count, *command_, kMaxBlock));
    }
    blocks_.beginBlock();
    if (isRead) {
        std::vector<std::uint8_t> data(count);
        for (std::uint8_t& byte : data) {
            byte = command == BoardCommand::ReadBlock ? blocks_.readFlash() : blocks_.readEeprom();
        }
        sink_.reply(data);
        return;
    }
    bool written = true;
    for (std::size_t i = 1; i <= count; ++i) {
        const bool arrived = command == BoardCommand::WriteBlock
                                 ? blocks_.writeFlash(arguments_[i], polling_)
                                 : blocks_.writeEeprom(arguments_[i], polling_);
        written = written && arrived;
    }
    reply(written && !pollingFail_ ? kCr : kEsc);
}

// The CR still leaves at the old rate; the new rate holds from the next byte on.
void Board::setMode() {
    const std::uint8_t baudCode = arguments_[0];
    sckCode_ = arguments_[1];
    polling_ = arguments_[2] != 0;
    reply(kCr);
    if (baudCode < std::size(kBaudRates)) {
        baudRate_ = kBaudRates[baudCode];
    } else {
        violations_.push_back(fmt::format("unknown baud code {} in the mode command", baudCode));
    }
}

void Board::releaseTarget() {
    chip_.setSelected(false);
    chip_.setReset(false);
    targetHeld_ = false;
}

}  // namespace zavuv::sim
