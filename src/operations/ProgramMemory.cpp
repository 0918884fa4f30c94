#include "operations/ProgramMemory.h"

#include <algorithm>
#include <vector>

#include "operations/ChipSteps.h"
#include "operations/ChipWay.h"
#include "operations/MemoryTiming.h"
#include "text/UiText.h"

namespace zavuv::operations {

using buffers::ByteState;
using link::BoardCommand;
using link::kAck;

namespace {

constexpr int kTitle = 1071;
constexpr int kProgrammingFlash = 1072;
constexpr int kProgrammingEeprom = 1073;
constexpr int kSizeWarning = 1028;
constexpr int kCaption = 1025;

// The board answers a write block with ESC when its data polling gave up.
constexpr int kPollingFailed = 0x1B;

// AVR serial programming instructions.
constexpr std::uint8_t kLoadExtendedAddress = 0x4D;
constexpr std::uint8_t kWriteProgramMemoryPage = 0x4C;
// AT89S51-style byte writes.
constexpr std::uint8_t kWriteCodeByte = 0x40;
constexpr std::uint8_t kWriteDataByte = 0xC0;
// DataFlash instructions.
constexpr std::uint8_t kBuffer1Write = 0x84;
constexpr std::uint8_t kBuffer1ToPageWithErase = 0x83;
// AT25 instructions.
constexpr std::uint8_t kAt25WriteEnable = 0x06;
constexpr std::uint8_t kAt25Write = 0x02;
constexpr std::uint8_t kAt25WriteDisable = 0x04;

std::uint8_t byteAt(std::size_t value, int shift) {
    return static_cast<std::uint8_t>((value >> shift) & 0xFF);
}

class Programmer {
public:
    Programmer(workspace::Workspace& ws, base::ProgressSink& sink, const MemoryJob& job)
        : ws_(ws), link_(ws.link()), sink_(sink), job_(job), device_(ws.projectDeviceInfo()),
          project_(ws.project()), data_(job.buffer.data()), n_(job.amount()),
          text_(text::GetUiText(job.isFlash ? kProgrammingFlash : kProgrammingEeprom)),
          title_(text::GetUiText(kTitle)) {}

    int run() {
        job_.buffer.setAllStates(ByteState::Created);
        if (job_.buffer.size() > n_ && !confirmSizeWarning())
            return base::kEndCancelled;
        int code = base::kEndDone;
        switch (chipWayOf(device_)) {
        case ChipWay::DataFlash:
            code = dataFlashPages();
            break;
        case ChipWay::SingleBytes:
            code = singleBytes();
            break;
        case ChipWay::At25Pages:
            code = at25Pages();
            break;
        case ChipWay::BoardCommands:
            code = boardCommands();
            break;
        }
        if (code == base::kEndDone)
            job_.buffer.redraw();
        return code;
    }

private:
    bool confirmSizeWarning() {
        const std::string warning =
            text::formatUiText(kSizeWarning, n_, job_.isFlash ? "Flash" : "Eeprom");
        return ws_.user().ask(warning, base::QuestionButtons::OkCancel, base::MessageIcon::Question,
                              base::Answer::Ok, text::GetUiText(kCaption)) == base::Answer::Ok;
    }

    void markProgrammed(std::size_t offset, std::size_t count) {
        for (std::size_t i = offset; i < offset + count; ++i)
            job_.buffer.setState(i, ByteState::Programmed);
    }

    int pageDelayMs() const { return pageWriteDelayMs(project_, device_, job_.isFlash); }

    int pageCount(std::size_t pageBytes) const {
        return static_cast<int>((n_ + pageBytes - 1) / pageBytes);
    }

