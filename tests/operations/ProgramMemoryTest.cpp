#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "operations/MemoryTesting.h"
#include "operations/OperationFrame.h"

using namespace zavuv;
using namespace zavuv::testing;
using buffers::ByteState;

namespace {

std::vector<std::uint8_t> chipBytes(const std::vector<std::uint8_t>& memory, std::size_t count) {
    return {memory.begin(), memory.begin() + static_cast<long>(count)};
}

}  // namespace

TEST(ProgramFlash, AvrPagesGoInQuartersThenToTheirWordAddress) {
    SimulatedWorkspace sim("ATmega16");
    sim.ws().boardDelays.pageWriteDelayMs = 3;
    const auto image = patternBytes(16384);
    loadBytes(sim, sim.ws().flash(), image);

    EXPECT_TRUE(operations::programFlash(sim.ws()));
    EXPECT_EQ(sim.user().lastStatus(), "Flash program: Done (16384 bytes programmed)");
    EXPECT_EQ(sim.ws().results.lastOperationStatus, zavuv::workspace::OperationStatus::Succeeded);
    EXPECT_EQ(sim.board().chip().flash, image);
    EXPECT_EQ(countState(sim.ws().flash(), ByteState::Programmed), 16384);

    const auto runs = wire(sim);
    EXPECT_TRUE(hasRun(runs, "> 57 DC"));  // the device's Flash write timing
    EXPECT_EQ(countRunsStartingWith(runs, "> 7B 20 "), 4 * 128);
    EXPECT_TRUE(containsInOrder(runs, {hostRun({0x7B, 0x20}, image, 0x3F80, 32), "< 0D",
                                       hostRun({0x7B, 0x20}, image, 0x3FA0, 32), "< 0D",
                                       hostRun({0x7B, 0x20}, image, 0x3FC0, 32), "< 0D",
                                       hostRun({0x7B, 0x20}, image, 0x3FE0, 32), "< 0D",
                                       "> 34 4D 00 00 00", "< 0D", "> 34 4C 1F C0 00", "< 0D"}));
    // The device's page delay, then the board's page write delay, for every page.
    EXPECT_TRUE(containsInOrder(sim.pauses(), repeated<int>({15, 3}, 128)));
    EXPECT_TRUE(sim.boardIdle());
}

