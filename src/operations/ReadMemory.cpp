#include "operations/ReadMemory.h"

#include <algorithm>

#include "operations/ChipSteps.h"
#include "operations/ChipWay.h"
#include "operations/MemoryTiming.h"
#include "text/UiText.h"

namespace zavuv::operations {

using buffers::ByteState;
using link::BoardCommand;

namespace {

constexpr int kReadTitle = 1145;
constexpr int kReadingFlash = 1085;
constexpr int kReadingEeprom = 1096;
constexpr int kVerifyTitle = 1148;
constexpr int kVerifyingFlash = 1090;
constexpr int kVerifyingEeprom = 1149;

// AVR-style read instructions, also those of the AT89S51 family.
constexpr std::uint8_t kReadCodeByte = 0x20;
constexpr std::uint8_t kReadDataByte = 0xA0;
constexpr std::uint8_t kAt25Read = 0x03;

// What happens to each byte that comes from the chip.
class ByteStep {
public:
    virtual ~ByteStep() = default;
    virtual void handle(std::size_t offset, std::uint8_t value) = 0;
};

class StoreByte final : public ByteStep {
public:
    explicit StoreByte(buffers::MemoryBuffer& buffer)
        : buffer_(buffer), data_(buffer.mutableData()) {}
    void handle(std::size_t offset, std::uint8_t value) override {
        data_[offset] = value;
        buffer_.setState(offset, ByteState::Read);
    }

private:
    buffers::MemoryBuffer& buffer_;
    std::span<std::uint8_t> data_;
};

class CompareByte final : public ByteStep {
public:
    CompareByte(buffers::MemoryBuffer& buffer, VerifyOutcome& outcome)
        : buffer_(buffer), outcome_(outcome) {}
    void handle(std::size_t offset, std::uint8_t value) override {
        if (buffer_.data()[offset] == value) {
            buffer_.setState(offset, ByteState::Verified);
            return;
        }
        outcome_.allEqual = false;
        if (outcome_.firstMismatch < 0)
            outcome_.firstMismatch = static_cast<int>(offset);
    }

private:
    buffers::MemoryBuffer& buffer_;
    VerifyOutcome& outcome_;
};

struct ReadPass {
    int title;
    int text;
    std::size_t amount;
    ByteStep& step;
};

class ChipReader {
public:
    ChipReader(workspace::Workspace& ws, base::ProgressSink& sink, const MemoryJob& job,
               const ReadPass& pass)
        : ws_(ws), link_(ws.link()), sink_(sink), job_(job), pass_(pass),
          device_(ws.projectDeviceInfo()), amount_(pass.amount),
          title_(text::GetUiText(pass.title)), text_(text::GetUiText(pass.text)) {}

    int run() {
        sink_.setup(title_, text_, static_cast<int>(amount_ / link::kMaxBlockBytes));
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
            code = boardBlocks();
            break;
        }
        if (code == base::kEndDone)
            job_.buffer.redraw();
        return code;
    }

private:
    int pageCount(std::size_t pageBytes) const {
        return static_cast<int>((amount_ + pageBytes - 1) / pageBytes);
    }

    // The page's bytes one at a time; a byte that does not come ends them early.
    template <typename Next> void receivePage(std::size_t offset, std::size_t count, Next next) {
        for (std::size_t i = offset; i < offset + count; ++i) {
            const int value = next();
            if (value < 0)
                return;
            pass_.step.handle(i, static_cast<std::uint8_t>(value));
        }
    }

    int dataFlashPages() {
        const auto pageBytes = static_cast<std::size_t>(device_.pageSize);
        sink_.setup(title_, text_, pageCount(pageBytes));
        if (!startDataFlashArrayRead(ws_))
            return base::kEndLinkFailure;
        for (std::size_t p = 0, o = 0; o < amount_; ++p, o += pageBytes) {
            const std::size_t count = std::min(pageBytes, amount_ - o);
            if (!link_.send(BoardCommand::CMD_SPI_READ_N,
                            {static_cast<std::uint8_t>(count >> 8),
                             static_cast<std::uint8_t>(count & 0xFF)}))
                return base::kEndLinkFailure;
            receivePage(o, count, [this] { return link_.receiveByte(); });
            if (!link_.expectAck())
                return base::kEndLinkFailure;
            if (sink_.cancelRequested())
                return base::kEndCancelled;
            sink_.reportProgress(static_cast<int>(p));
        }
        // The array read goes on until the chip is deselected; the session's end does that.
        return base::kEndDone;
    }

