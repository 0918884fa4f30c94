#pragma once
// AT25 SPI serial EEPROMs: raw SPI bytes through the board, page by page.
// They have no Flash, no signature and no lock bits to read.

#include "chips/ChipDriver.h"

namespace zavuv::chips {

class At25Driver final : public ChipDriver {
public:
    At25Driver();

    bool enterProgramming(link::BoardConnection& connection,
                          const link::TargetOptions& options) const override;
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