    int dataFlashPages() {
        const auto pageBytes = static_cast<std::size_t>(device_.pageSize);
        sink_.setup(title_, text_, pageCount(pageBytes));
        if (!link_.acknowledged(BoardCommand::CMD_AT45_DESELECT))
            return base::kEndLinkFailure;
        std::vector<std::uint8_t> transfer;
        for (std::size_t p = 0, o = 0; o < n_; ++p, o += pageBytes) {
            const std::size_t count = std::min(pageBytes, n_ - o);
            if (!link_.acknowledged(BoardCommand::CMD_AT45_SELECT) ||
                !link_.acknowledged(BoardCommand::CMD_SPI_WRITE_N,
                                    {0x00, 0x04, kBuffer1Write, 0x00, 0x00, 0x00}))
                return base::kEndLinkFailure;
            // The whole chip buffer is filled, the page's tail with the erased value.
            transfer.assign({byteAt(pageBytes, 8), byteAt(pageBytes, 0)});
            transfer.insert(transfer.end(), data_.begin() + o, data_.begin() + o + count);
            transfer.resize(2 + pageBytes, 0xFF);
            if (!link_.send(BoardCommand::CMD_SPI_WRITE_N, transfer))
                return base::kEndLinkFailure;
            markProgrammed(o, count);
            const auto address =
                devices::DeviceTable::at45PageAddress(device_, static_cast<int>(p));
            if (!link_.expectAck() || !link_.acknowledged(BoardCommand::CMD_AT45_DESELECT) ||
                !link_.acknowledged(BoardCommand::CMD_AT45_SELECT) ||
                !link_.acknowledged(
                    BoardCommand::CMD_SPI_WRITE_N,
                    {0x00, 0x04, kBuffer1ToPageWithErase, address[0], address[1], 0x00}) ||
                !link_.acknowledged(BoardCommand::CMD_AT45_DESELECT))
                return base::kEndLinkFailure;
            waitMs(ws_, pageDelayMs());
            if (sink_.cancelRequested())
                return base::kEndCancelled;
            sink_.reportProgress(static_cast<int>(p));
        }
        return base::kEndDone;
    }

    int singleBytes() {
        sink_.setup(title_, text_, static_cast<int>(n_));
        const std::uint8_t opcode = job_.isFlash ? kWriteCodeByte : kWriteDataByte;
        const int delay = byteWriteDelayMs(project_, job_.isFlash);
        for (std::size_t i = 0; i < n_; ++i) {
            // The reply only says the board is done; its value means nothing.
            if (!link_.send(BoardCommand::CMD_SPI4,
                            {opcode, byteAt(i, 8), byteAt(i, 0), data_[i]}) ||
                link_.receiveByte() < 0)
                return connectionErrorBox(ws_);
            job_.buffer.setState(i, ByteState::Programmed);
            if (sink_.cancelRequested())
                return base::kEndCancelled;
            waitMs(ws_, delay);
            sink_.reportProgress(static_cast<int>(i));
        }
        return base::kEndDone;
    }

    // One AT25 instruction framed by select and deselect.
    bool at25Instruction(std::uint8_t instruction) {
        return link_.acknowledged(BoardCommand::CMD_AT25_SELECT) && at25Byte(ws_, instruction) &&
               link_.acknowledged(BoardCommand::CMD_AT25_DESELECT);
    }

    int at25Pages() {
        const auto pageBytes = static_cast<std::size_t>(device_.pageSize);
        sink_.setup(title_, text::GetUiText(kProgrammingEeprom), pageCount(pageBytes));
        if (!wakeAt25(ws_))
            return base::kEndLinkFailure;
        for (std::size_t p = 0, o = 0; o < n_; ++p, o += pageBytes) {
            const std::size_t count = std::min(pageBytes, n_ - o);
            if (!at25Instruction(kAt25WriteEnable) ||
                !link_.acknowledged(BoardCommand::CMD_AT25_SELECT) || !at25Byte(ws_, kAt25Write) ||
                !at25Byte(ws_, byteAt(o, 8)) || !at25Byte(ws_, byteAt(o, 0)))
                return base::kEndLinkFailure;
            for (std::size_t i = o; i < o + count; ++i) {
                if (!at25Byte(ws_, data_[i]))
                    return base::kEndLinkFailure;
                job_.buffer.setState(i, ByteState::Programmed);
            }
            if (!link_.acknowledged(BoardCommand::CMD_AT25_DESELECT) ||
                !at25Instruction(kAt25WriteDisable))
                return base::kEndLinkFailure;
            if (sink_.cancelRequested())
                return base::kEndCancelled;
            sink_.reportProgress(static_cast<int>(p));
        }
        return finishAt25(ws_) ? base::kEndDone : base::kEndLinkFailure;
    }

