#pragma once
// The AT89S8253: its memories through the board's block commands, with an
// SCK code of its own, and the AT89S instruction set's signature, lock and
// fuse instructions.

#include "chips/BoardCommandsDriver.h"

namespace zavuv::chips {

class At89s8253Driver final : public BoardCommandsDriver {
public:
    At89s8253Driver();

    std::uint8_t sessionSckCode(int spiPeriod) const override;
    bool enterProgramming(link::BoardConnection& connection,
                          const link::TargetOptions& options) const override;
    bool readSignature(link::ProgrammerLink& link, SignatureBytes& signature) const override;
    bool eraseLockedChip(link::ProgrammerLink& link) const override;
    bool readLockFuse(const ChipSession& session, const devices::LockFuseLayout& layout,
                      devices::LockFuseState& state) const override;
    LockFuseWrite programLockFuse(const ChipSession& session, const devices::LockFuseLayout& layout,
                                  const devices::LockFuseState& state,
                                  bool programFuses) const override;
};

}  // namespace zavuv::chips