    int singleBytes() {
        const std::uint8_t opcode = job_.isFlash ? kReadCodeByte : kReadDataByte;
        const int delay = byteReadDelayMs(ws_.project(), job_.isFlash);
        for (std::size_t i = 0; i < amount_; ++i) {
            const int value = readSpiByte(ws_, opcode, i);
            if (value < 0)
                return connectionErrorBox(ws_);
            pass_.step.handle(i, static_cast<std::uint8_t>(value));
            if (sink_.cancelRequested())
                return base::kEndCancelled;
            sink_.reportProgress(static_cast<int>(i / link::kMaxBlockBytes));
            waitMs(ws_, delay);
        }
        return base::kEndDone;
    }

    int at25Pages() {
        const auto pageBytes = static_cast<std::size_t>(device_.pageSize);
        sink_.setup(title_, text_, pageCount(pageBytes));
        if (!wakeAt25(ws_))
            return base::kEndLinkFailure;
        for (std::size_t p = 0, o = 0; o < amount_; ++p, o += pageBytes) {
            const std::size_t count = std::min(pageBytes, amount_ - o);
            if (!link_.acknowledged(BoardCommand::CMD_AT25_SELECT) || !at25Byte(ws_, kAt25Read) ||
                !at25Byte(ws_, static_cast<std::uint8_t>((o >> 8) & 0xFF)) ||
                !at25Byte(ws_, static_cast<std::uint8_t>(o & 0xFF)))
                return base::kEndLinkFailure;
            receivePage(o, count, [this] {
                return link_.send(BoardCommand::CMD_SPI_READ_BYTE) ? link_.receiveByte() : -1;
            });
            if (!link_.acknowledged(BoardCommand::CMD_AT25_DESELECT))
                return base::kEndLinkFailure;
            if (sink_.cancelRequested())
                return base::kEndCancelled;
            sink_.reportProgress(static_cast<int>(p));
        }
        return finishAt25(ws_) ? base::kEndDone : base::kEndLinkFailure;
    }

    int boardBlocks() {
        if (!sendTimingCode(ws_, readTimingCode(ws_.project(), device_, job_.isFlash)))
            return base::kEndLinkFailure;
        const std::size_t blockBytes = link::kMaxBlockBytes;
        for (std::size_t b = 0, o = 0; o < amount_; ++b, o += blockBytes) {
            const std::size_t count = std::min(blockBytes, amount_ - o);
            if (!link_.send(job_.blockCommand, {static_cast<std::uint8_t>(count)}))
                return connectionErrorBox(ws_);
            const auto bytes = link_.receive(count);
            if (!bytes)
                return connectionErrorBox(ws_);
            for (std::size_t i = 0; i < count; ++i)
                pass_.step.handle(o + i, (*bytes)[i]);
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
    const MemoryJob& job_;
    const ReadPass& pass_;
    const devices::DeviceInfo& device_;
    const std::size_t amount_;
    const std::string title_;
    const std::string text_;
};

}  // namespace

int readMemory(workspace::Workspace& ws, base::ProgressSink& sink, const MemoryJob& job) {
    StoreByte store(job.buffer);
    const ReadPass pass{kReadTitle, job.isFlash ? kReadingFlash : kReadingEeprom, job.buffer.size(),
                        store};
    return ChipReader(ws, sink, job, pass).run();
}

int verifyMemory(workspace::Workspace& ws, base::ProgressSink& sink, const MemoryJob& job,
                 VerifyOutcome& outcome) {
    job.buffer.setAllStates(ByteState::Created);
    CompareByte compare(job.buffer, outcome);
    const ReadPass pass{kVerifyTitle, job.isFlash ? kVerifyingFlash : kVerifyingEeprom,
                        job.amount(), compare};
    return ChipReader(ws, sink, job, pass).run();
}

}  // namespace zavuv::operations
