#include <gtest/gtest.h>

#include <cstdlib>

#include "MemoryTesting.h"
#include "WireRuns.h"
#include "operations/FirmwareImage.h"
#include "operations/FirmwareUpdate.h"
#include "support/EnvironmentVariable.h"

using namespace zavuv;
using operations::TransferSpeed;
using Result = operations::FirmwareUpdateResult;
using zavuv::testing::containsPauses;
using zavuv::testing::countOf;
using zavuv::testing::ScratchFolder;
using zavuv::testing::sentRuns;
using zavuv::testing::SimulatedWorkspace;

namespace {

std::vector<std::uint8_t> generatedImage(std::size_t size = operations::kFirmwareImageSize) {
    std::vector<std::uint8_t> image(size);
    for (std::size_t i = 0; i < size; ++i)
        image[i] = static_cast<std::uint8_t>(i * 7);
    return image;
}

// Points ZAVUV_FIRMWARE at a file of the scratch folder for one test.
class FirmwareFile {
public:
    explicit FirmwareFile(const std::vector<std::uint8_t>& content)
        : path_(folder_.write("zavuv-board.bin", content)), variable_("ZAVUV_FIRMWARE", path_) {}
    FirmwareFile() : path_(folder_.file("absent.bin")), variable_("ZAVUV_FIRMWARE", path_) {}
    const std::string& path() const { return path_; }

private:
    ScratchFolder folder_;
    std::string path_;
    zavuv::testing::ScopedVariable variable_;
};

operations::ConfirmFirmwareUpdate answer(std::optional<TransferSpeed> speed,
                                         operations::FirmwareVersions* shown = nullptr) {
    return [speed, shown](const operations::FirmwareVersions& versions) {
        if (shown)
            *shown = versions;
        return speed;
    };
}

// The bytes sent between '^' and the '%' that follows the image.
std::vector<std::uint8_t> sentImage(SimulatedWorkspace& sim) {
    std::vector<std::uint8_t> bytes;
    bool inImage = false;
    for (const std::string& run : sentRuns(sim)) {
        if (run == "> 5E" || run == "> 25") {
            inImage = run == "> 5E";
            continue;
        }
        for (std::size_t at = 2; inImage && at + 1 < run.size(); at += 3)
            bytes.push_back(static_cast<std::uint8_t>(std::stoi(run.substr(at, 2), nullptr, 16)));
    }
    return bytes;
}

// The pauses of the upload from '^' to the final synchronisation.
std::vector<int> uploadPauses(int bootEnter, int blockEnd, int otherChunk) {
    std::vector<int> pauses{bootEnter, bootEnter};
    for (int i = 0; i < 3072; ++i) {
        const int pause = i % 32 == 31 ? blockEnd : otherChunk;
        if (pause > 0)
            pauses.push_back(pause);
    }
    pauses.insert(pauses.end(), {200, 150, 50});
    return pauses;
}

}  // namespace

TEST(FirmwareUpdate, BootLoaderTakesTheImageAtNormalSpeed) {
    FirmwareFile image(generatedImage());
    SimulatedWorkspace sim("ATmega8", {"no-firmware"});
    zavuv::testing::RecordingRunner runner;
    sim.ws().setProgressRunner(runner);
    operations::FirmwareVersions shown;
    EXPECT_EQ(Result::Updated,
              operations::updateFirmware(sim.ws(), answer(TransferSpeed::Normal, &shown)));
    // Stopping half-way would leave the board without firmware.
    EXPECT_EQ(runner.offers, std::vector<base::CancelOffer>{base::CancelOffer::Withheld});
    EXPECT_EQ(shown.current, "Bootloader");
    EXPECT_EQ(shown.next, "1.09");
    EXPECT_EQ(sim.user().messages().front(),
              "Please detach and then attach power to the programmer, then ensure, that "
              "\"Bootloader\" is displayed as version number.");
    EXPECT_EQ(sim.user().messages().size(), 1u);
    EXPECT_TRUE(sim.board().board().applicationRunning());
    EXPECT_EQ(sim.board().board().bootLoader().bytesReceived(), operations::kFirmwareImageSize);
    EXPECT_EQ(sentImage(sim), generatedImage());
    EXPECT_TRUE(containsPauses(sim.pauses(), uploadPauses(15, 15, 0)));
    const auto statuses = sim.user().statuses();
    EXPECT_NE(std::find(statuses.begin(), statuses.end(), "Version successfully updated"),
              statuses.end());
    EXPECT_TRUE(sim.user().lastStatus().starts_with("ZAVUV ISP programmer"));
    EXPECT_TRUE(sim.boardIdle());
}

