#include "chips/DataFlashDriver.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

#include "chips/ChipSteps.h"
#include "chips/MemoryTiming.h"
#include "text/UiText.h"

namespace zavuv::chips {

using base::EndCode;
using buffers::ByteState;
using link::BoardCommand;
using link::SpeedCode;

namespace {

// DataFlash instructions.
constexpr std::uint8_t kStatusRead = 0xD7;
constexpr std::uint8_t kContinuousArrayRead = 0xE8;
constexpr std::uint8_t kBuffer1Write = 0x84;
constexpr std::uint8_t kBuffer1ToPageWithErase = 0x83;
constexpr std::uint8_t kPageToBuffer1 = 0x53;
constexpr std::uint8_t kBlockErase = 0x50;
constexpr std::uint8_t kErased = 0xFF;

// DataFlash is clocked at a fixed rate while the board selects it.
constexpr std::uint8_t kConnectSckCode = 0x04;
constexpr int kSettlePauseMs = 150;
constexpr int kModePauseMs = 25;
constexpr int kCommandPauseMs = 15;
constexpr int kRetryPauseMs = 40;
constexpr int kStatusAttempts = 5;

constexpr int kPagesPerBlock = 8;
// The block erase opcode and three address bytes go out through the board's
// n-byte SPI write.
constexpr std::uint8_t kEraseCommandLength = 4;
// The deselect starts the block erase: the board settles before it, and the
// chip needs the second pause to finish the erase after it.
constexpr int kEraseStartPauseMs = 20;
constexpr int kBlockErasePauseMs = 50;

constexpr ChipAbilities kAbilities{
    .signatureRead = SignatureRead::Connect,
    .signatureBeforeProgramming = false,
    .signatureBeforeLockFuse = true,
    .eepromMemory = false,
    .lockFuseBits = false,
    .autoProgram = false,
    .fixedMemorySpeed = true,
};

int pageCount(std::size_t amount, std::size_t pageBytes) {
    return static_cast<int>((amount + pageBytes - 1) / pageBytes);
}

// Select, send the status-register opcode, clock the status out, deselect.
// The acknowledgements carry no information, but each must come.
std::optional<std::uint8_t> readStatus(link::ProgrammerLink& link) {
    if (!link.send(BoardCommand::CMD_AT45_SELECT))
        return std::nullopt;
    link.pause(kCommandPauseMs);
    if (link.receiveByte() < 0 || !link.send(BoardCommand::CMD_SPI_WRITE_BYTE, {kStatusRead}) ||
        link.receiveByte() < 0)
        return std::nullopt;
    link.pause(kCommandPauseMs);
    if (!link.send(BoardCommand::CMD_SPI_READ_BYTE))
        return std::nullopt;
    const int status = link.receiveByte();
    if (status < 0 || !link.send(BoardCommand::CMD_AT45_DESELECT) || link.receiveByte() < 0)
        return std::nullopt;
    return static_cast<std::uint8_t>(status);
}

// Deselect, select, and the Continuous Array Read from address 0, after which
// every CMD_SPI_READ_N clocks out the next bytes of the array.
bool startArrayRead(link::ProgrammerLink& link) {
    // Opcode, three address bytes (0) and four don't-care bytes.
    return link.acknowledged(BoardCommand::CMD_AT45_DESELECT) &&
           link.acknowledged(BoardCommand::CMD_AT45_SELECT) &&
           link.acknowledged(BoardCommand::CMD_SPI_WRITE_N,
                             {0x00, 0x08, kContinuousArrayRead, 0, 0, 0, 0, 0, 0, 0});
}

// One instruction with three address bytes, framed by select and deselect.
bool addressedInstruction(link::ProgrammerLink& link, std::uint8_t opcode,
                          std::array<std::uint8_t, 2> address) {
    return link.acknowledged(BoardCommand::CMD_AT45_SELECT) &&
           link.acknowledged(BoardCommand::CMD_SPI_WRITE_N,
                             {0x00, 0x04, opcode, address[0], address[1], 0x00}) &&
           link.acknowledged(BoardCommand::CMD_AT45_DESELECT);
}

// Bytes into the chip's buffer 1 from `offset`, the chip left selected until
// the data's acknowledgement has come.
bool writeBuffer(link::ProgrammerLink& link, std::size_t offset,
                 std::span<const std::uint8_t> bytes) {
    std::vector<std::uint8_t> transfer{byteAt(bytes.size(), 8), byteAt(bytes.size(), 0)};
    transfer.insert(transfer.end(), bytes.begin(), bytes.end());
    return link.acknowledged(BoardCommand::CMD_AT45_SELECT) &&
           link.acknowledged(
               BoardCommand::CMD_SPI_WRITE_N,
               {0x00, 0x04, kBuffer1Write, 0x00, byteAt(offset, 8), byteAt(offset, 0)}) &&
           link.send(BoardCommand::CMD_SPI_WRITE_N, transfer) && link.expectAck() &&
           link.acknowledged(BoardCommand::CMD_AT45_DESELECT);
}

// A page's write erases all of it: for a page the image gives only in part,
// the page comes into the chip's buffer from the array first, and only the
// image's data runs go over it before it is written back.
EndCode writeDataOfPage(const ChipSession& session, const MemoryJob& job, std::size_t offset,
                        std::size_t count, std::array<std::uint8_t, 2> address) {
    link::ProgrammerLink& link = session.link;
    if (!addressedInstruction(link, kPageToBuffer1, address))
        return EndCode::LinkFailure;
    link.pause(kCommandPauseMs);
    const auto data = job.buffer.data();
    const bool merged =
        forEachDataRun(job.buffer, offset, offset + count, [&](std::size_t from, std::size_t to) {
            return writeBuffer(link, from - offset, data.subspan(from, to - from));
        });
    if (!merged || !addressedInstruction(link, kBuffer1ToPageWithErase, address))
        return EndCode::LinkFailure;
    for (std::size_t i = offset; i < offset + count; ++i)
        job.buffer.markData(i, ByteState::Programmed);
    waitMs(session, pageWriteDelayMs(session.project, session.device, job.isFlash));
    return EndCode::Done;
}

// The whole chip buffer is filled, the page's tail with the erased value, and
// written over the page.
EndCode writeWholePage(const ChipSession& session, const MemoryJob& job, std::size_t offset,
                       std::size_t count, std::array<std::uint8_t, 2> address) {
    link::ProgrammerLink& link = session.link;
    const auto data = job.buffer.data();
    const auto pageBytes = static_cast<std::size_t>(session.device.pageSize);
    if (!link.acknowledged(BoardCommand::CMD_AT45_SELECT) ||
        !link.acknowledged(BoardCommand::CMD_SPI_WRITE_N,
                           {0x00, 0x04, kBuffer1Write, 0x00, 0x00, 0x00}))
        return EndCode::LinkFailure;
    std::vector<std::uint8_t> transfer{byteAt(pageBytes, 8), byteAt(pageBytes, 0)};
    transfer.insert(transfer.end(), data.begin() + static_cast<std::ptrdiff_t>(offset),
                    data.begin() + static_cast<std::ptrdiff_t>(offset + count));
    transfer.resize(2 + pageBytes, kErased);
    if (!link.send(BoardCommand::CMD_SPI_WRITE_N, transfer))
        return EndCode::LinkFailure;
    for (std::size_t i = offset; i < offset + count; ++i)
        job.buffer.setState(i, ByteState::Programmed);
    if (!link.expectAck() || !link.acknowledged(BoardCommand::CMD_AT45_DESELECT) ||
        !addressedInstruction(link, kBuffer1ToPageWithErase, address))
        return EndCode::LinkFailure;
    waitMs(session, pageWriteDelayMs(session.project, session.device, job.isFlash));
    return EndCode::Done;
}

// Asks for the next `count` bytes of the array read.
bool requestBytes(link::ProgrammerLink& link, std::size_t count) {
    return link.send(BoardCommand::CMD_SPI_READ_N, {byteAt(count, 8), byteAt(count, 0)});
}

}  // namespace

DataFlashDriver::DataFlashDriver() : ChipDriver(kAbilities) {}

std::uint8_t DataFlashDriver::connectSckCode(int) const {
    return kConnectSckCode;
}

bool DataFlashDriver::enterProgramming(link::BoardConnection& connection,
                                       const link::TargetOptions& options) const {
    link::ProgrammerLink& link = connection.link();
    link::LinkMessages& messages = connection.messages();
    link.pause(kSettlePauseMs);
    // Back to the project's own SCK period, without polling. A board that does
    // not take it is given up on quietly.
    if (!link.send(
            BoardCommand::CMD_SET_MODE,
            link::modeArguments(SpeedCode::Baud19200, link::sckCode(options.spiPeriod), false))) {
        link.channel().close();
        return false;
    }
    link.pause(kModePauseMs);
    if (!link.expectAck()) {
        link.channel().close();
        return false;
    }
    link.pause(kModePauseMs);

    if (!link.send(BoardCommand::CMD_RESET_SHORT))
        return connection.linkFailure();
    link.pause(kCommandPauseMs);
    if (!link.expectAck())
        return connection.linkFailure();

    // A DataFlash has no signature; the size bits of its status register tell
    // the family member, and a chip just out of reset may still answer 0xFF.
    int found = -1;
    for (int attempt = 0; attempt < kStatusAttempts && found < 0; ++attempt) {
        if (attempt > 0)
            link.pause(kRetryPauseMs);
        const auto status = readStatus(link);
        if (!status)
            return connection.linkFailure();
        found = devices::DeviceTable::findAt45ByStatus(*status);
    }

    // Information only: the operation goes on whatever was detected.
    messages.status(std::string());
    if (found == options.deviceNo)
        messages.status(
            text::formatUiText(text::Msg::DataFlashDetected, devices::DeviceTable::at(found).name));
    else if (found < 0)
        messages.status(text::Msg::DataFlashNotDetected);
    else
        messages.status(text::formatUiText(text::Msg::DataFlashDetectedAs,
                                           devices::DeviceTable::at(found).name));
    return true;
}

EraseResult DataFlashDriver::erase(const ChipSession& session, base::ProgressRunner& runner) const {
    const EndCode result = runner.run([&](base::ProgressSink& progress) {
        return eraseDataFlash(session.link, session.device, progress);
    });
    if (result == EndCode::Done)
        return EraseResult::Erased;
    return runner.cancelRequested() ? EraseResult::Cancelled : EraseResult::LinkFailure;
}

EndCode eraseDataFlash(link::ProgrammerLink& link, const devices::DeviceInfo& device,
                       base::ProgressSink& progress) {
    const int pages = (device.flashSize + device.pageSize - 1) / device.pageSize;
    progress.setup(text::GetUiText(text::Msg::EraseProgressTitle),
                   text::GetUiText(text::Msg::ErasingDevice), pages);
    if (!link.acknowledged(BoardCommand::CMD_AT45_DESELECT))
        return EndCode::LinkFailure;
    for (int block = 0; block < pages; block += kPagesPerBlock) {
        const int address = block << device.addressShift();
        if (!link.acknowledged(BoardCommand::CMD_AT45_SELECT) ||
            !link.acknowledged(BoardCommand::CMD_SPI_WRITE_N,
                               {0x00, kEraseCommandLength, kBlockErase,
                                static_cast<std::uint8_t>(address >> 8),
                                static_cast<std::uint8_t>(address), 0x00}))
            return EndCode::LinkFailure;
        link.pause(kEraseStartPauseMs);
        if (!link.acknowledged(BoardCommand::CMD_AT45_DESELECT))
            return EndCode::LinkFailure;
        link.pause(kBlockErasePauseMs);
        if (progress.cancelRequested())
            return EndCode::Cancelled;
        progress.reportProgress(block);
    }
    return EndCode::Done;
}

EndCode DataFlashDriver::program(const ChipSession& session, base::ProgressSink& sink,
                                 const MemoryJob& job, const ProgressTexts& texts) const {
    link::ProgrammerLink& link = session.link;
    const std::size_t n = job.amount();
    const auto pageBytes = static_cast<std::size_t>(session.device.pageSize);
    sink.setup(texts.title, texts.text, pageCount(n, pageBytes), static_cast<int>(pageBytes));
    if (!link.acknowledged(BoardCommand::CMD_AT45_DESELECT))
        return EndCode::LinkFailure;
    const auto states = job.buffer.byteStates();
    for (std::size_t p = 0, o = 0; o < n; ++p, o += pageBytes) {
        const std::size_t count = std::min(pageBytes, n - o);
        const auto address =
            devices::DeviceTable::at45PageAddress(session.device, static_cast<int>(p));
        const auto pageStates = states.subspan(o, count);
        EndCode code = EndCode::Done;  // a page without data keeps what it holds
        if (std::ranges::find(pageStates, ByteState::Fill) == pageStates.end())
            code = writeWholePage(session, job, o, count, address);
        else if (job.buffer.holdsDataIn(o, count))
            code = writeDataOfPage(session, job, o, count, address);
        if (code != EndCode::Done)
            return code;
        if (sink.cancelRequested())
            return EndCode::Cancelled;
        sink.reportProgress(static_cast<int>(p));
    }
    return EndCode::Done;
}

EndCode DataFlashDriver::read(const ChipSession& session, base::ProgressSink& sink,
                              const MemoryJob&, const ReadPass& pass) const {
    link::ProgrammerLink& link = session.link;
    const auto pageBytes = static_cast<std::size_t>(session.device.pageSize);
    sink.setup(pass.texts.title, pass.texts.text, pageCount(pass.amount, pageBytes),
               static_cast<int>(pageBytes));
    if (!startArrayRead(link))
        return EndCode::LinkFailure;
    for (std::size_t p = 0, o = 0; o < pass.amount; ++p, o += pageBytes) {
        const std::size_t count = std::min(pageBytes, pass.amount - o);
        if (!requestBytes(link, count))
            return EndCode::LinkFailure;
        // The page's bytes one at a time; a byte that does not come ends them early.
        for (std::size_t i = o; i < o + count; ++i) {
            const int value = link.receiveByte();
            if (value < 0)
                break;
            pass.sink.handle(i, static_cast<std::uint8_t>(value));
        }
        if (!link.expectAck())
            return EndCode::LinkFailure;
        if (sink.cancelRequested())
            return EndCode::Cancelled;
        sink.reportProgress(static_cast<int>(p));
    }
    // The array read goes on until the chip is deselected; the session's end does that.
    return EndCode::Done;
}

EndCode DataFlashDriver::blankCheck(const ChipSession& session, base::ProgressSink& sink,
                                    const ProgressTexts& texts) const {
    link::ProgrammerLink& link = session.link;
    const auto flashSize = static_cast<std::size_t>(std::max(session.device.flashSize, 0));
    const auto pageBytes = static_cast<std::size_t>(session.device.pageSize);
    sink.setup(texts.title, texts.text, pageCount(flashSize, pageBytes),
               static_cast<int>(pageBytes));
    if (!startArrayRead(link))
        return EndCode::LinkFailure;
    for (std::size_t p = 0, o = 0; o < flashSize; ++p, o += pageBytes) {
        const std::size_t count = std::min(pageBytes, flashSize - o);
        if (!requestBytes(link, count))
            return EndCode::LinkFailure;
        bool notBlank = false;
        for (std::size_t i = 0; i < count; ++i) {
            const int value = link.receiveByte();
            if (value < 0)
                break;  // a missing byte is a link matter, not a programmed one
            notBlank = notBlank || value != kErased;
        }
        // What was seen counts even when the page's closing CR is missing.
        if (!link.expectAck())
            return notBlank ? EndCode::NotBlank : EndCode::LinkFailure;
        if (notBlank)
            return EndCode::NotBlank;
        if (sink.cancelRequested())
            return EndCode::Cancelled;
        sink.reportProgress(static_cast<int>(p));
    }
    return EndCode::Done;
}

}  // namespace zavuv::chips
