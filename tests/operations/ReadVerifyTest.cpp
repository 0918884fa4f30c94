#include <gtest/gtest.h>

#include <cstdio>

#include <numeric>

#include "operations/MemoryTesting.h"
#include "operations/OperationFrame.h"

using namespace zavuv;
using namespace zavuv::testing;
using buffers::ByteState;

namespace {

void fillChip(std::vector<std::uint8_t>& memory, const std::vector<std::uint8_t>& bytes) {
    std::copy(bytes.begin(), bytes.end(), memory.begin());
}

}  // namespace

TEST(VerifyFlash, EqualChipMarksEveryByteVerified) {
    SimulatedWorkspace sim("ATmega8");
    const auto image = patternBytes(8192);
    fillChip(sim.board().chip().flash, image);
    loadBytes(sim, sim.ws().flash(), image);

    EXPECT_TRUE(operations::verifyFlash(sim.ws()));
    EXPECT_EQ(sim.user().lastStatus(), "Flash verify: OK (8192 bytes verified)");
    EXPECT_EQ(countState(sim.ws().flash(), ByteState::Verified), 8192);
    EXPECT_EQ(sim.ws().results.firstMismatch, -1);
    EXPECT_TRUE(sim.ws().results.flashVerified);
    EXPECT_EQ(sim.ws().results.lastOperationStatus, zavuv::workspace::OperationStatus::Succeeded);
    EXPECT_EQ(countRunsStartingWith(wire(sim), "> 7D 40"), 128);
}

TEST(VerifyFlash, MismatchesStayUnverifiedAndTheFirstIsReported) {
    SimulatedWorkspace sim("ATmega8");
    auto image = patternBytes(1000);
    fillChip(sim.board().chip().flash, image);
    image[0x10] ^= 1;
    image[0x20] ^= 1;
    loadBytes(sim, sim.ws().flash(), image);
    sim.ws().results.flashVerified = true;

    EXPECT_FALSE(operations::verifyFlash(sim.ws()));
    char expected[100];
    std::snprintf(expected, sizeof expected,
                  "Flash verify: ERROR at byte 16 (0x10): expected %02X, read %02X; 2 bytes differ",
                  image[0x10], image[0x10] ^ 1);
    EXPECT_EQ(sim.user().lastStatus(), expected);
    EXPECT_EQ(sim.ws().results.firstMismatch, 16);
    EXPECT_FALSE(sim.ws().results.flashVerified);
    EXPECT_EQ(sim.ws().results.lastOperationStatus, zavuv::workspace::OperationStatus::Failed);
    const auto states = sim.ws().flash().byteStates();
    EXPECT_EQ(states[0x10], ByteState::Created);
    EXPECT_EQ(states[0x20], ByteState::Created);
    EXPECT_EQ(countState(sim.ws().flash(), ByteState::Verified), 998);
    // 1000 bytes: fifteen full blocks and one of 40.
    const auto runs = wire(sim);
    EXPECT_EQ(countRunsStartingWith(runs, "> 7D 40"), 15);
    EXPECT_TRUE(hasRun(runs, "> 7D 28"));
    EXPECT_TRUE(sim.boardIdle());
}

TEST(VerifyFlash, BytesPastTheChipCountNeitherWay) {
    SimulatedWorkspace sim("ATtiny13");
    const auto image = patternBytes(1100);
    fillChip(sim.board().chip().flash,
             std::vector<std::uint8_t>(image.begin(), image.begin() + 1024));
    loadBytes(sim, sim.ws().flash(), image);

    EXPECT_TRUE(operations::verifyFlash(sim.ws()));
    EXPECT_EQ(sim.user().lastStatus(), "Flash verify: OK (1024 bytes verified)");
    EXPECT_EQ(countState(sim.ws().flash(), ByteState::Verified), 1024);
    EXPECT_EQ(countState(sim.ws().flash(), ByteState::Created, 1024), 76);
}

