#include "operations/FirmwareUpload.h"

#include "operations/FirmwareImage.h"
#include "text/UiText.h"

namespace zavuv::operations {

using link::BoardCommand;

namespace {

struct Pacing {
    int bootEnterMs;   // before '^' and again before its answer is read
    int blockEndMs;    // after every 32nd chunk, when the boot loader writes its buffer
    int otherChunkMs;  // after every other chunk
};

constexpr Pacing kNormal{15, 15, 0};
constexpr Pacing kReduced{100, 30, 5};
constexpr std::size_t kChunksPerBlock = 32;

// The new firmware starts after the last chunk; these pauses let it.
constexpr int kStartPauseMs = 200;
constexpr int kSyncPauseMs = 150;
constexpr int kSyncReplyPauseMs = 50;

constexpr std::uint8_t kBootReady = '+';

base::EndCode failed(link::LinkMessages& messages, text::Msg key) {
    messages.box(key);
    return base::EndCode::LinkFailure;
}

}  // namespace

base::EndCode uploadFirmware(link::ProgrammerLink& link, link::LinkMessages& messages,
                             std::span<const std::uint8_t> image, TransferSpeed speed,
                             base::ProgressSink& progress) {
    const Pacing& pacing = speed == TransferSpeed::Normal ? kNormal : kReduced;
    const std::size_t chunks = image.size() / kFirmwareChunkSize;
    progress.setup(text::GetUiText(text::Msg::UpdateProgressTitle),
                   text::GetUiText(text::Msg::UpdatingFirmware), static_cast<int>(chunks),
                   static_cast<int>(kFirmwareChunkSize));

    link.pause(pacing.bootEnterMs);
    if (!link.send(BoardCommand::CMD_BOOT_ENTER))
        return failed(messages, text::Msg::ConnectionError);
    link.pause(pacing.bootEnterMs);
    const int ready = link.receiveByte();
    if (ready < 0)
        return failed(messages, text::Msg::ConnectionError);
    if (ready != kBootReady)
        return failed(messages, text::Msg::NotReadyToUpdate);

    for (std::size_t i = 0; i < chunks; ++i) {
        // Byte by byte: every send waits for the line to drain, which paces
        // the boot loader's receive.
        for (std::uint8_t byte : image.subspan(i * kFirmwareChunkSize, kFirmwareChunkSize))
            if (!link.channel().sendByte(byte))
                return failed(messages, text::Msg::ConnectionError);
        const int pause =
            i % kChunksPerBlock == kChunksPerBlock - 1 ? pacing.blockEndMs : pacing.otherChunkMs;
        if (pause > 0)
            link.pause(pause);
        // The boot loader answers every chunk; what it answers carries nothing.
        if (link.receiveByte() < 0)
            return failed(messages, text::Msg::ConnectionError);
        progress.reportProgress(static_cast<int>(i));
    }

    link.pause(kStartPauseMs);
    link.drainLine();
    link.pause(kSyncPauseMs);
    if (!link.send(BoardCommand::CMD_SYNC)) {
        link.endSession();
        messages.connectionError();
        return base::EndCode::LinkFailure;
    }
    link.pause(kSyncReplyPauseMs);
    const int answer = link.receiveByte();
    if (answer == link::kSyncReady || answer == link::kSyncReadyAlt)
        return base::EndCode::Done;
    link.endSession();
    if (answer == link::kSyncNoFirmware) {
        messages.box(text::Msg::UpdateFailed);
        messages.status(text::Msg::UpdateFailed);
    } else {
        messages.connectionError();
    }
    return base::EndCode::LinkFailure;
}

}  // namespace zavuv::operations
