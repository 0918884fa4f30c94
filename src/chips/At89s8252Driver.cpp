#include "chips/At89s8252Driver.h"

#include "chips/At89sInstructions.h"
#include "chips/At89sSteps.h"

namespace zavuv::chips {

namespace {

constexpr ChipAbilities kAbilities{
    .signatureRead = SignatureRead::None,
    .lockRefusalAfterSession = true,
    .lockModeTexts = devices::LockModeTexts::At89S,
    .flashAddressUnit = 1,
};

}  // namespace

At89s8252Driver::At89s8252Driver() : BoardCommandsDriver(kAbilities) {}

bool At89s8252Driver::enterProgramming(link::BoardConnection& connection,
                                       const link::TargetOptions&) const {
    return at89s::enterAfterReset(connection, at89s::EnableLength::ThreeBytes);
}

bool At89s8252Driver::sendEraseInstructions(link::ProgrammerLink& link,
                                            const devices::DeviceInfo&) const {
    return link.send(link::BoardCommand::CMD_SPI3, at89s::kAt89S8252ChipErase);
}

bool At89s8252Driver::eraseLockedChip(link::ProgrammerLink& link) const {
    return at89s::eraseLocked(link);
}

// These chips' lock bits cannot be read back.
bool At89s8252Driver::readLockFuse(const ChipSession&, const devices::LockFuseLayout&,
                                   devices::LockFuseState&) const {
    return true;
}

LockFuseWrite At89s8252Driver::programLockFuse(const ChipSession& session,
                                               const devices::LockFuseLayout& layout,
                                               const devices::LockFuseState& state, bool) const {
    return at89s::writeLockLevel3(session, layout, state);
}

}  // namespace zavuv::chips
