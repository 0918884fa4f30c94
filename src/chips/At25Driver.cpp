#include "chips/At25Driver.h"

#include <algorithm>

#include "chips/At89sSteps.h"
#include "chips/BoardCommandsDriver.h"
#include "chips/ChipSteps.h"
#include "text/UiText.h"

namespace zavuv::chips {

using base::EndCode;
using buffers::ByteState;
using link::BoardCommand;

namespace {

// AT25 instructions.
constexpr std::uint8_t kWriteEnable = 0x06;
constexpr std::uint8_t kWrite = 0x02;
constexpr std::uint8_t kWriteDisable = 0x04;
constexpr std::uint8_t kRead = 0x03;

// The AT25 needs a few ms after a select or deselect before the next command.
constexpr int kSelectPauseMs = 5;
// Longer than one AT25 write cycle, so that the last page is written before the session ends.
constexpr int kWriteCyclePauseMs = 150;

constexpr ChipAbilities kAbilities{
    .signatureRead = SignatureRead::None,
    .chipErase = false,
    .autoProgram = false,
    .lockRefusalAfterSession = true,
    .lockModeTexts = devices::LockModeTexts::At89S,
};

// A select/deselect pulse that brings the chip's interface into step.
bool wake(link::ProgrammerLink& link) {
    if (!link.acknowledged(BoardCommand::CMD_AT25_SELECT))
        return false;
    link.pause(kSelectPauseMs);
    if (!link.acknowledged(BoardCommand::CMD_AT25_DESELECT))
        return false;
    link.pause(kSelectPauseMs);
    return true;
}

// One SPI byte inside a selected sequence.
bool spiByte(link::ProgrammerLink& link, std::uint8_t byte) {
    return link.acknowledged(BoardCommand::CMD_SPI_WRITE_BYTE, {byte});
}

// One instruction framed by select and deselect.
bool instruction(link::ProgrammerLink& link, std::uint8_t opcode) {
    return link.acknowledged(BoardCommand::CMD_AT25_SELECT) && spiByte(link, opcode) &&
           link.acknowledged(BoardCommand::CMD_AT25_DESELECT);
}

// The pause for the last write cycle, then the board ends the sequence.
bool finish(link::ProgrammerLink& link) {
    link.pause(kWriteCyclePauseMs);
    return link.acknowledged(BoardCommand::CMD_END_SESSION);
}

// One write of bytes [from, to) of the buffer, inside one page of the chip.
bool writeRun(link::ProgrammerLink& link, buffers::MemoryBuffer& buffer, std::size_t from,
              std::size_t to) {
    if (!instruction(link, kWriteEnable) || !link.acknowledged(BoardCommand::CMD_AT25_SELECT) ||
        !spiByte(link, kWrite) || !spiByte(link, byteAt(from, 8)) ||
        !spiByte(link, byteAt(from, 0)))
        return false;
    for (std::size_t i = from; i < to; ++i) {
        if (!spiByte(link, buffer.data()[i]))
            return false;
        buffer.setState(i, ByteState::Programmed);
    }
    return link.acknowledged(BoardCommand::CMD_AT25_DESELECT) && instruction(link, kWriteDisable);
}

int pageCount(std::size_t amount, std::size_t pageBytes) {
    return static_cast<int>((amount + pageBytes - 1) / pageBytes);
}

}  // namespace

At25Driver::At25Driver() : ChipDriver(kAbilities) {}

bool At25Driver::enterProgramming(link::BoardConnection& connection,
                                  const link::TargetOptions&) const {
    return at89s::enterAfterReset(connection, at89s::EnableLength::ThreeBytes);
}

bool At25Driver::eraseLockedChip(link::ProgrammerLink& link) const {
    return at89s::eraseLocked(link);
}

EndCode At25Driver::program(const ChipSession& session, base::ProgressSink& sink,
                            const MemoryJob& job, const ProgressTexts& texts) const {
    link::ProgrammerLink& link = session.link;
    const std::size_t n = job.amount();
    const auto pageBytes = static_cast<std::size_t>(session.device.pageSize);
    // An AT25 is all EEPROM, whichever buffer is written into it.
    sink.setup(texts.title, text::GetUiText(text::Msg::ProgrammingEeprom), pageCount(n, pageBytes),
               static_cast<int>(pageBytes));
    if (!wake(link))
        return EndCode::LinkFailure;
    for (std::size_t p = 0, o = 0; o < n; ++p, o += pageBytes) {
        const std::size_t end = o + std::min(pageBytes, n - o);
        // Each run of data in the page is a write of its own: fill is never written.
        if (!forEachDataRun(job.buffer, o, end, [&](std::size_t from, std::size_t to) {
                return writeRun(link, job.buffer, from, to);
            }))
            return EndCode::LinkFailure;
        if (sink.cancelRequested())
            return EndCode::Cancelled;
        sink.reportProgress(static_cast<int>(p));
    }
    return finish(link) ? EndCode::Done : EndCode::LinkFailure;
}

EndCode At25Driver::read(const ChipSession& session, base::ProgressSink& sink, const MemoryJob&,
                         const ReadPass& pass) const {
    link::ProgrammerLink& link = session.link;
    const auto pageBytes = static_cast<std::size_t>(session.device.pageSize);
    sink.setup(pass.texts.title, pass.texts.text, pageCount(pass.amount, pageBytes),
               static_cast<int>(pageBytes));
    if (!wake(link))
        return EndCode::LinkFailure;
    for (std::size_t p = 0, o = 0; o < pass.amount; ++p, o += pageBytes) {
        const std::size_t count = std::min(pageBytes, pass.amount - o);
        if (!link.acknowledged(BoardCommand::CMD_AT25_SELECT) || !spiByte(link, kRead) ||
            !spiByte(link, byteAt(o, 8)) || !spiByte(link, byteAt(o, 0)))
            return EndCode::LinkFailure;
        // The page's bytes one at a time; a byte that does not come ends them early.
        for (std::size_t i = o; i < o + count; ++i) {
            const int value = link.send(BoardCommand::CMD_SPI_READ_BYTE) ? link.receiveByte() : -1;
            if (value < 0)
                break;
            pass.sink.handle(i, static_cast<std::uint8_t>(value));
        }
        if (!link.acknowledged(BoardCommand::CMD_AT25_DESELECT))
            return EndCode::LinkFailure;
        if (sink.cancelRequested())
            return EndCode::Cancelled;
        sink.reportProgress(static_cast<int>(p));
    }
    return finish(link) ? EndCode::Done : EndCode::LinkFailure;
}

// No Flash: the timing code alone, and blank.
EndCode At25Driver::blankCheck(const ChipSession& session, base::ProgressSink& sink,
                               const ProgressTexts&) const {
    return blankCheckInBlocks(session, sink);
}

bool At25Driver::readLockFuse(const ChipSession&, const devices::LockFuseLayout&,
                              devices::LockFuseState&) const {
    return true;
}

LockFuseWrite At25Driver::programLockFuse(const ChipSession& session,
                                          const devices::LockFuseLayout& layout,
                                          const devices::LockFuseState& state, bool) const {
    return at89s::writeLockLevel3(session, layout, state);
}

}  // namespace zavuv::chips
