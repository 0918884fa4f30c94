#include <gtest/gtest.h>

#include <deque>

#include "base/VirtualClock.h"
#include "operations/FirmwareImage.h"
#include "operations/FirmwareUpload.h"
#include "support/RecordingUserPort.h"
#include "workspace/ProgressTracker.h"

using namespace zavuv;

namespace {

// A boot loader that answers '^' and the final '%' as told, and every chunk
// with CR.
class BootLoaderLine : public link::SerialPort {
public:
    BootLoaderLine(std::uint8_t bootAnswer, std::uint8_t syncAnswer)
        : bootAnswer_(bootAnswer), syncAnswer_(syncAnswer) {}

    bool open(int) override { return open_ = true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    bool drain() override { return true; }
    long write(std::span<const std::uint8_t> bytes) override {
        for (std::uint8_t byte : bytes) {
            if (uploading_) {
                if (++imageBytes % operations::kFirmwareChunkSize == 0)
                    replies_.push_back(0x0D);
                uploading_ = imageBytes < operations::kFirmwareImageSize;
            } else if (byte == '^') {
                replies_.push_back(bootAnswer_);
                uploading_ = bootAnswer_ == '+';
            } else if (byte == '%') {
                replies_.push_back(syncAnswer_);
            }
            written.push_back(byte);
        }
        return static_cast<long>(bytes.size());
    }
    std::size_t read(std::span<std::uint8_t> into, int) override {
        std::size_t count = 0;
        for (; count < into.size() && !replies_.empty(); ++count) {
            into[count] = replies_.front();
            replies_.pop_front();
        }
        return count;
    }

    std::size_t imageBytes = 0;
    std::vector<std::uint8_t> written;

private:
    std::uint8_t bootAnswer_;
    std::uint8_t syncAnswer_;
    bool open_ = false;
    bool uploading_ = false;
    std::deque<std::uint8_t> replies_;
};

// The channel owns the port it opens; the test keeps looking at the same line.
struct ForwardingPort : link::SerialPort {
    explicit ForwardingPort(link::SerialPort& target) : target(target) {}
    bool open(int baud) override { return target.open(baud); }
    void close() override { target.close(); }
    bool isOpen() const override { return target.isOpen(); }
    bool drain() override { return target.drain(); }
    long write(std::span<const std::uint8_t> b) override { return target.write(b); }
    std::size_t read(std::span<std::uint8_t> i, int t) override { return target.read(i, t); }
    link::SerialPort& target;
};

struct Upload {
    Upload(std::uint8_t bootAnswer, std::uint8_t syncAnswer) : line(bootAnswer, syncAnswer) {
        channel.open(0, 19200);
    }

    base::EndCode run() {
        link::LinkMessages messages(user);
        base::SilentProgressDisplay display;
        std::atomic<bool> cancel{false};
        base::VirtualClock clock;
        workspace::ProgressTracker progress(display, cancel, clock);
        const std::vector<std::uint8_t> image(operations::kFirmwareImageSize, 0x5A);
        const base::EndCode result = operations::uploadFirmware(
            link, messages, image, operations::TransferSpeed::Normal, progress);
        EXPECT_EQ(progress.total(), 3072);
        return result;
    }

    BootLoaderLine line;
    link::SerialChannel channel{[this](int) { return std::make_unique<ForwardingPort>(line); }};
    base::VirtualClock clock;
    link::ProgrammerLink link{channel, clock};
    zavuv::testing::RecordingUserPort user;
};

}  // namespace

TEST(FirmwareUpload, BoardWithoutValidProgramAfterTheImage) {
    Upload upload('+', '-');
    EXPECT_EQ(upload.run(), base::EndCode::LinkFailure);
    EXPECT_EQ(upload.line.imageBytes, operations::kFirmwareImageSize);
    EXPECT_EQ(upload.user.messages(), std::vector<std::string>{"Update firmware version failed."});
    EXPECT_EQ(upload.user.lastStatus(), "Update firmware version failed.");
    EXPECT_EQ(upload.line.written.back(), '-');  // the session was ended
    EXPECT_FALSE(upload.channel.connected());
}

TEST(FirmwareUpload, BootLoaderRefusingTheUploadGetsNoImage) {
    Upload upload('-', '+');
    EXPECT_EQ(upload.run(), base::EndCode::LinkFailure);
    EXPECT_EQ(upload.line.written, std::vector<std::uint8_t>{'^'});
    EXPECT_EQ(upload.user.messages(),
              std::vector<std::string>{"Programmer is not ready to update firmware version. "
                                       "Please switch power off and then on."});
}

TEST(FirmwareUpload, NewFirmwareAnswersEitherReadyByte) {
    for (std::uint8_t ready : {std::uint8_t{'+'}, std::uint8_t{'*'}}) {
        Upload upload('+', ready);
        EXPECT_EQ(upload.run(), base::EndCode::Done);
        EXPECT_TRUE(upload.user.messages().empty());
        EXPECT_TRUE(upload.channel.connected());
    }
}
