#include "chips/At89sSteps.h"

#include "chips/At89sInstructions.h"
#include "chips/AvrInstructions.h"
#include "chips/LockFuseInstructions.h"
#include "devices/At89SLockCoding.h"
#include "devices/FuseCoding.h"

namespace zavuv::chips::at89s {

using devices::FuseByte;
using link::BoardCommand;

namespace {

// The AT89S8252 and AT89S53 need this long for a lock level write.
constexpr int kLockLevelPauseMs = 150;

}  // namespace

bool enterAfterReset(link::BoardConnection& connection, EnableLength length) {
    link::ProgrammerLink& link = connection.link();
    if (!link.send(BoardCommand::CMD_RESET_89) || link.receiveByte() < 0)
        return connection.linkFailure();
    // The same instruction as the AVR chips'; the older AT89S and the AT25 take
    // its first three bytes.
    const bool sent =
        length == EnableLength::FourBytes
            ? link.send(BoardCommand::CMD_SPI4, avr::kProgrammingEnable)
            : link.send(BoardCommand::CMD_SPI3, std::span(avr::kProgrammingEnable).first(3));
    if (sent)
        link.receiveByte();
    connection.messages().status(text::Msg::ConnectionAccepted);
    return true;
}

bool readSignature(link::ProgrammerLink& link, SignatureAddressing addressing,
                   SignatureBytes& signature) {
    signature = {0xFF, 0xFF, 0xFF};
    for (std::uint8_t i = 0; i < 3; ++i) {
        const bool sent =
            addressing == SignatureAddressing::Register
                ? link.send(BoardCommand::CMD_SPI_READ,
                            {kReadSignature, 0x00,
                             static_cast<std::uint8_t>(kAt89S8253SignatureAddress + i)})
                : link.send(BoardCommand::CMD_SPI_READ, {kReadSignature, i, 0x00});
        if (!sent)
            return false;
        const int value = link.receiveByte();
        if (value < 0)
            return false;
        signature[i] = value;
    }
    return true;
}

bool readLockFuse(const ChipSession& session, const devices::LockFuseLayout& layout,
                  LockAnswer answer, devices::LockFuseState& state) {
    const auto lock = readLockFuseInstruction(session.link, layout.lockReadCmd);
    if (!lock)
        return false;
    state.lockMode = answer == LockAnswer::At89S8253
                         ? devices::decodeAt89S8253LockAnswer(layout, *lock)
                         : devices::decodeAt89S51LockAnswer(layout, *lock);
    const devices::FuseByteLayout& low = layout.fuseByte(FuseByte::Low);
    if (!low.readable)
        return true;
    const auto fuses = readLockFuseInstruction(session.link, low.readCmd);
    if (!fuses)
        return false;
    devices::decodeFuseByte(layout, FuseByte::Low, *fuses, state);
    return true;
}

LockFuseWrite writeLockLevel3(const ChipSession& session, const devices::LockFuseLayout& layout,
                              const devices::LockFuseState& state) {
    const devices::Instruction lock = devices::encodeAt89SLockLevel(layout, state);
    const LockFuseWrite sent =
        sendLockFuseInstruction(session.link, BoardCommand::CMD_SPI3, std::span(lock).first(3), 0);
    if (sent == LockFuseWrite::SendFailed) {
        session.messages.box(text::Msg::ConnectionError);
        return sent;
    }
    session.link.pause(kLockLevelPauseMs);
    if (sent == LockFuseWrite::Acknowledged)
        session.messages.status(text::Msg::LockFuseProgrammed);
    return sent;
}

bool eraseLocked(link::ProgrammerLink& link) {
    return link.send(BoardCommand::CMD_SPI3, kAt89S8252ChipErase) && link.expectAck();
}

}  // namespace zavuv::chips::at89s
