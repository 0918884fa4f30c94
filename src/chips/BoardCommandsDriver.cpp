#include "chips/BoardCommandsDriver.h"

#include <algorithm>
#include <vector>

#include "chips/AvrInstructions.h"
#include "chips/ChipSteps.h"
#include "chips/MemoryTiming.h"
#include "text/UiText.h"

namespace zavuv::chips {

using base::EndCode;
using buffers::ByteState;
using link::BoardCommand;
using link::kAck;

namespace {

// The board answers a write block with ESC when its data polling gave up.
constexpr int kPollingFailed = 0x1B;
constexpr std::uint8_t kErased = 0xFF;

// A reset strobe this long or longer needs the board's long reset command.
constexpr int kLongResetStrobeMs = 100;

constexpr ChipAbilities kAvrAbilities{
    .signatureRead = SignatureRead::Instruction,
    .signatureBeforeProgramming = true,
    .asksAboutOtherChip = true,
    .signatureBeforeLockFuse = true,
    .recheckAfterErase = true,
};

void markProgrammed(buffers::MemoryBuffer& buffer, std::size_t offset, std::size_t count) {
    for (std::size_t i = offset; i < offset + count; ++i)
        buffer.markData(i, ByteState::Programmed);
}

// Loads the chip's page buffer in four quarters, then writes the page at its
// word address.
EndCode writePage(const ChipSession& session, const MemoryJob& job,
                  std::span<const std::uint8_t> image, std::size_t offset) {
    link::ProgrammerLink& link = session.link;
    const std::size_t quarter = image.size() / 4;
    for (std::size_t q = 0; q < 4; ++q) {
        if (!link.send(job.blockCommand, image.subspan(q * quarter, quarter)))
            return connectionErrorBox(session);
        const int reply = link.receiveByte();
        if (reply != kAck) {
            connectionErrorBox(session);
            return reply == kPollingFailed ? EndCode::PollingFailure : EndCode::LinkFailure;
        }
    }
    // Sent for every page, so that a chip over 128 KB always writes where it should.
    if (!link.send(BoardCommand::CMD_SPI4,
                   {avr::kLoadExtendedAddress, 0x00, byteAt(offset, 17), 0x00}))
        return connectionErrorBox(session);
    link.receiveByte();
    if (!link.send(BoardCommand::CMD_SPI4,
                   {avr::kWriteProgramMemoryPage, byteAt(offset, 9), byteAt(offset, 1), 0x00}))
        return connectionErrorBox(session);
    const int written = link.receiveByte();
    waitMs(session, pageWriteDelayMs(session.project, session.device, job.isFlash));
    if (written != kAck)
        return connectionErrorBox(session);
    return EndCode::Done;
}

EndCode pageMode(const ChipSession& session, base::ProgressSink& sink, const MemoryJob& job,
                 const ProgressTexts& texts) {
    const std::size_t n = job.amount();
    const auto data = job.buffer.data();
    const auto pageBytes = static_cast<std::size_t>(2 * session.device.pageSize);
    sink.setup(texts.title, texts.text, static_cast<int>(n / pageBytes),
               static_cast<int>(pageBytes));
    if (!session.link.acknowledged(BoardCommand::CMD_SET_WORD, {0x00, 0x00}))
        return connectionErrorBox(session);
    std::vector<std::uint8_t> image(pageBytes);
    for (std::size_t p = 0, o = 0; o < n; ++p, o += pageBytes) {
        const std::size_t count = std::min(n - o, pageBytes);
        std::fill(image.begin(), image.end(), kErased);
        std::copy_n(data.begin() + o, count, image.begin());
        // An erased page already holds all 0xFF, and fill is never written.
        if (job.buffer.holdsDataIn(o, count) &&
            std::ranges::any_of(image, [](std::uint8_t b) { return b != kErased; })) {
            if (const EndCode code = writePage(session, job, image, o); code != EndCode::Done)
                return code;
        }
        markProgrammed(job.buffer, o, count);
        if (sink.cancelRequested())
            return EndCode::Cancelled;
        waitMs(session, session.boardDelays.pageWriteDelayMs);
        sink.reportProgress(static_cast<int>(p));
    }
    return EndCode::Done;
}

// The bytes of one block from `offset`: up to the board's block size, ending
// before the next unit (a byte, a Flash word) that holds only fill.
std::size_t blockFrom(const MemoryJob& job, std::size_t offset, std::size_t unit) {
    const std::size_t end = std::min(offset + link::kMaxBlockBytes, job.amount());
    std::size_t o = offset;
    while (o < end && job.buffer.holdsDataIn(o, std::min(unit, end - o)))
        o += unit;
    return std::min(o, end) - offset;
}

// The board writes where its address pointer stands and steps it; a jump over
// fill sets it anew (a word address in Flash, a byte address in EEPROM).
EndCode blockMode(const ChipSession& session, base::ProgressSink& sink, const MemoryJob& job,
                  const ProgressTexts& texts, std::size_t flashAddressUnit) {
    const std::size_t n = job.amount();
    const auto data = job.buffer.data();
    link::ProgrammerLink& link = session.link;
    sink.setup(texts.title, texts.text, static_cast<int>(n / link::kMaxBlockBytes),
               static_cast<int>(link::kMaxBlockBytes));
    const std::size_t blockBytes = link::kMaxBlockBytes;
    const std::size_t unit = job.isFlash ? flashAddressUnit : 1;
    std::size_t pointer = 0;
    for (std::size_t o = 0; o < n;) {
        const std::size_t count = blockFrom(job, o, unit);
        if (count == 0) {
            o += unit;
            continue;
        }
        if (o != pointer) {
            const std::size_t address = o / unit;
            if (!link.acknowledged(BoardCommand::CMD_SET_WORD,
                                   {byteAt(address, 8), byteAt(address, 0)}))
                return connectionErrorBox(session);
        }
        if (!link.send(job.blockCommand, data.subspan(o, count)))
            return connectionErrorBox(session);
        const int reply = link.receiveByte();
        if (reply == kPollingFailed)
            return EndCode::PollingFailure;
        if (reply != kAck)
            return connectionErrorBox(session);
        markProgrammed(job.buffer, o, count);
        if (sink.cancelRequested())
            return EndCode::Cancelled;
        waitMs(session, session.boardDelays.pageWriteDelayMs);
        sink.reportProgress(static_cast<int>(o / blockBytes));
        o += count;
        pointer = o;
    }
    return EndCode::Done;
}

}  // namespace

BoardCommandsDriver::BoardCommandsDriver() : ChipDriver(kAvrAbilities) {}

BoardCommandsDriver::BoardCommandsDriver(const ChipAbilities& abilities) : ChipDriver(abilities) {}

bool BoardCommandsDriver::enterProgramming(link::BoardConnection& connection,
                                           const link::TargetOptions& options) const {
    link::ProgrammerLink& link = connection.link();
    const devices::DeviceInfo& device = devices::DeviceTable::at(options.deviceNo);
    const int strobeMs = options.resetStrobeLength;
    if (!link.send(strobeMs < kLongResetStrobeMs ? BoardCommand::CMD_RESET_SHORT
                                                 : BoardCommand::CMD_RESET_LONG) ||
        link.receiveByte() < 0)
        return connection.linkFailure();
    connection.messages().status(text::formatUiText(text::Msg::ResetStrobe, strobeMs));
    link.pauseUnlessStopped(strobeMs);
    // Normally the board enables programming and finds step with the target
    // itself; some chips and set-ups need the bare instruction instead.
    const bool rawEnable = (device.forceProgEnable & 0xFF) != 0 || options.noSynchronization;
    const bool sent = rawEnable ? link.send(BoardCommand::CMD_SPI4, avr::kProgrammingEnable)
                                : link.send(BoardCommand::CMD_PROG_ENABLE_SYNC);
    if (!sent || link.receiveByte() < 0)
        return connection.linkFailure();
    connection.messages().status(text::Msg::ConnectionAccepted);
    return true;
}

EndCode BoardCommandsDriver::program(const ChipSession& session, base::ProgressSink& sink,
                                     const MemoryJob& job, const ProgressTexts& texts) const {
    if (!sendTimingCode(session, writeTimingCode(session.project, session.device, job.isFlash)))
        return EndCode::LinkFailure;
    if (session.device.pageSize != 0 && job.isFlash)
        return pageMode(session, sink, job, texts);
    return blockMode(session, sink, job, texts, abilities().flashAddressUnit);
}

EndCode BoardCommandsDriver::read(const ChipSession& session, base::ProgressSink& sink,
                                  const MemoryJob& job, const ReadPass& pass) const {
    link::ProgrammerLink& link = session.link;
    if (!sendTimingCode(session, readTimingCode(session.project, session.device, job.isFlash)))
        return EndCode::LinkFailure;
    const std::size_t blockBytes = link::kMaxBlockBytes;
    for (std::size_t b = 0, o = 0; o < pass.amount; ++b, o += blockBytes) {
        const std::size_t count = std::min(blockBytes, pass.amount - o);
        if (!link.send(job.blockCommand, {static_cast<std::uint8_t>(count)}))
            return connectionErrorBox(session);
        const auto bytes = link.receive(count);
        if (!bytes)
            return connectionErrorBox(session);
        for (std::size_t i = 0; i < count; ++i)
            pass.sink.handle(o + i, (*bytes)[i]);
        if (sink.cancelRequested())
            return EndCode::Cancelled;
        waitMs(session, session.boardDelays.pageReadDelayMs);
        sink.reportProgress(static_cast<int>(b));
    }
    return EndCode::Done;
}

EndCode BoardCommandsDriver::blankCheck(const ChipSession& session, base::ProgressSink& sink,
                                        const ProgressTexts&) const {
    return blankCheckInBlocks(session, sink);
}

EndCode blankCheckInBlocks(const ChipSession& session, base::ProgressSink& sink) {
    link::ProgrammerLink& link = session.link;
    if (!sendTimingCode(session, readTimingCode(session.project, session.device, true)))
        return EndCode::LinkFailure;
    const auto flashSize = static_cast<std::size_t>(std::max(session.device.flashSize, 0));
    const std::size_t blocks = flashSize / link::kMaxBlockBytes;
    for (std::size_t b = 0; b < blocks; ++b) {
        if (!link.send(BoardCommand::CMD_READ_BLOCK, {link::kMaxBlockBytes}))
            return connectionErrorBox(session);
        const auto bytes = link.receive(link::kMaxBlockBytes);
        if (!bytes)
            return connectionErrorBox(session);
        if (std::ranges::any_of(*bytes, [](std::uint8_t v) { return v != kErased; }))
            return EndCode::NotBlank;
        if (sink.cancelRequested())
            return EndCode::Cancelled;
        waitMs(session, session.boardDelays.pageReadDelayMs);
        sink.reportProgress(static_cast<int>(b));
    }
    return EndCode::Done;
}

}  // namespace zavuv::chips
