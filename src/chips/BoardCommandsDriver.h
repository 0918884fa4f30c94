#pragma once
// The chips the board programs with its own page and block commands: the AVR
// chips (ATtiny, ATmega, AT90, AT86RF401). The AT89S8252/53 and AT89S8253
// drivers take their memory steps from here too.

#include "chips/ChipDriver.h"

namespace zavuv::chips {

class BoardCommandsDriver : public ChipDriver {
public:
    BoardCommandsDriver();

    bool enterProgramming(link::BoardConnection& connection,
                          const link::TargetOptions& options) const override;
    base::EndCode program(const ChipSession& session, base::ProgressSink& sink,
                          const MemoryJob& job, const ProgressTexts& texts) const override;
    base::EndCode read(const ChipSession& session, base::ProgressSink& sink, const MemoryJob& job,
                       const ReadPass& pass) const override;
    base::EndCode blankCheck(const ChipSession& session, base::ProgressSink& sink,
                             const ProgressTexts& texts) const override;

protected:
    explicit BoardCommandsDriver(const ChipAbilities& abilities);
};

// The blank check in the board's whole read blocks, also that of chips
// without Flash (the timing code alone, and blank).
base::EndCode blankCheckInBlocks(const ChipSession& session, base::ProgressSink& sink);

}  // namespace zavuv::chips
