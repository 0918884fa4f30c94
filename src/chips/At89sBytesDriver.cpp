#include "chips/At89sBytesDriver.h"

#include "chips/At89sInstructions.h"
#include "chips/At89sSteps.h"
#include "chips/ChipSteps.h"
#include "chips/LockFuseInstructions.h"
#include "chips/MemoryTiming.h"
#include "devices/At89SLockCoding.h"

namespace zavuv::chips {

using base::EndCode;
using buffers::ByteState;
using link::BoardCommand;

namespace {

// Each lock level is a write of its own that must finish before the next.
constexpr int kLockStepPauseMs = 250;
constexpr std::uint8_t kErased = 0xFF;

constexpr ChipAbilities kAbilities{
    .signatureRead = SignatureRead::Instruction,
    .lockRefusalAfterSession = true,
    .lockModeTexts = devices::LockModeTexts::At89S,
};

}  // namespace

At89sBytesDriver::At89sBytesDriver() : ChipDriver(kAbilities) {}

bool At89sBytesDriver::enterProgramming(link::BoardConnection& connection,
                                        const link::TargetOptions&) const {
    return at89s::enterAfterReset(connection, at89s::EnableLength::FourBytes);
}

bool At89sBytesDriver::readSignature(link::ProgrammerLink& link, SignatureBytes& signature) const {
    return at89s::readSignature(link, at89s::SignatureAddressing::Pages, signature);
}

bool At89sBytesDriver::eraseLockedChip(link::ProgrammerLink& link) const {
    return at89s::eraseLocked(link);
}

EndCode At89sBytesDriver::program(const ChipSession& session, base::ProgressSink& sink,
                                  const MemoryJob& job, const ProgressTexts& texts) const {
    const std::size_t n = job.amount();
    const auto data = job.buffer.data();
    sink.setup(texts.title, texts.text, static_cast<int>(n));
    const std::uint8_t opcode = job.isFlash ? at89s::kWriteCodeByte : at89s::kWriteDataByte;
    const int delay = byteWriteDelayMs(session.project, job.isFlash);
    for (std::size_t i = 0; i < n; ++i) {
        if (!job.buffer.holdsData(i))
            continue;  // fill is never written
        // The reply only says the board is done; its value means nothing.
        if (!session.link.send(BoardCommand::CMD_SPI4,
                               {opcode, byteAt(i, 8), byteAt(i, 0), data[i]}) ||
            session.link.receiveByte() < 0)
            return connectionErrorBox(session);
        job.buffer.setState(i, ByteState::Programmed);
        if (sink.cancelRequested())
            return EndCode::Cancelled;
        waitMs(session, delay);
        sink.reportProgress(static_cast<int>(i));
    }
    return EndCode::Done;
}

EndCode At89sBytesDriver::read(const ChipSession& session, base::ProgressSink& sink,
                               const MemoryJob& job, const ReadPass& pass) const {
    const std::uint8_t opcode = job.isFlash ? at89s::kReadCodeByte : at89s::kReadDataByte;
    const int delay = byteReadDelayMs(session.project, job.isFlash);
    for (std::size_t i = 0; i < pass.amount; ++i) {
        const int value = readSpiByte(session.link, opcode, i);
        if (value < 0)
            return connectionErrorBox(session);
        pass.sink.handle(i, static_cast<std::uint8_t>(value));
        if (sink.cancelRequested())
            return EndCode::Cancelled;
        sink.reportProgress(static_cast<int>(i / link::kMaxBlockBytes));
        waitMs(session, delay);
    }
    return EndCode::Done;
}

EndCode At89sBytesDriver::blankCheck(const ChipSession& session, base::ProgressSink& sink,
                                     const ProgressTexts&) const {
    const auto flashSize = static_cast<std::size_t>(std::max(session.device.flashSize, 0));
    for (std::size_t i = 0; i < flashSize; ++i) {
        const int value = readSpiByte(session.link, at89s::kReadCodeByte, i);
        if (value < 0)
            return connectionErrorBox(session);
        if (value != kErased)
            return EndCode::NotBlank;
        if (sink.cancelRequested())
            return EndCode::Cancelled;
        sink.reportProgress(static_cast<int>(i / link::kMaxBlockBytes));
    }
    return EndCode::Done;
}

bool At89sBytesDriver::readLockFuse(const ChipSession& session,
                                    const devices::LockFuseLayout& layout,
                                    devices::LockFuseState& state) const {
    return at89s::readLockFuse(session, layout, at89s::LockAnswer::At89S51, state);
}

// One instruction per lock level; a refused level does not stop the next.
LockFuseWrite At89sBytesDriver::programLockFuse(const ChipSession& session,
                                                const devices::LockFuseLayout& layout,
                                                const devices::LockFuseState& state, bool) const {
    LockFuseWrite outcome = LockFuseWrite::Acknowledged;
    for (const devices::Instruction& step : devices::encodeAt89SLockSteps(layout, state)) {
        const LockFuseWrite sent =
            sendLockFuseInstruction(session.link, BoardCommand::CMD_SPI4, step, 0);
        session.link.pause(kLockStepPauseMs);
        if (sent == LockFuseWrite::SendFailed) {
            session.messages.box(text::Msg::ConnectionError);
            return sent;
        }
        if (sent == LockFuseWrite::Refused)
            outcome = LockFuseWrite::Refused;
        else
            session.messages.status(text::Msg::LockFuseProgrammed);
    }
    return outcome;
}

}  // namespace zavuv::chips
