#include "operations/DataFlashErase.h"

#include "text/UiText.h"

namespace zavuv::operations {

using link::BoardCommand;

namespace {

constexpr int kPagesPerBlock = 8;
constexpr std::uint8_t kBlockErase = 0x50;
// The block erase opcode and three address bytes go out through the board's
// n-byte SPI write.
constexpr std::uint8_t kEraseCommandLength = 4;
// The deselect starts the block erase: the board settles before it, and the
// chip needs the second pause to finish the erase after it.
constexpr int kEraseStartPauseMs = 20;
constexpr int kBlockErasePauseMs = 50;

constexpr int kEraseTitle = 1186;
constexpr int kErasingDevice = 1075;

}  // namespace

int eraseDataFlash(link::ProgrammerLink& link, const devices::DeviceInfo& device,
                   base::ProgressSink& progress) {
    const int pages = (device.flashSize + device.pageSize - 1) / device.pageSize;
    progress.setup(text::GetUiText(kEraseTitle), text::GetUiText(kErasingDevice), pages);
    if (!link.acknowledged(BoardCommand::CMD_AT45_DESELECT))
        return base::kEndLinkFailure;
    for (int block = 0; block < pages; block += kPagesPerBlock) {
        const int address = block << device.addressShift();
        if (!link.acknowledged(BoardCommand::CMD_AT45_SELECT) ||
            !link.acknowledged(BoardCommand::CMD_SPI_WRITE_N,
                               {0x00, kEraseCommandLength, kBlockErase,
                                static_cast<std::uint8_t>(address >> 8),
                                static_cast<std::uint8_t>(address), 0x00}))
            return base::kEndLinkFailure;
        link.pause(kEraseStartPauseMs);
        if (!link.acknowledged(BoardCommand::CMD_AT45_DESELECT))
            return base::kEndLinkFailure;
        link.pause(kBlockErasePauseMs);
        if (progress.cancelRequested())
            return base::kEndCancelled;
        progress.reportProgress(block);
    }
    return base::kEndDone;
}

}  // namespace zavuv::operations
