#pragma once
// The board's boot loader: it runs when the board holds no valid application,
// says so to the synchronisation command, and takes a new firmware image after
// '^' in chunks of four bytes, each acknowledged. An upload that stalls for a
// second is abandoned, leaving the board without a valid application.

#include <cstdint>

#include "sim/ReplySink.h"

namespace zavuv::sim {

class BootLoader {
public:
    static constexpr std::int64_t kUploadTimeoutUs = 1'000'000;

    explicit BootLoader(ReplySink& sink) : sink_(sink) {}

    // Answers '+' and waits for the image.
    void startUpload(std::int64_t nowUs);
    // One byte while the boot loader runs. True when it completed an image: the
    // new application starts.
    bool receive(std::uint8_t byte, std::int64_t nowUs);

    bool uploading() const { return uploading_; }
    std::size_t bytesReceived() const { return received_; }

private:
    void answerCommand(std::uint8_t byte, std::int64_t nowUs);

    ReplySink& sink_;
    bool uploading_ = false;
    std::size_t received_ = 0;
    std::int64_t lastByteUs_ = 0;
};

}  // namespace zavuv::sim
