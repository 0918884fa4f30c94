#include <gtest/gtest.h>

#include "operations/MemoryTesting.h"
#include "operations/OperationFrame.h"

using namespace zavuv;
using namespace zavuv::testing;

TEST(BlankCheck, ErasedAvrIsReadInWholeBlocks) {
    SimulatedWorkspace sim("ATmega8");
    RecordingRunner runner;
    sim.ws().setProgressRunner(runner);
    EXPECT_TRUE(operations::blankCheck(sim.ws()));
    EXPECT_EQ(sim.user().lastStatus(), "Blank check: Flash is blank");
    EXPECT_EQ(sim.ws().results.lastOperationStatus, zavuv::workspace::OperationStatus::Succeeded);
    EXPECT_EQ(runner.totals, std::vector<int>{128});
    EXPECT_EQ(countRunsStartingWith(wire(sim), "> 7D 40"), 128);
    EXPECT_TRUE(sim.user().messages().empty());
    EXPECT_TRUE(sim.boardIdle());
}

TEST(BlankCheck, StopsAtTheFirstProgrammedByte) {
    SimulatedWorkspace sim("AT89S52");
    sim.board().chip().flash[5000] = 0x00;
    EXPECT_FALSE(operations::blankCheck(sim.ws()));
    EXPECT_EQ(sim.user().lastStatus(), "Blank check: Flash is not empty");
    EXPECT_EQ(sim.ws().results.lastOperationStatus, zavuv::workspace::OperationStatus::NotBlank);
    EXPECT_TRUE(sim.user().messages().empty());
    const auto runs = wire(sim);
    EXPECT_TRUE(hasRun(runs, "> 35 20 13 88"));
    EXPECT_FALSE(hasRun(runs, "> 35 20 13 89"));
    EXPECT_EQ(countRunsStartingWith(runs, "> 35 20 "), 5001);
    EXPECT_TRUE(sim.boardIdle());
}

TEST(BlankCheck, SerialEepromHasNoFlashToRead) {
    SimulatedWorkspace sim("AT25256");
    EXPECT_TRUE(operations::blankCheck(sim.ws()));
    const auto runs = wire(sim);
    EXPECT_TRUE(hasRun(runs, "> 57 00"));
    EXPECT_EQ(countRunsStartingWith(runs, "> 7D"), 0);
    EXPECT_EQ(sim.ws().results.lastOperationStatus, zavuv::workspace::OperationStatus::Succeeded);
}

TEST(BlankCheck, DataFlashPageWithDataIsNotBlank) {
    SimulatedWorkspace sim("AT45DB041B");
    sim.board().chip().flash[2 * 264 + 7] = 0x12;
    EXPECT_FALSE(operations::blankCheck(sim.ws()));
    EXPECT_EQ(sim.ws().results.lastOperationStatus, zavuv::workspace::OperationStatus::NotBlank);
    EXPECT_EQ(countRunsStartingWith(wire(sim), "> 31 01 08"), 3);
    EXPECT_TRUE(sim.boardIdle());
}

TEST(BlankCheck, CancelUnlessTheSameBlockFoundData) {
    SimulatedWorkspace cancelled("ATmega8");
    RecordingRunner runner(2);
    cancelled.ws().setProgressRunner(runner);
    EXPECT_FALSE(operations::blankCheck(cancelled.ws()));
    EXPECT_EQ(cancelled.user().lastStatus(), "Blank check cancelled");
    EXPECT_EQ(cancelled.ws().results.lastOperationStatus,
              zavuv::workspace::OperationStatus::Failed);
    EXPECT_EQ(countRunsStartingWith(wire(cancelled), "> 7D 40"), 3);

    // Cancel is pressed before the block with data arrives: not blank wins.
    SimulatedWorkspace found("ATmega8");
    RecordingRunner early(0);
    found.ws().setProgressRunner(early);
    found.board().chip().flash[10] = 0x00;
    EXPECT_FALSE(operations::blankCheck(found.ws()));
    EXPECT_EQ(found.user().lastStatus(), "Blank check: Flash is not empty");
    EXPECT_EQ(found.ws().results.lastOperationStatus, zavuv::workspace::OperationStatus::NotBlank);
}
