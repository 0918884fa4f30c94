#include <gtest/gtest.h>

#include "SimHarness.h"
#include "sim/BoardIdentity.h"

namespace zavuv::sim {
namespace {

using testing::Bytes;
using testing::SimHarness;

SimOptions noFirmware() {
    SimOptions options;
    options.faults = {"no-firmware"};
    return options;
}

// Sends `chunks` chunks of the image as the update does: byte by byte, one
// acknowledgement per chunk, a pause after every 32nd.
void upload(SimHarness& sim, std::size_t chunks) {
    for (std::size_t i = 0; i < chunks; ++i) {
        for (std::size_t k = 0; k < kFirmwareChunkSize; ++k) {
            sim.send({static_cast<std::uint8_t>(i + k)});
        }
        if (i % 32 == 31) {
            sim.clock.sleepMs(15);
        }
        ASSERT_EQ(sim.receive(1).size(), 1u) << "chunk " << i;
    }
}

TEST(BootLoaderTest, BootLoaderIdentifiesItself) {
    SimHarness sim(noFirmware());
    const Bytes identity = sim.exchange({'?'}, kBootLoaderIdentity.size() + 2);
    EXPECT_EQ(std::string(identity.begin() + 1, identity.end() - 1), kBootLoaderIdentity);
    EXPECT_EQ(sim.exchange({'N'}, 6).back(), 0x0D);
}

TEST(BootLoaderTest, UploadOfAFullImageStartsVersion109) {
    SimHarness sim(noFirmware());
    EXPECT_EQ(sim.exchange({'^'}, 1), Bytes{'+'});
    upload(sim, kFirmwareImageSize / kFirmwareChunkSize);
    EXPECT_EQ(sim.exchange({'%'}, 1), Bytes{'+'});
    EXPECT_EQ(sim.exchange({'@'}, 3), (Bytes{'1', '0', '9'}));
}

TEST(BootLoaderTest, UploadReplacesAWrongVersion) {
    SimOptions options;
    options.faults = {"version=108"};
    SimHarness sim(options);
    EXPECT_EQ(sim.exchange({'@'}, 3), (Bytes{'1', '0', '8'}));
    EXPECT_EQ(sim.exchange({'^'}, 1), Bytes{'+'});  // from the application
    upload(sim, kFirmwareImageSize / kFirmwareChunkSize);
    EXPECT_EQ(sim.exchange({'@'}, 3), (Bytes{'1', '0', '9'}));
}

TEST(BootLoaderTest, StalledUploadLeavesTheBoardWithoutApplication) {
    SimHarness sim;
    EXPECT_EQ(sim.exchange({'^'}, 1), Bytes{'+'});
    upload(sim, 100);
    sim.clock.sleepMs(1500);
    EXPECT_EQ(sim.exchange({'%'}, 1), Bytes{'-'});
    EXPECT_EQ(sim.exchange({'@'}, 3), (Bytes{'l', 'd', 'r'}));
    // A new upload starts over.
    EXPECT_EQ(sim.exchange({'^'}, 1), Bytes{'+'});
    upload(sim, kFirmwareImageSize / kFirmwareChunkSize);
    EXPECT_EQ(sim.exchange({'%'}, 1), Bytes{'+'});
}

TEST(BootLoaderTest, OnlyTheLastChunkCompletesTheImage) {
    SimHarness sim(noFirmware());
    EXPECT_EQ(sim.exchange({'^'}, 1), Bytes{'+'});
    upload(sim, kFirmwareImageSize / kFirmwareChunkSize - 1);
    EXPECT_FALSE(sim.board->board().applicationRunning());
    EXPECT_EQ(sim.board->board().bootLoader().bytesReceived(), kFirmwareImageSize - 4);
    upload(sim, 1);
    EXPECT_TRUE(sim.board->board().applicationRunning());
}

}  // namespace
}  // namespace zavuv::sim
