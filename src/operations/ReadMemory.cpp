#include "operations/ReadMemory.h"

#include "chips/ChipDriver.h"
#include "operations/BoardAccess.h"
#include "text/UiText.h"

namespace zavuv::operations {

using base::EndCode;
using buffers::ByteState;

namespace {

class StoreByte final : public chips::ByteSink {
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

class CompareByte final : public chips::ByteSink {
public:
    CompareByte(buffers::MemoryBuffer& buffer, VerifyOutcome& outcome)
        : buffer_(buffer), outcome_(outcome) {}
    void handle(std::size_t offset, std::uint8_t value) override {
        if (!buffer_.holdsData(offset))
            return;  // fill says nothing about the chip
        if (buffer_.data()[offset] == value) {
            buffer_.setState(offset, ByteState::Verified);
            return;
        }
        outcome_.allEqual = false;
        ++outcome_.differing;
        if (outcome_.firstMismatch < 0) {
            outcome_.firstMismatch = static_cast<int>(offset);
            outcome_.expected = buffer_.data()[offset];
            outcome_.read = value;
        }
    }

private:
    buffers::MemoryBuffer& buffer_;
    VerifyOutcome& outcome_;
};

EndCode readPass(workspace::Workspace& ws, base::ProgressSink& sink, const chips::MemoryJob& job,
                 const chips::ReadPass& pass) {
    const devices::DeviceInfo& device = ws.projectDeviceInfo();
    sink.setup(pass.texts.title, pass.texts.text,
               static_cast<int>(pass.amount / link::kMaxBlockBytes),
               static_cast<int>(link::kMaxBlockBytes));
    const EndCode code = chips::driverFor(device).read(chipSession(ws, device), sink, job, pass);
    if (code == EndCode::Done)
        job.buffer.redraw();
    return code;
}

}  // namespace

EndCode readMemory(workspace::Workspace& ws, base::ProgressSink& sink,
                   const chips::MemoryJob& job) {
    StoreByte store(job.buffer);
    const chips::ReadPass pass{
        {text::GetUiText(text::Msg::ReadProgressTitle),
         text::GetUiText(job.isFlash ? text::Msg::ReadingFlash : text::Msg::ReadingEeprom)},
        job.buffer.size(),
        store};
    return readPass(ws, sink, job, pass);
}

EndCode verifyMemory(workspace::Workspace& ws, base::ProgressSink& sink,
                     const chips::MemoryJob& job, VerifyOutcome& outcome) {
    job.buffer.setAllStates(ByteState::Created);
    CompareByte compare(job.buffer, outcome);
    const chips::ReadPass pass{{text::GetUiText(text::Msg::VerifyProgressTitle),
                                text::GetUiText(job.isFlash ? text::Msg::VerifyingFlash
                                                            : text::Msg::VerifyingEepromProgress)},
                               job.amount(),
                               compare};
    return readPass(ws, sink, job, pass);
}

}  // namespace zavuv::operations
