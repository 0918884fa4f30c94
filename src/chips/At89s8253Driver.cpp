#include "chips/At89s8253Driver.h"

#include "chips/At89sSteps.h"
#include "chips/LockFuseInstructions.h"
#include "devices/At89SLockCoding.h"
#include "devices/FuseCoding.h"

namespace zavuv::chips {

using link::BoardCommand;

namespace {

// The board clocks the AT89S8253 with this bit set on top of the period code.
constexpr std::uint8_t kSckBit = 0x04;
// A lock or fuse write takes the chip this long before it acknowledges it.
constexpr int kWritePauseMs = 40;

constexpr ChipAbilities kAbilities{
    .signatureRead = SignatureRead::Instruction,
    .lockModeTexts = devices::LockModeTexts::At89S,
    .flashAddressUnit = 1,
};

}  // namespace

At89s8253Driver::At89s8253Driver() : BoardCommandsDriver(kAbilities) {}

std::uint8_t At89s8253Driver::sessionSckCode(int spiPeriod) const {
    return link::sckCode(spiPeriod) | kSckBit;
}

bool At89s8253Driver::enterProgramming(link::BoardConnection& connection,
                                       const link::TargetOptions&) const {
    return at89s::enterAfterReset(connection, at89s::EnableLength::FourBytes);
}

bool At89s8253Driver::readSignature(link::ProgrammerLink& link, SignatureBytes& signature) const {
    return at89s::readSignature(link, at89s::SignatureAddressing::Register, signature);
}

bool At89s8253Driver::eraseLockedChip(link::ProgrammerLink& link) const {
    return at89s::eraseLocked(link);
}

bool At89s8253Driver::readLockFuse(const ChipSession& session,
                                   const devices::LockFuseLayout& layout,
                                   devices::LockFuseState& state) const {
    return at89s::readLockFuse(session, layout, at89s::LockAnswer::At89S8253, state);
}

// The whole lock level in one instruction, sent even for mode 0, then the
// fuse byte whatever the caller asked for.
LockFuseWrite At89s8253Driver::programLockFuse(const ChipSession& session,
                                               const devices::LockFuseLayout& layout,
                                               const devices::LockFuseState& state, bool) const {
    const devices::Instruction lock = devices::encodeAt89SLockLevel(layout, state);
    const LockFuseWrite locked =
        sendLockFuseInstruction(session.link, BoardCommand::CMD_SPI4, lock, kWritePauseMs);
    if (!reportedAtOnce(session.messages, locked))
        return locked;
    session.messages.status(text::Msg::LockFuseProgrammed);
    if (const auto fuse = devices::encodeFuseInstruction(layout, devices::FuseByte::Low, state)) {
        const LockFuseWrite fused =
            sendLockFuseInstruction(session.link, BoardCommand::CMD_SPI4, *fuse, kWritePauseMs);
        if (!reportedAtOnce(session.messages, fused))
            return fused;
        session.messages.status(text::Msg::LockFuseProgrammed);
    }
    return LockFuseWrite::Acknowledged;
}

}  // namespace zavuv::chips