TEST(ReadFlash, FillsTheBufferBlockByBlock) {
    SimulatedWorkspace sim("ATmega48");
    RecordingRunner runner;
    sim.ws().setProgressRunner(runner);
    sim.ws().boardDelays.pageReadDelayMs = 2;
    const auto image = patternBytes(4096);
    fillChip(sim.board().chip().flash, image);
    loadBytes(sim, sim.ws().flash(), patternBytes(10, 3), "old.bin");

    EXPECT_TRUE(operations::readFlash(sim.ws()));
    auto& flash = sim.ws().flash();
    EXPECT_EQ(std::vector<std::uint8_t>(flash.data().begin(), flash.data().end()), image);
    EXPECT_EQ(countState(flash, ByteState::Read), 4096);
    EXPECT_EQ(flash.path(), sim.folder().file("old.bin"));
    EXPECT_TRUE(flash.modified());
    EXPECT_EQ(runner.totals, std::vector<int>{64});
    EXPECT_EQ(countRunsStartingWith(wire(sim), "> 7D 40"), 64);
    EXPECT_TRUE(containsInOrder(sim.pauses(), repeated<int>({2}, 64)));
    const int sum = std::accumulate(image.begin(), image.end(), 0) % 65536;
    EXPECT_EQ(sim.user().statuses(),
              (std::vector<std::string>{"Reading Flash", "Reset strobe... (20 ms)",
                                        "Connection accepted", "Flash read: OK",
                                        fmt::format("Flash length: 4096 (0x1000) bytes, "
                                                    "Checksum = 0x{:04X}",
                                                    sum)}));
}

TEST(ReadFlash, CancelKeepsWhatCameAndLeavesTheRestErased) {
    SimulatedWorkspace sim("ATmega48");
    RecordingRunner runner(3);
    sim.ws().setProgressRunner(runner);
    fillChip(sim.board().chip().flash, patternBytes(4096));

    EXPECT_FALSE(operations::readFlash(sim.ws()));
    const auto& flash = sim.ws().flash();
    EXPECT_EQ(flash.size(), 4096u);
    EXPECT_EQ(countState(flash, ByteState::Read), 4 * 64);
    EXPECT_EQ(countState(flash, ByteState::Created, 256), 4096 - 256);
    EXPECT_TRUE(std::all_of(flash.data().begin() + 256, flash.data().end(),
                            [](std::uint8_t b) { return b == 0xFF; }));
    const auto statuses = sim.user().statuses();
    EXPECT_TRUE(hasRun(statuses, "Flash read cancelled"));
    EXPECT_TRUE(statuses.back().starts_with("Flash length: 4096 (0x1000) bytes, Checksum = "));
    EXPECT_TRUE(sim.boardIdle());
}

TEST(ReadFlash, ALinkFailureShowsBothBoxesAndStillTheLength) {
    // The connect and 'W' take 16 host bytes; the board falls silent in the first block.
    SimulatedWorkspace sim("ATmega48", {"silent-after=18"});
    EXPECT_FALSE(operations::readFlash(sim.ws()));
    const auto messages = sim.user().messages();
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages[0], "Connection error");
    EXPECT_EQ(messages[1], "Error reading Flash");
    const auto statuses = sim.user().statuses();
    EXPECT_TRUE(hasRun(statuses, "Flash read: ERROR"));
    EXPECT_EQ(statuses.back(), "Flash length: 4096 (0x1000) bytes, Checksum = 0xF000");
    EXPECT_EQ(sim.ws().flash().size(), 4096u);
    EXPECT_FALSE(sim.ws().channel().connected());
}

