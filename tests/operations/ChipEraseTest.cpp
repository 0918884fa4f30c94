#include <gtest/gtest.h>

#include "WireRuns.h"
#include "operations/ChipErase.h"
#include "workspace/InlineProgressRunner.h"

using namespace zavuv;
using zavuv::testing::containsPauses;
using zavuv::testing::containsRuns;
using zavuv::testing::countOf;
using zavuv::testing::RecordingUserPort;
using zavuv::testing::sentRuns;
using zavuv::testing::SimulatedWorkspace;

namespace {

// A chip whose erase does not take: it is locked again by the time its
// signature is checked.
class RelockingPort : public RecordingUserPort {
public:
    void setStatus(const std::string& text) override {
        RecordingUserPort::setStatus(text);
        if (text == "Checking signature" && board)
            board->chip().lockMemories();
    }
    sim::SimulatedBoard* board = nullptr;
};

class CancelOnSetup : public base::ProgressDisplay {
public:
    void showSetup(const std::string&, const std::string&) override { runner->requestCancel(); }
    void showPercent(int, const std::string&) override {}
    void showEstimate(const std::string&, const std::string&) override {}
    workspace::InlineProgressRunner* runner = nullptr;
};

}  // namespace

TEST(ChipErase, AvrChipIsErasedAndItsSignatureCheckedAgain) {
    SimulatedWorkspace sim("ATmega8");
    std::fill(sim.board().chip().flash.begin(), sim.board().chip().flash.end(), 0x00);
    operations::chipErase(sim.ws());
    EXPECT_EQ(sim.ws().results.lastOperationStatus, zavuv::workspace::OperationStatus::Succeeded);
    EXPECT_EQ(sim.user().statuses().front(), "Erasing device");
    EXPECT_EQ(sim.user().lastStatus(), "Chip erased; signature: 1E 93 07 - ATmega8");
    EXPECT_TRUE(std::ranges::all_of(sim.board().chip().flash, [](auto b) { return b == 0xFF; }));
    EXPECT_TRUE(containsRuns(sentRuns(sim), {"> 34 AC 80 04 00"}));
    // The acknowledgement after 10 ms, 15 ms before the session ends, 85 ms before the re-check.
    EXPECT_TRUE(containsPauses(sim.pauses(), {10, 15, 150, 150, 85}));
    EXPECT_TRUE(sim.boardIdle());
    EXPECT_EQ(sim.user().busyDepth(), 0);
}

TEST(ChipErase, ALockedChipThatStaysLockedIsReported) {
    zavuv::testing::ScratchFolder folder;
    RelockingPort user;
    workspace::ProfileStore profile(folder.file("profile.ini"));
    workspace::Workspace ws(user, profile);
    ws.setComPort(1);
    ws.ports().mapForThisRun(1, workspace::kSimulatedPortName);
    sim::SimOptions options;
    options.chip = "ATmega8";
    options.faults = {"locked"};
    ws.ports().setSimulatorMaker(sim::simulatorMaker(options));
    ASSERT_EQ(ws.ports().startSimulator(), "");
    user.board = dynamic_cast<sim::SimulatedBoard*>(ws.ports().simulator());

    operations::chipErase(ws);
    EXPECT_EQ(ws.results.lastOperationStatus, zavuv::workspace::OperationStatus::Failed);
    EXPECT_EQ(user.lastStatus(), "Chip not erased - device is locked");
    EXPECT_EQ(user.messages(), std::vector<std::string>{"Device is still locked"});
    EXPECT_FALSE(ws.channel().connected());
}

TEST(ChipErase, At89SAndAtTiny26Instructions) {
    SimulatedWorkspace at89s8252("AT89S8252");
    operations::chipErase(at89s8252.ws());
    EXPECT_EQ(at89s8252.ws().results.lastOperationStatus,
              zavuv::workspace::OperationStatus::Succeeded);
    EXPECT_EQ(at89s8252.user().lastStatus(), "Device erased");
    const auto sent = sentRuns(at89s8252);
    // One block of five bytes; the board answers the instruction before the last byte arrives.
    EXPECT_TRUE(containsRuns(sent, {"> 33 AC 04 00", "> 00", "> 2D"}));
    EXPECT_EQ(countOf(sent, "> 25"), 1);  // no second connect for the signature
    EXPECT_TRUE(at89s8252.boardIdle());

    SimulatedWorkspace tiny26("ATtiny26");
    operations::chipErase(tiny26.ws());
    EXPECT_EQ(tiny26.ws().results.lastOperationStatus,
              zavuv::workspace::OperationStatus::Succeeded);
    EXPECT_TRUE(containsRuns(
        zavuv::testing::wireRuns(tiny26),
        {"> 34 AC 80 04 00", "< 0D", "> 34 40 00 00 FF", "< 0D", "> 34 AC 80 04 00", "< 0D"}));
    EXPECT_TRUE(containsPauses(tiny26.pauses(), {7, 10, 15}));
}

TEST(ChipErase, ARefusedEraseIsAConnectionError) {
    // The connect takes seven replies; the eighth answers the erase instruction.
    SimulatedWorkspace sim("ATmega8", {"garbage-after=8"});
    operations::chipErase(sim.ws());
    EXPECT_EQ(countOf(sentRuns(sim), "> 25"), 1);  // no signature re-check
    EXPECT_EQ(sim.ws().results.lastOperationStatus, zavuv::workspace::OperationStatus::Failed);
    EXPECT_EQ(sim.user().messages(), std::vector<std::string>{"Connection error"});
    EXPECT_EQ(sim.user().lastStatus(), "Connection error");
    EXPECT_TRUE(sim.boardIdle());
}

TEST(ChipErase, DataFlashBlockByBlock) {
    SimulatedWorkspace sim("AT45DB161B");
    auto& flash = sim.board().chip().flash;
    std::fill(flash.begin(), flash.end(), 0x00);
    operations::chipErase(sim.ws());
    EXPECT_EQ(sim.user().lastStatus(), "Device erased");
    EXPECT_EQ(sim.ws().results.lastOperationStatus, zavuv::workspace::OperationStatus::Succeeded);
    const auto sent = sentRuns(sim);
    long erases = 0;
    for (const std::string& run : sent)
        erases += run.starts_with("> 30 00 04 50") ? 1 : 0;
    EXPECT_EQ(erases, 512);
    EXPECT_TRUE(containsRuns(sent, {"> 30 00 04 50 00 00 00"}));
    EXPECT_TRUE(containsRuns(sent, {"> 30 00 04 50 3F E0 00"}));
    EXPECT_TRUE(std::ranges::all_of(flash, [](auto b) { return b == 0xFF; }));
    EXPECT_TRUE(sim.boardIdle());
}

TEST(ChipErase, DataFlashCancelledAfterTheFirstBlock) {
    SimulatedWorkspace sim("AT45DB161B");
    CancelOnSetup display;
    workspace::InlineProgressRunner runner(display);
    display.runner = &runner;
    sim.ws().setProgressRunner(runner);
    operations::chipErase(sim.ws());
    EXPECT_EQ(sim.user().lastStatus(), "Erase operation terminated");
    EXPECT_EQ(sim.ws().results.lastOperationStatus, zavuv::workspace::OperationStatus::Failed);
    long erases = 0;
    for (const std::string& run : sentRuns(sim))
        erases += run.starts_with("> 30 00 04 50") ? 1 : 0;
    EXPECT_EQ(erases, 1);
    EXPECT_TRUE(sim.user().messages().empty());
    EXPECT_TRUE(sim.boardIdle());
}