    int boardCommands() {
        if (!sendTimingCode(ws_, writeTimingCode(project_, device_, job_.isFlash)))
            return base::kEndLinkFailure;
        if (device_.pageSize != 0 && job_.isFlash)
            return pageMode();
        return blockMode();
    }

    int pageMode() {
        const auto pageBytes = static_cast<std::size_t>(2 * device_.pageSize);
        sink_.setup(title_, text_, static_cast<int>(n_ / pageBytes));
        if (!link_.acknowledged(BoardCommand::CMD_SET_WORD, {0x00, 0x00}))
            return connectionErrorBox(ws_);
        std::vector<std::uint8_t> image(pageBytes);
        for (std::size_t p = 0, o = 0; o < n_; ++p, o += pageBytes) {
            const std::size_t count = std::min(n_ - o, pageBytes);
            std::fill(image.begin(), image.end(), std::uint8_t{0xFF});
            std::copy_n(data_.begin() + o, count, image.begin());
            // An erased page already holds all 0xFF: nothing to write.
            if (std::ranges::any_of(image, [](std::uint8_t b) { return b != 0xFF; })) {
                if (const int code = writePage(image, o); code != base::kEndDone)
                    return code;
            }
            markProgrammed(o, count);
            if (sink_.cancelRequested())
                return base::kEndCancelled;
            waitMs(ws_, ws_.boardDelays.pageWriteDelayMs);
            sink_.reportProgress(static_cast<int>(p));
        }
        return base::kEndDone;
    }

    // Loads the chip's page buffer in four quarters, then writes the page at
    // its word address.
    int writePage(std::span<const std::uint8_t> image, std::size_t offset) {
        const std::size_t quarter = image.size() / 4;
        for (std::size_t q = 0; q < 4; ++q) {
            if (!link_.send(job_.blockCommand, image.subspan(q * quarter, quarter)))
                return connectionErrorBox(ws_);
            const int reply = link_.receiveByte();
            if (reply != kAck) {
                connectionErrorBox(ws_);
                return reply == kPollingFailed ? base::kEndPollingFailure : base::kEndLinkFailure;
            }
        }
        // Sent for every page, so that a chip over 128 KB always writes where it should.
        if (!link_.send(BoardCommand::CMD_SPI4,
                        {kLoadExtendedAddress, 0x00, byteAt(offset, 17), 0x00}))
            return connectionErrorBox(ws_);
        link_.receiveByte();
        if (!link_.send(BoardCommand::CMD_SPI4,
                        {kWriteProgramMemoryPage, byteAt(offset, 9), byteAt(offset, 1), 0x00}))
            return connectionErrorBox(ws_);
        const int written = link_.receiveByte();
        waitMs(ws_, pageDelayMs());
        if (written != kAck)
            return connectionErrorBox(ws_);
        return base::kEndDone;
    }

    int blockMode() {
        sink_.setup(title_, text_, static_cast<int>(n_ / link::kMaxBlockBytes));
        const std::size_t blockBytes = link::kMaxBlockBytes;
        for (std::size_t b = 0, o = 0; o < n_; ++b, o += blockBytes) {
            const std::size_t count = std::min(blockBytes, n_ - o);
            if (!link_.send(job_.blockCommand, data_.subspan(o, count)))
                return connectionErrorBox(ws_);
            const int reply = link_.receiveByte();
            if (reply == kPollingFailed)
                return base::kEndPollingFailure;
            if (reply != kAck)
                return connectionErrorBox(ws_);
            markProgrammed(o, count);
            if (sink_.cancelRequested())
                return base::kEndCancelled;
            waitMs(ws_, ws_.boardDelays.pageWriteDelayMs);
            sink_.reportProgress(static_cast<int>(b));
        }
        return base::kEndDone;
    }

    workspace::Workspace& ws_;
    link::ProgrammerLink& link_;
    base::ProgressSink& sink_;
    const MemoryJob& job_;
    const devices::DeviceInfo& device_;
    const buffers::ProjectSettings& project_;
    std::span<const std::uint8_t> data_;
    const std::size_t n_;
    const std::string text_;
    const std::string title_;
};

}  // namespace

int programMemory(workspace::Workspace& ws, base::ProgressSink& sink, const MemoryJob& job) {
    return Programmer(ws, sink, job).run();
}

}  // namespace zavuv::operations
