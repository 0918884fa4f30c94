#pragma once
// The AT89S51 instruction set (AT89S2051, AT89S4051, AT89S51, AT89S52): every
// byte of the memories is one SPI instruction of its own.

#include "chips/ChipDriver.h"

namespace zavuv::chips {

class At89sBytesDriver final : public ChipDriver {
public:
    At89sBytesDriver();

    bool enterProgramming(link::BoardConnection& connection,
                          const link::TargetOptions& options) const override;
    bool readSignature(link::ProgrammerLink& link, SignatureBytes& signature) const override;
    bool eraseLockedChip(link::ProgrammerLink& link) const override;
    base::EndCode program(const ChipSession& session, base::ProgressSink& sink,
                          const MemoryJob& job, const ProgressTexts& texts) const override;
    base::EndCode read(const ChipSession& session, base::ProgressSink& sink, const MemoryJob& job,
                       const ReadPass& pass) const override;
    base::EndCode blankCheck(const ChipSession& session, base::ProgressSink& sink,
                             const ProgressTexts& texts) const override;
    bool readLockFuse(const ChipSession& session, const devices::LockFuseLayout& layout,
                      devices::LockFuseState& state) const override;
    LockFuseWrite programLockFuse(const ChipSession& session, const devices::LockFuseLayout& layout,
                                  const devices::LockFuseState& state,
                                  bool programFuses) const override;
};

}  // namespace zavuv::chips