TEST(ProgramFlash, LastPageIsPaddedAndErasedPagesAreSkippedButMarked) {
    SimulatedWorkspace sim("ATmega16");
    RecordingRunner runner;
    sim.ws().setProgressRunner(runner);
    sim.ws().boardDelays.pageWriteDelayMs = 3;
    auto image = patternBytes(300);
    std::fill(image.begin() + 128, image.begin() + 256, 0xFF);
    loadBytes(sim, sim.ws().flash(), image);

    EXPECT_TRUE(operations::programFlash(sim.ws()));
    EXPECT_EQ(runner.totals, std::vector<int>{2});
    EXPECT_EQ(runner.units, std::vector<int>{128});  // a page: the rate counts bytes
    EXPECT_EQ(runner.reports, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(chipBytes(sim.board().chip().flash, 300), image);
    EXPECT_EQ(countState(sim.ws().flash(), ByteState::Programmed), 300);

    const auto runs = wire(sim);
    EXPECT_EQ(countRunsStartingWith(runs, "> 34 4C "), 2);
    EXPECT_FALSE(hasRun(runs, "> 34 4C 00 40 00"));  // page 1 holds only 0xFF
    auto tail = std::vector<std::uint8_t>(image.begin() + 288, image.end());
    tail.resize(32, 0xFF);
    EXPECT_TRUE(containsInOrder(
        runs, {hostRun({0x7B, 0x20}, tail, 0, 32), "< 0D",
               hostRun(std::vector<std::uint8_t>(34, 0xFF)).replace(2, 5, "7B 20"), "< 0D"}));
    // The skipped page still waits the board's delay; only written pages wait their own.
    EXPECT_TRUE(containsInOrder(sim.pauses(), {15, 3, 3, 15, 3}));
}

TEST(ProgramFlash, ExtendedAddressByteGoesWithEveryPage) {
    SimulatedWorkspace sim("ATmega256x");
    std::vector<std::uint8_t> image(0x20100, 0xFF);
    const auto data = patternBytes(256);
    std::copy(data.begin(), data.end(), image.begin() + 0x1FF00);
    std::copy(data.begin(), data.end(), image.begin() + 0x20000);
    loadBytes(sim, sim.ws().flash(), image);

    EXPECT_TRUE(operations::programFlash(sim.ws()));
    const auto runs = wire(sim);
    EXPECT_TRUE(containsInOrder(runs, {"> 34 4D 00 00 00", "< 0D", "> 34 4C FF 80 00"}));
    EXPECT_TRUE(containsInOrder(runs, {"> 34 4D 00 01 00", "< 0D", "> 34 4C 00 00 00"}));
    EXPECT_EQ(chipBytes(sim.board().chip().flash, image.size()), image);
}

TEST(ProgramFlash, DataFlashPagesGoThroughTheChipBuffer) {
    SimulatedWorkspace sim("AT45DB161B");
    sim.ws().baudIndex = 2;
    sim.ws().project().checkSign = true;
    const auto image = patternBytes(5 * 528 + 100);
    loadBytes(sim, sim.ws().flash(), image);

    EXPECT_TRUE(operations::programFlash(sim.ws()));
    auto page5 = std::vector<std::uint8_t>(image.begin() + 5 * 528, image.end());
    page5.resize(528, 0xFF);
    const auto runs = wire(sim);
    EXPECT_TRUE(
        containsInOrder(runs, {"> 6C", "< 0D", "> 30 00 04 84 00 00 00", "< 0D",
                               hostRun({0x30, 0x02, 0x10}, page5, 0, 528), "< 0D", "> 6B", "< 0D",
                               "> 6C", "< 0D", "> 30 00 04 83 00 14 00", "< 0D", "> 6B", "< 0D"}));
    EXPECT_EQ(chipBytes(sim.board().chip().flash, image.size()), image);
    EXPECT_TRUE(containsInOrder(sim.pauses(), repeated<int>({40}, 6)));
    // Neither a signature read nor a faster line, whatever the options say.
    EXPECT_EQ(countRunsStartingWith(runs, "> 23 "), countRunsStartingWith(runs, "> 23 00 "));
    EXPECT_FALSE(hasRun(runs, "> 35 30 00 00"));
    EXPECT_TRUE(sim.boardIdle());
}

TEST(ProgramFlash, SingleByteChipsGetOneInstructionPerByte) {
    SimulatedWorkspace sim("AT89S52");
    auto image = patternBytes(0x1236);  // even: the Flash buffer holds whole words
    image[0x1234] = 0x5A;
    loadBytes(sim, sim.ws().flash(), image);

    EXPECT_TRUE(operations::programFlash(sim.ws()));
    const auto runs = wire(sim);
    EXPECT_TRUE(containsInOrder(runs, {"> 34 40 12 34 5A", "< 0D"}));
    EXPECT_EQ(countRunsStartingWith(runs, "> 34 40 "), 0x1236);
    EXPECT_TRUE(containsInOrder(sim.pauses(), repeated<int>({12}, 0x1236)));
    EXPECT_EQ(chipBytes(sim.board().chip().flash, image.size()), image);
}

TEST(ProgramFlash, ByteDelayOverridesSetTheTimingCode) {
    SimulatedWorkspace sim("ATmega16");
    sim.ws().project().delayByte = true;
    sim.ws().project().delayByteValue = 10;
    loadBytes(sim, sim.ws().flash(), patternBytes(128));
    EXPECT_TRUE(operations::programFlash(sim.ws()));
    EXPECT_TRUE(hasRun(wire(sim), "> 57 B9"));

    SimulatedWorkspace bytes("AT89S52");
    bytes.ws().project().delayByte = true;
    bytes.ws().project().delayByteValue = 2;
    loadBytes(bytes, bytes.ws().flash(), patternBytes(10));
    EXPECT_TRUE(operations::programFlash(bytes.ws()));
    EXPECT_TRUE(containsInOrder(bytes.pauses(), repeated<int>({2}, 10)));
}

TEST(ProgramEeprom, BlocksOfSixtyFourAndTheRest) {
    SimulatedWorkspace sim("ATmega16");
    RecordingRunner runner;
    sim.ws().setProgressRunner(runner);
    sim.ws().boardDelays.pageWriteDelayMs = 4;
    const auto image = patternBytes(100);
    loadBytes(sim, sim.ws().eeprom(), image, "image.eep.bin");

    EXPECT_TRUE(operations::programEeprom(sim.ws()));
    EXPECT_EQ(sim.user().lastStatus(), "Eeprom program: Done (100 bytes programmed)");
    EXPECT_EQ(runner.totals, std::vector<int>{1});
    EXPECT_TRUE(containsInOrder(wire(sim), {"> 57 C0", "< 0D", hostRun({0x3E, 64}, image, 0, 64),
                                            "< 0D", hostRun({0x3E, 36}, image, 64, 36), "< 0D"}));
    EXPECT_TRUE(containsInOrder(sim.pauses(), {4, 4}));
    EXPECT_EQ(chipBytes(sim.board().chip().eeprom, 100), image);
}

TEST(ProgramEeprom, At25PagesAreWriteEnabledOneByOne) {
    SimulatedWorkspace sim("AT25256");
    RecordingRunner runner;
    sim.ws().setProgressRunner(runner);
    const auto image = patternBytes(100);
    loadBytes(sim, sim.ws().eeprom(), image);

    EXPECT_TRUE(operations::programEeprom(sim.ws()));
    EXPECT_EQ(runner.totals, std::vector<int>{2});
    std::vector<std::string> page1{"> 39",    "< 0D", "> 36 06", "< 0D",    "> 38",
                                   "< 0D",    "> 39", "< 0D",    "> 36 02", "< 0D",
                                   "> 36 00", "< 0D", "> 36 40", "< 0D"};
    for (std::size_t i = 64; i < 100; ++i) {
        page1.push_back(hostRun({0x36, image[i]}));
        page1.push_back("< 0D");
    }
    page1.insert(page1.end(), {"> 38", "< 0D", "> 39", "< 0D", "> 36 04", "< 0D", "> 38", "< 0D",
                               "> 2D", "< 0D"});
    EXPECT_TRUE(containsInOrder(wire(sim), page1));
    EXPECT_TRUE(containsInOrder(sim.pauses(), {5, 5, 150}));
    EXPECT_EQ(chipBytes(sim.board().chip().eeprom, 100), image);
}

TEST(ProgramFlash, PollingFailureIsReportedAsSuch) {
    // Block mode: the board's ESC alone, no "Connection error" box.
    SimulatedWorkspace block("AT89S8252", {"polling-fail"});
    loadBytes(block, block.ws().flash(), patternBytes(200));
    EXPECT_FALSE(operations::programFlash(block.ws()));
    EXPECT_EQ(block.user().messages(), std::vector<std::string>{"Error during polling"});
    EXPECT_EQ(block.user().lastStatus(), "Error during polling");
    EXPECT_EQ(block.ws().results.lastOperationStatus, zavuv::workspace::OperationStatus::Failed);
    EXPECT_EQ(countRunsStartingWith(wire(block), "> 7B "), 1);
    EXPECT_TRUE(block.boardIdle());

    // Page mode shows the box first.
    SimulatedWorkspace page("ATmega16", {"polling-fail"});
    loadBytes(page, page.ws().flash(), patternBytes(200));
    EXPECT_FALSE(operations::programFlash(page.ws()));
    EXPECT_EQ(page.user().messages(),
              (std::vector<std::string>{"Connection error", "Error during polling"}));
    EXPECT_TRUE(page.boardIdle());
}

TEST(ProgramMemory, SizeWarningLimitsTheWriteOrCancelsIt) {
    SimulatedWorkspace ok("ATmega8");
    const auto image = patternBytes(600);
    loadBytes(ok, ok.ws().eeprom(), image);
    ok.user().answerNext(base::Answer::Ok);
    EXPECT_TRUE(operations::programEeprom(ok.ws()));
    const auto events = ok.user().events();
    const auto question =
        std::ranges::find(events, RecordedEvent::Kind::Question, &RecordedEvent::kind);
    ASSERT_NE(question, events.end());
    EXPECT_EQ(question->text, "Warning: only first 512 bytes Eeprom will be processed.");
    EXPECT_EQ(question->buttons, base::QuestionButtons::OkCancel);
    EXPECT_EQ(question->icon, base::MessageIcon::Question);
    EXPECT_EQ(question->caption, "Programmer ZAVUV");
    EXPECT_EQ(ok.user().lastStatus(), "Eeprom program: Done (512 bytes programmed)");
    EXPECT_EQ(ok.board().chip().eeprom, chipBytes(image, 512));
    EXPECT_EQ(countState(ok.ws().eeprom(), ByteState::Programmed), 512);
    EXPECT_EQ(countState(ok.ws().eeprom(), ByteState::Created, 512), 88);

    SimulatedWorkspace cancel("ATtiny13");
    loadBytes(cancel, cancel.ws().flash(), patternBytes(1100));
    cancel.user().answerNext(base::Answer::Cancel);
    EXPECT_FALSE(operations::programFlash(cancel.ws()));
    EXPECT_EQ(cancel.user().questions(),
              std::vector<std::string>{"Warning: only first 1024 bytes Flash will be processed."});
    EXPECT_EQ(cancel.user().lastStatus(), "Programming cancelled");
    EXPECT_EQ(cancel.ws().results.lastOperationStatus, zavuv::workspace::OperationStatus::Failed);
    EXPECT_EQ(countRunsStartingWith(wire(cancel), "> 7B "), 0);
    EXPECT_EQ(countState(cancel.ws().flash(), ByteState::Created), 1100);
    EXPECT_TRUE(cancel.boardIdle());
}

TEST(ProgramFlash, WithoutEraseOldDataSpoilsTheVerify) {
    SimulatedWorkspace sim("ATmega8");
    auto& chip = sim.board().chip().flash;
    std::fill(chip.begin(), chip.end(), 0xF0);  // programmed earlier, never erased
    auto image = patternBytes(1024);
    image[0] = 0x50;  // clears no bit the old data had set: the first spoiled byte is 1
    loadBytes(sim, sim.ws().flash(), image);

    EXPECT_TRUE(operations::programFlash(sim.ws()));
    EXPECT_FALSE(operations::verifyFlash(sim.ws()));
    EXPECT_EQ(sim.ws().results.firstMismatch, 1);
    const auto spoiled =
        std::ranges::count_if(image, [](std::uint8_t b) { return (b & 0xF0) != b; });
    char expected[100];
    std::snprintf(expected, sizeof expected,
                  "Flash verify: ERROR at byte 1 (0x1): expected %02X, read %02X; %d bytes differ",
                  image[1], image[1] & 0xF0, static_cast<int>(spoiled));
    EXPECT_EQ(sim.user().lastStatus(), expected);
    EXPECT_FALSE(sim.ws().results.flashVerified);
}
