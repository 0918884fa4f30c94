#include "sim/BootLoader.h"

#include "sim/BoardCommand.h"
#include "sim/BoardIdentity.h"

namespace zavuv::sim {

namespace {

void send(ReplySink& sink, std::uint8_t byte) {
    sink.reply(std::span(&byte, 1));
}

}  // namespace

void BootLoader::startUpload(std::int64_t nowUs) {
    uploading_ = true;
    received_ = 0;
    lastByteUs_ = nowUs;
    send(sink_, '+');
}

bool BootLoader::receive(std::uint8_t byte, std::int64_t nowUs) {
    if (uploading_ && nowUs - lastByteUs_ > kUploadTimeoutUs) {
        uploading_ = false;  // the partial image stays invalid
    }
    if (!uploading_) {
        answerCommand(byte, nowUs);
        return false;
    }
    lastByteUs_ = nowUs;
    ++received_;
    if (received_ % kFirmwareChunkSize == 0) {
        send(sink_, kCr);
    }
    if (received_ == kFirmwareImageSize) {
        uploading_ = false;
        return true;
    }
    return false;
}

void BootLoader::answerCommand(std::uint8_t byte, std::int64_t nowUs) {
    switch (static_cast<BoardCommand>(byte)) {
    case BoardCommand::Sync:
        send(sink_, '-');  // no valid application
        return;
    case BoardCommand::GetVersion:
        sink_.reply(std::span(reinterpret_cast<const std::uint8_t*>(kBootLoaderVersion.data()),
                              kBootLoaderVersion.size()));
        return;
    case BoardCommand::GetId:
        sink_.reply(identityReply(kBootLoaderIdentity));
        return;
    case BoardCommand::GetSerial:
        sink_.reply(serialNumberReply());
        return;
    case BoardCommand::BootEnter:
        startUpload(nowUs);
        return;
    default:
        return;  // the boot loader knows nothing else
    }
}

}  // namespace zavuv::sim
