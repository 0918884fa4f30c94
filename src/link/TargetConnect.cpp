// The connect sequence of every chip operation and its three ways into the
// target's programming mode.

#include "link/BoardConnection.h"

#include "devices/DeviceTable.h"
#include "text/UiText.h"

namespace zavuv::link {

namespace {

using devices::DeviceInfo;
using devices::DeviceTable;
using devices::ProgAlgorithm;

constexpr int kModePauseMs = 50;
// Lets the USB adapter and the board settle on the new baud rate.
constexpr int kBaudSwitchPauseMs = 45;

// DataFlash is clocked at a fixed rate while the board selects it.
constexpr std::uint8_t kAt45SckCode = 0x04;
constexpr int kAt45SettlePauseMs = 150;
constexpr int kAt45ModePauseMs = 25;
constexpr int kAt45CommandPauseMs = 15;
constexpr int kAt45RetryPauseMs = 40;
constexpr int kAt45StatusAttempts = 5;
constexpr std::uint8_t kAt45StatusRead = 0xD7;

// A reset strobe this long or longer needs the board's long reset command.
constexpr int kLongResetStrobeMs = 100;

// The serial Programming Enable instruction of the AVR and AT89S chips.
constexpr std::uint8_t kProgrammingEnable[] = {0xAC, 0x53, 0x00, 0x00};

constexpr int kConnectionAccepted = 1040;
constexpr int kResetStrobe = 1039;
constexpr int kAt45Detected = 1184;
constexpr int kAt45NotDetected = 1187;
constexpr int kAt45DetectedAs = 1188;

}  // namespace

bool BoardConnection::connectTarget(const TargetOptions& options, int port, SpeedCode speed) {
    state_.bootLoaderSeen = false;
    state_.versionConflict = false;
    const DeviceInfo& current = DeviceTable::at(options.selectedDevice);
    const DeviceInfo& projectDevice = DeviceTable::at(options.deviceNo);
    link_.setSessionMode({options.spiPeriod, options.polling, &current});

    SerialChannel& channel = link_.channel();
    if (!channel.open(port - 1, 19200)) {
        messages_.cannotOpenPort();
        return false;
    }
    if (!synchronise())
        return false;
    const auto version = requestVersion(0);
    if (!version)
        return linkFailure();
    if (!checkVersion(*version, false)) {
        link_.endSession();
        return false;
    }

    if (!link_.acknowledged(BoardCommand::CMD_SELECT_DEVICE,
                            {static_cast<std::uint8_t>(current.boardDeviceCode)}) ||
        !link_.acknowledged(BoardCommand::CMD_SET_WORD, {0x00, 0x00}))
        return linkFailure();

    const std::uint8_t sck =
        current.isAt45() ? kAt45SckCode : sckCodeFor(options.spiPeriod, current);
    if (!link_.send(BoardCommand::CMD_SET_MODE, modeArguments(speed, sck, options.polling)))
        return linkFailure();
    link_.pause(kModePauseMs);
    if (!link_.expectAck())
        return linkFailure();
    link_.pause(kModePauseMs);

    if (speed != SpeedCode::Baud19200) {
        // The board answered at the old rate and now listens at the new one.
        channel.close();
        link_.pause(kBaudSwitchPauseMs);
        if (!channel.open(port - 1, baudRateOf(speed))) {
            messages_.cannotOpenPort();
            return false;
        }
        link_.pause(kBaudSwitchPauseMs);
    }

    if (projectDevice.isAt45())
        return enterDataFlash(options);
    if (projectDevice.algorithm != ProgAlgorithm::Avr)
        return enterAt89OrAt25(options);
    return enterAvr(options);
}

std::optional<std::uint8_t> BoardConnection::readDataFlashStatus() {
    // Select, send the status-register opcode, clock the status out, deselect.
    // The acknowledgements carry no information, but each must come.
    if (!link_.send(BoardCommand::CMD_AT45_SELECT))
        return std::nullopt;
    link_.pause(kAt45CommandPauseMs);
    if (link_.receiveByte() < 0 ||
        !link_.send(BoardCommand::CMD_SPI_WRITE_BYTE, {kAt45StatusRead}) || link_.receiveByte() < 0)
        return std::nullopt;
    link_.pause(kAt45CommandPauseMs);
    if (!link_.send(BoardCommand::CMD_SPI_READ_BYTE))
        return std::nullopt;
    const int status = link_.receiveByte();
    if (status < 0 || !link_.send(BoardCommand::CMD_AT45_DESELECT) || link_.receiveByte() < 0)
        return std::nullopt;
    return static_cast<std::uint8_t>(status);
}

bool BoardConnection::enterDataFlash(const TargetOptions& options) {
    link_.pause(kAt45SettlePauseMs);
    // Back to the project's own SCK period, without polling. A board that does
    // not take it is given up on quietly.
    if (!link_.send(BoardCommand::CMD_SET_MODE,
                    modeArguments(SpeedCode::Baud19200, sckCode(options.spiPeriod), false))) {
        link_.channel().close();
        return false;
    }
    link_.pause(kAt45ModePauseMs);
    if (!link_.expectAck()) {
        link_.channel().close();
        return false;
    }
    link_.pause(kAt45ModePauseMs);

    if (!link_.send(BoardCommand::CMD_RESET_SHORT))
        return linkFailure();
    link_.pause(kAt45CommandPauseMs);
    if (!link_.expectAck())
        return linkFailure();

    // A DataFlash has no signature; the size bits of its status register tell
    // the family member, and a chip just out of reset may still answer 0xFF.
    int found = -1;
    for (int attempt = 0; attempt < kAt45StatusAttempts && found < 0; ++attempt) {
        if (attempt > 0)
            link_.pause(kAt45RetryPauseMs);
        const auto status = readDataFlashStatus();
        if (!status)
            return linkFailure();
        found = DeviceTable::findAt45ByStatus(*status);
    }

    // Information only: the operation goes on whatever was detected.
    messages_.status(std::string());
    if (found == options.deviceNo)
        messages_.status(text::formatUiText(kAt45Detected, DeviceTable::at(found).name));
    else if (found < 0)
        messages_.status(kAt45NotDetected);
    else
        messages_.status(text::formatUiText(kAt45DetectedAs, DeviceTable::at(found).name));
    return true;
}

bool BoardConnection::enterAt89OrAt25(const TargetOptions& options) {
    const DeviceInfo& device = DeviceTable::at(options.deviceNo);
    if (!link_.send(BoardCommand::CMD_RESET_89) || link_.receiveByte() < 0)
        return linkFailure();
    // The AT89S51-style chips and the AT89S8253 take the four-byte instruction,
    // the older AT89S and the AT25 three bytes. Their answer is not checked:
    // the operation that follows finds out whether the chip listens.
    const bool fourBytes =
        device.algorithm == ProgAlgorithm::At89S51 || device.algorithm == ProgAlgorithm::At89S8253;
    const bool sent =
        fourBytes ? link_.send(BoardCommand::CMD_SPI4, kProgrammingEnable)
                  : link_.send(BoardCommand::CMD_SPI3, std::span(kProgrammingEnable).first(3));
    if (sent)
        link_.receiveByte();
    messages_.status(kConnectionAccepted);
    return true;
}

bool BoardConnection::enterAvr(const TargetOptions& options) {
    const DeviceInfo& device = DeviceTable::at(options.deviceNo);
    const int strobeMs = options.resetStrobeLength;
    if (!link_.send(strobeMs < kLongResetStrobeMs ? BoardCommand::CMD_RESET_SHORT
                                                  : BoardCommand::CMD_RESET_LONG) ||
        link_.receiveByte() < 0)
        return linkFailure();
    messages_.status(text::formatUiText(kResetStrobe, strobeMs));
    link_.pause(strobeMs);
    // Normally the board enables programming and finds step with the target
    // itself; some chips and set-ups need the bare instruction instead.
    const bool rawEnable = (device.forceProgEnable & 0xFF) != 0 || options.noSynchronization;
    const bool sent = rawEnable ? link_.send(BoardCommand::CMD_SPI4, kProgrammingEnable)
                                : link_.send(BoardCommand::CMD_PROG_ENABLE_SYNC);
    if (!sent || link_.receiveByte() < 0)
        return linkFailure();
    messages_.status(kConnectionAccepted);
    return true;
}

}  // namespace zavuv::link
