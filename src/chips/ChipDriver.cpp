#include "chips/ChipDriver.h"

#include "chips/AvrInstructions.h"
#include "chips/LockFuseInstructions.h"
#include "devices/FuseCoding.h"
#include "devices/LockByteCoding.h"

namespace zavuv::chips {

using devices::FuseByte;
using devices::Instruction;
using link::BoardCommand;

namespace {

// The chip acknowledges an erase only after this long, and needs the second
// pause to finish it before the session may end.
constexpr int kEraseAckPauseMs = 10;
constexpr int kEraseEndPauseMs = 15;
// Between the two erase instructions of a chip that takes two.
constexpr int kSecondErasePauseMs = 7;
// A lock write takes the chip this long before it acknowledges it.
constexpr int kLockWritePauseMs = 40;

}  // namespace

bool ChipDriver::sendEraseInstructions(link::ProgrammerLink& link,
                                       const devices::DeviceInfo& device) const {
    if (device.eraseSequence == devices::EraseSequence::TwiceWithByteLoad) {
        if (!link.acknowledged(BoardCommand::CMD_SPI4, avr::kChipErase))
            return false;
        link.pause(kSecondErasePauseMs);
        if (!link.acknowledged(BoardCommand::CMD_SPI4, avr::kLoadErasedFlashByte))
            return false;
    }
    return link.send(BoardCommand::CMD_SPI4, avr::kChipErase);
}

bool ChipDriver::readSignature(link::ProgrammerLink& link, SignatureBytes& signature) const {
    return readCheckedSignature(link, signature);
}

bool ChipDriver::readCheckedSignature(link::ProgrammerLink& link, SignatureBytes& signature) {
    signature = {0xFF, 0xFF, 0xFF};
    for (std::uint8_t i = 0; i < 3; ++i) {
        if (!link.send(BoardCommand::CMD_SPI_READ, {avr::kReadSignatureByte, 0x00, i}))
            return false;
        const int value = link.receiveByte();
        if (value < 0)
            return false;
        signature[i] = value;
    }
    return true;
}

EraseResult ChipDriver::erase(const ChipSession& session, base::ProgressRunner&) const {
    link::ProgrammerLink& link = session.link;
    if (!sendEraseInstructions(link, session.device))
        return EraseResult::LinkFailure;
    link.pause(kEraseAckPauseMs);
    if (!link.expectAck())
        return EraseResult::LinkFailure;
    link.pause(kEraseEndPauseMs);
    return EraseResult::Erased;
}

bool ChipDriver::eraseLockedChip(link::ProgrammerLink& link) const {
    return link.send(BoardCommand::CMD_SPI4, avr::kChipErase) && link.expectAck();
}

bool ChipDriver::readLockFuse(const ChipSession& session, const devices::LockFuseLayout& layout,
                              devices::LockFuseState& state) const {
    const auto lock = readLockFuseInstruction(session.link, layout.lockReadCmd);
    if (!lock)
        return false;
    decodeLockByte(layout, *lock, state, session.messages.user());
    std::vector<std::uint8_t> answers;
    for (FuseByte which : fuseReadOrder(layout)) {
        const auto answer = readLockFuseInstruction(session.link, layout.fuseByte(which).readCmd);
        if (!answer)
            return false;
        answers.push_back(*answer);
    }
    decodeFuseBytes(layout, *lock, answers, state);
    return true;
}

// Fuse bytes low, high, extended, then the lock byte when it programs
// anything; the first failure stops the sequence.
LockFuseWrite ChipDriver::programLockFuse(const ChipSession& session,
                                          const devices::LockFuseLayout& layout,
                                          const devices::LockFuseState& state,
                                          bool programFuses) const {
    if (programFuses && layout.fuseCount > 0) {
        for (const Instruction& fuse : encodeFuseInstructions(layout, state)) {
            const LockFuseWrite sent =
                sendLockFuseInstruction(session.link, BoardCommand::CMD_SPI4, fuse, 0);
            if (!reportedAtOnce(session.messages, sent))
                return sent;
        }
        session.messages.status(text::Msg::LockFuseProgrammed);
    }
    if (const auto lock = encodeLockInstruction(layout, state)) {
        const LockFuseWrite sent =
            sendLockFuseInstruction(session.link, BoardCommand::CMD_SPI4, *lock, kLockWritePauseMs);
        if (!reportedAtOnce(session.messages, sent))
            return sent;
        session.messages.status(text::Msg::LockFuseProgrammed);
    }
    return LockFuseWrite::Acknowledged;
}

std::optional<std::uint8_t> ChipDriver::readCalibrationByte(link::ProgrammerLink& link,
                                                            int index) const {
    if (!link.send(BoardCommand::CMD_SPI_READ,
                   {avr::kReadCalibrationByte, 0x00, static_cast<std::uint8_t>(index)}))
        return std::nullopt;
    const int value = link.receiveByte();
    if (value < 0)
        return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

}  // namespace zavuv::chips
