#pragma once
// AT45 DataFlash: the board as a raw SPI bridge, one page at a time through
// the chip's buffer; the chip is detected by its status register.

#include "chips/ChipDriver.h"

namespace zavuv::chips {

class DataFlashDriver final : public ChipDriver {
public:
    DataFlashDriver();

    std::uint8_t connectSckCode(int spiPeriod) const override;
    bool enterProgramming(link::BoardConnection& connection,
                          const link::TargetOptions& options) const override;
    EraseResult erase(const ChipSession& session, base::ProgressRunner& runner) const override;
    base::EndCode program(const ChipSession& session, base::ProgressSink& sink,
                          const MemoryJob& job, const ProgressTexts& texts) const override;
    base::EndCode read(const ChipSession& session, base::ProgressSink& sink, const MemoryJob& job,
                       const ReadPass& pass) const override;
    base::EndCode blankCheck(const ChipSession& session, base::ProgressSink& sink,
                             const ProgressTexts& texts) const override;
};

// Erases every block of the device on an open session, one 8-page block at a
// time: the worker body behind the progress display. The session stays open.
base::EndCode eraseDataFlash(link::ProgrammerLink& link, const devices::DeviceInfo& device,
                             base::ProgressSink& progress);

}  // namespace zavuv::chips