TEST(FirmwareUpdate, ReducedSpeedPausesAfterEveryChunk) {
    FirmwareFile image(generatedImage());
    SimulatedWorkspace sim("ATmega8", {"version=108"});
    EXPECT_EQ(Result::Updated,
              operations::updateFirmware(sim.ws(), answer(TransferSpeed::Reduced)));
    EXPECT_TRUE(containsPauses(sim.pauses(), uploadPauses(100, 30, 5)));
    EXPECT_TRUE(sim.boardIdle());
}

TEST(FirmwareUpdate, CancelledDialogLeavesTheBoardAlone) {
    FirmwareFile image(generatedImage());
    SimulatedWorkspace sim("ATmega8", {"no-firmware"});
    operations::FirmwareVersions shown;
    EXPECT_EQ(Result::NotUpdated,
              operations::updateFirmware(sim.ws(), answer(std::nullopt, &shown)));
    EXPECT_EQ(shown.current, "Bootloader");
    EXPECT_EQ(sentRuns(sim), (std::vector<std::string>{"> 3F", "> 4E", "> 1B"}));
    EXPECT_FALSE(sim.board().board().applicationRunning());
}

TEST(FirmwareUpdate, AMissingOrWrongSizedImageSendsNothing) {
    {
        FirmwareFile missing;
        SimulatedWorkspace sim("ATmega8");
        EXPECT_EQ(Result::ImageUnusable,
                  operations::updateFirmware(sim.ws(), answer(TransferSpeed::Normal)));
        EXPECT_EQ(sim.user().messages(),
                  std::vector<std::string>{"Firmware image '" + missing.path() + "' not found"});
        EXPECT_TRUE(sentRuns(sim).empty());
    }
    for (std::size_t size : {std::size_t{12287}, std::size_t{20000}}) {
        FirmwareFile wrong(generatedImage(size));
        SimulatedWorkspace sim("ATmega8");
        EXPECT_EQ(Result::ImageUnusable,
                  operations::updateFirmware(sim.ws(), answer(TransferSpeed::Normal)));
        EXPECT_EQ(sim.user().messages(),
                  std::vector<std::string>{"Firmware image '" + wrong.path() + "' has " +
                                           std::to_string(size) + " bytes; 12288 are needed"});
        EXPECT_TRUE(sentRuns(sim).empty());
    }
}

TEST(FirmwareUpdate, BoardNotReadyForTheImage) {
    FirmwareFile image(generatedImage());
    // The identity takes two replies; the third answers '^'.
    SimulatedWorkspace sim("ATmega8", {"garbage-after=3"});
    EXPECT_EQ(Result::NotUpdated,
              operations::updateFirmware(sim.ws(), answer(TransferSpeed::Normal)));
    EXPECT_EQ(sim.user().messages().back(),
              "Programmer is not ready to update firmware version. Please switch power off and "
              "then on.");
    EXPECT_EQ(sim.user().lastStatus(), "Error while version updating");
    EXPECT_EQ(sentRuns(sim).back(), "> 1B");  // nothing of the image after '^'
    EXPECT_TRUE(sim.boardIdle());
}

TEST(FirmwareUpdate, SilenceAfterTheImageIsAConnectionError) {
    FirmwareFile image(generatedImage());
    // '?', 'N', ESC, '^' and the image are answered; the final '%' is not.
    SimulatedWorkspace sim("ATmega8", {"silent-after=12292"});
    EXPECT_EQ(Result::NotUpdated,
              operations::updateFirmware(sim.ws(), answer(TransferSpeed::Normal)));
    const auto messages = sim.user().messages();
    EXPECT_EQ(messages.back(), "Connection error");
    const auto statuses = sim.user().statuses();
    EXPECT_EQ(statuses[statuses.size() - 2], "Connection error");
    EXPECT_EQ(statuses.back(), "Error while version updating");
    EXPECT_FALSE(sim.ws().channel().connected());
}

TEST(FirmwareUpdate, AFailedStartEndsInTheProjectsSckPeriodAndPolling) {
    FirmwareFile image(generatedImage());
    // Two identity replies, '^', 3072 chunks: the 3076th reply answers the final '%'.
    SimulatedWorkspace sim("ATmega8", {"no-firmware", "garbage-after=3076"});
    sim.ws().project().spiPeriod = 5;  // 10 us
    sim.ws().project().polling = true;
    EXPECT_EQ(Result::NotUpdated,
              operations::updateFirmware(sim.ws(), answer(TransferSpeed::Normal)));
    // Not the default 23 00 82 00.
    EXPECT_EQ(sentRuns(sim).back(), "> 23 00 02 01");
}
