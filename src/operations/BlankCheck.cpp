#include "operations/BlankCheck.h"

#include <algorithm>

#include "operations/ChipSteps.h"
#include "operations/ChipWay.h"
#include "operations/MemoryTiming.h"
#include "text/UiText.h"

namespace zavuv::operations {

using link::BoardCommand;

namespace {

constexpr int kTitle = 1146;
constexpr int kCheckingFlash = 1147;
constexpr std::uint8_t kReadCodeByte = 0x20;
constexpr std::uint8_t kErased = 0xFF;
// The end code of a chip that is not blank.
constexpr int kEndNotBlank = base::kEndPollingFailure;

class BlankChecker {
public:
    BlankChecker(workspace::Workspace& ws, base::ProgressSink& sink)
        : ws_(ws), link_(ws.link()), sink_(sink), device_(ws.projectDeviceInfo()),
          flashSize_(static_cast<std::size_t>(std::max(device_.flashSize, 0))),
          title_(text::GetUiText(kTitle)), text_(text::GetUiText(kCheckingFlash)) {}

    int run() {
        sink_.setup(title_, text_, static_cast<int>(flashSize_ / link::kMaxBlockBytes));
        switch (chipWayOf(device_)) {
        case ChipWay::DataFlash:
            return dataFlashPages();
        case ChipWay::SingleBytes:
            return singleBytes();
        case ChipWay::At25Pages:  // no Flash: 'W' alone, and blank
        case ChipWay::BoardCommands:
            break;
        }
        return wholeBlocks();
    }

private:
    int dataFlashPages() {
        const auto pageBytes = static_cast<std::size_t>(device_.pageSize);
        sink_.setup(title_, text_, static_cast<int>((flashSize_ + pageBytes - 1) / pageBytes));
        if (!startDataFlashArrayRead(ws_))
            return base::kEndLinkFailure;
        for (std::size_t p = 0, o = 0; o < flashSize_; ++p, o += pageBytes) {
            const std::size_t count = std::min(pageBytes, flashSize_ - o);
            if (!link_.send(BoardCommand::CMD_SPI_READ_N,
                            {static_cast<std::uint8_t>(count >> 8),
                             static_cast<std::uint8_t>(count & 0xFF)}))
                return base::kEndLinkFailure;
            bool notBlank = false;
            for (std::size_t i = 0; i < count; ++i) {
                const int value = link_.receiveByte();
                if (value < 0)
                    break;  // a missing byte is a link matter, not a programmed one
                notBlank = notBlank || value != kErased;
            }
            // What was seen counts even when the page's closing CR is missing.
            if (!link_.expectAck())
                return notBlank ? kEndNotBlank : base::kEndLinkFailure;
            if (notBlank)
                return kEndNotBlank;
            if (sink_.cancelRequested())
                return base::kEndCancelled;
            sink_.reportProgress(static_cast<int>(p));
        }
        return base::kEndDone;
    }

    int singleBytes() {
        for (std::size_t i = 0; i < flashSize_; ++i) {
            const int value = readSpiByte(ws_, kReadCodeByte, i);
            if (value < 0)
                return connectionErrorBox(ws_);
            if (value != kErased)
                return kEndNotBlank;
            if (sink_.cancelRequested())
                return base::kEndCancelled;
            sink_.reportProgress(static_cast<int>(i / link::kMaxBlockBytes));
        }
        return base::kEndDone;
    }

    int wholeBlocks() {
        if (!sendTimingCode(ws_, readTimingCode(ws_.project(), device_, true)))
            return base::kEndLinkFailure;
        const std::size_t blocks = flashSize_ / link::kMaxBlockBytes;
        for (std::size_t b = 0; b < blocks; ++b) {
            if (!link_.send(BoardCommand::CMD_READ_BLOCK, {link::kMaxBlockBytes}))
                return connectionErrorBox(ws_);
            const auto bytes = link_.receive(link::kMaxBlockBytes);
            if (!bytes)
                return connectionErrorBox(ws_);
            if (std::ranges::any_of(*bytes, [](std::uint8_t v) { return v != kErased; }))
                return kEndNotBlank;
            if (sink_.cancelRequested())
                return base::kEndCancelled;
            waitMs(ws_, ws_.boardDelays.pageReadDelayMs);
            sink_.reportProgress(static_cast<int>(b));
        }
        return base::kEndDone;
    }

    workspace::Workspace& ws_;
    link::ProgrammerLink& link_;
    base::ProgressSink& sink_;
    const devices::DeviceInfo& device_;
    const std::size_t flashSize_;
    const std::string title_;
    const std::string text_;
};

}  // namespace

int blankCheckFlash(workspace::Workspace& ws, base::ProgressSink& sink) {
    return BlankChecker(ws, sink).run();
}

}  // namespace zavuv::operations