TEST(ReadFlash, SingleByteChipsAreReadAddressByAddress) {
    SimulatedWorkspace sim("AT89S52");
    const auto image = patternBytes(8192);
    fillChip(sim.board().chip().flash, image);

    EXPECT_TRUE(operations::readFlash(sim.ws()));
    const auto& flash = sim.ws().flash();
    EXPECT_EQ(std::vector<std::uint8_t>(flash.data().begin(), flash.data().end()), image);
    const auto runs = wire(sim);
    EXPECT_TRUE(
        containsInOrder(runs, {"> 35 20 12 34", hostRun({image[0x1234]}).replace(0, 1, "<")}));
    EXPECT_EQ(countRunsStartingWith(runs, "> 35 20 "), 8192);
    EXPECT_TRUE(containsInOrder(sim.pauses(), repeated<int>({5}, 8192)));

    // The byte delay override counts for reading too.
    SimulatedWorkspace fast("AT89S52");
    fast.ws().project().delayByte = true;
    fast.ws().project().delayByteValue = 1;
    loadBytes(fast, fast.ws().flash(), std::vector<std::uint8_t>(100, 0xFF));
    EXPECT_TRUE(operations::verifyFlash(fast.ws()));
    EXPECT_TRUE(containsInOrder(fast.pauses(), repeated<int>({1}, 100)));
}

TEST(VerifyFlash, DataFlashIsReadAsOneContinuousArray) {
    SimulatedWorkspace sim("AT45DB041B");
    RecordingRunner runner;
    sim.ws().setProgressRunner(runner);
    const auto image = patternBytes(1000);
    fillChip(sim.board().chip().flash, image);
    loadBytes(sim, sim.ws().flash(), image);

    EXPECT_TRUE(operations::verifyFlash(sim.ws()));
    EXPECT_EQ(runner.totals, (std::vector<int>{15, 4}));
    // The frame's setup counts blocks; the driver's counts 264-byte pages.
    EXPECT_EQ(runner.units, (std::vector<int>{64, 264}));
    const auto runs = wire(sim);
    EXPECT_TRUE(
        containsInOrder(runs, {"> 6B", "< 0D", "> 6C", "< 0D", "> 30 00 08 E8 00 00 00 00 00 00 00",
                               "< 0D", "> 31 01 08"}));
    EXPECT_EQ(countRunsStartingWith(runs, "> 31 01 08"), 3);
    EXPECT_TRUE(hasRun(runs, "> 31 00 D0"));
    EXPECT_EQ(countRunsStartingWith(runs, "> 30 "), 1);  // no page is addressed on its own
    EXPECT_TRUE(sim.boardIdle());
}

TEST(At25Memory, ProgramVerifyAndReadRoundTrip) {
    SimulatedWorkspace sim("AT25HP256");
    const auto image = patternBytes(300);
    loadBytes(sim, sim.ws().eeprom(), image);
    ASSERT_TRUE(operations::programEeprom(sim.ws()));

    RecordingRunner runner;
    sim.ws().setProgressRunner(runner);
    EXPECT_TRUE(operations::verifyEeprom(sim.ws()));
    EXPECT_EQ(sim.user().lastStatus(), "Eeprom verify: OK (300 bytes verified)");
    EXPECT_EQ(runner.totals, (std::vector<int>{4, 3}));
    EXPECT_EQ(runner.texts, (std::vector<std::string>(2, "Verifying Eeprom")));
    EXPECT_TRUE(containsInOrder(wire(sim), {"> 39", "< 0D", "> 36 03", "< 0D", "> 36 01", "< 0D",
                                            "> 36 00", "< 0D", "> 37"}));

    EXPECT_TRUE(operations::readEeprom(sim.ws()));
    const auto& eeprom = sim.ws().eeprom();
    ASSERT_EQ(eeprom.size(), 32768u);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), eeprom.data().begin()));
    EXPECT_EQ(countState(eeprom, ByteState::Read), 32768);
    EXPECT_TRUE(sim.boardIdle());
}

TEST(At25Memory, ALinkFailureIsSilentInTheWorker) {
    SimulatedWorkspace sim("AT25256", {"silent-after=30"});
    loadBytes(sim, sim.ws().eeprom(), patternBytes(100));
    EXPECT_FALSE(operations::verifyEeprom(sim.ws()));
    const auto messages = sim.user().messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.front(), "Connection error while verifying Eeprom");
    EXPECT_FALSE(hasRun(messages, "Connection error"));
    EXPECT_EQ(sim.user().lastStatus(), "Connection error while verifying Eeprom");
}
