#pragma once
// The AT89S8252 and AT89S53: their memories through the board's block
// commands, their own erase and lock instructions, no readable signature.

#include "chips/BoardCommandsDriver.h"

namespace zavuv::chips {

class At89s8252Driver final : public BoardCommandsDriver {
public:
    At89s8252Driver();

    bool enterProgramming(link::BoardConnection& connection,
                          const link::TargetOptions& options) const override;
    bool eraseLockedChip(link::ProgrammerLink& link) const override;
    bool readLockFuse(const ChipSession& session, const devices::LockFuseLayout& layout,
                      devices::LockFuseState& state) const override;
    LockFuseWrite programLockFuse(const ChipSession& session, const devices::LockFuseLayout& layout,
                                  const devices::LockFuseState& state,
                                  bool programFuses) const override;

protected:
    bool sendEraseInstructions(link::ProgrammerLink& link,
                               const devices::DeviceInfo& device) const override;
};

}  // namespace zavuv::chips
