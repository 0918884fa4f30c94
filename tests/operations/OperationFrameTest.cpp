#include <gtest/gtest.h>

#include "operations/MemoryTesting.h"
#include "operations/OperationFrame.h"

using namespace zavuv;
using namespace zavuv::testing;

namespace {

// Whether the buffer was drawn busy during the work and plain afterwards.
class BusyWatch final : public buffers::BufferObserver {
public:
    void bufferRedraw(const buffers::MemoryBuffer& buffer) override {
        seen.push_back(buffer.busy());
    }
    std::vector<bool> seen;
};

}  // namespace

TEST(OperationFrame, WithoutABoardNothingIsSent) {
    SimulatedWorkspace sim("ATmega8");
    sim.ws().setComPort(0);
    loadBytes(sim, sim.ws().flash(), patternBytes(64));
    EXPECT_FALSE(operations::programFlash(sim.ws()));
    EXPECT_EQ(
        sim.user().statuses(),
        (std::vector<std::string>{"Programming Flash", "Select COM port or click 'search board'"}));
    EXPECT_EQ(sim.user().messages(), std::vector<std::string>{"No board specified"});
    EXPECT_TRUE(sim.trace().empty());
    EXPECT_EQ(sim.ws().results.lastOperationStatus, zavuv::workspace::OperationStatus::Failed);
    EXPECT_EQ(sim.user().busyDepth(), 0);
}

TEST(OperationFrame, PreconditionsNeedNoBoard) {
    SimulatedWorkspace sim("AT89S52");
    sim.ws().results.flashVerified = true;
    EXPECT_FALSE(operations::verifyFlash(sim.ws()));
    EXPECT_EQ(sim.user().lastStatus(), "No Flash file selected");
    EXPECT_FALSE(sim.ws().results.flashVerified);

    loadBytes(sim, sim.ws().eeprom(), patternBytes(16));
    EXPECT_FALSE(operations::verifyEeprom(sim.ws()));
    EXPECT_EQ(sim.user().lastStatus(), "This device does not have Eeprom on-chip");
    EXPECT_FALSE(operations::readEeprom(sim.ws()));
    EXPECT_EQ(sim.user().lastStatus(), "This device does not have Eeprom on-chip");
    EXPECT_TRUE(sim.trace().empty());
    EXPECT_TRUE(sim.user().messages().empty());
}

TEST(OperationFrame, DataFlashHasNoEepromToProgram) {
    // Its record's EEPROM size is the page address shift, not a memory.
    SimulatedWorkspace sim("AT45DB041B");
    loadBytes(sim, sim.ws().eeprom(), patternBytes(16));
    EXPECT_FALSE(operations::programEeprom(sim.ws()));
    EXPECT_EQ(sim.user().lastStatus(), "This device does not have Eeprom on-chip");
    EXPECT_TRUE(sim.trace().empty());
    EXPECT_EQ(sim.board().chip().flash[0], 0xFF);
}

TEST(OperationFrame, BufferIsBusyOnlyWhileTheWorkerRuns) {
    SimulatedWorkspace sim("ATmega8");
    loadBytes(sim, sim.ws().flash(), patternBytes(64));
    BusyWatch watch;
    sim.ws().flash().addObserver(watch);
    EXPECT_TRUE(operations::programFlash(sim.ws()));
    sim.ws().flash().removeObserver(watch);
    ASSERT_GE(watch.seen.size(), 3u);
    EXPECT_TRUE(watch.seen.front());
    EXPECT_FALSE(watch.seen.back());
    EXPECT_FALSE(sim.ws().flash().busy());
    EXPECT_EQ(sim.user().busyDepth(), 0);
}

TEST(SignatureCheck, AvrMismatchAsksAndNoCancels) {
    SimulatedWorkspace sim("ATmega16", {}, "ATmega8");
    sim.ws().project().checkSign = true;
    loadBytes(sim, sim.ws().flash(), patternBytes(64));
    sim.user().answerNext(base::Answer::No);
    EXPECT_FALSE(operations::programFlash(sim.ws()));
    const auto events = sim.user().events();
    const auto question =
        std::ranges::find(events, RecordedEvent::Kind::Question, &RecordedEvent::kind);
    ASSERT_NE(question, events.end());
    EXPECT_EQ(question->text, "Device signature does not match your selection or device is "
                              "locked. Do you still want to program it?\n\nThe chip's "
                              "signature is 1E 94 03; ATmega8 has 1E 93 07.");
    EXPECT_EQ(question->caption, "Di-Vorore Rirorudura 11.15");
    EXPECT_EQ(question->defaultAnswer, base::Answer::Yes);
    EXPECT_EQ(sim.user().lastStatus(), "Programming cancelled");
    EXPECT_EQ(sim.ws().results.lastOperationStatus, zavuv::workspace::OperationStatus::Failed);
    EXPECT_EQ(countRunsStartingWith(wire(sim), "> 7B"), 0);
    EXPECT_TRUE(sim.boardIdle());
}

TEST(SignatureCheck, AvrMismatchAnsweredYesProgramsAnyway) {
    SimulatedWorkspace sim("ATmega16", {}, "ATmega8");
    sim.ws().project().checkSign = true;
    loadBytes(sim, sim.ws().flash(), patternBytes(64));
    sim.user().answerNext(base::Answer::Yes);
    EXPECT_TRUE(operations::programFlash(sim.ws()));
    EXPECT_EQ(sim.ws().results.lastOperationStatus, zavuv::workspace::OperationStatus::Succeeded);
    EXPECT_EQ(sim.board().chip().flash[0], patternBytes(1)[0]);
}

TEST(SignatureCheck, At89sMismatchProgramsWithoutAQuestion) {
    SimulatedWorkspace sim("AT89S51", {}, "AT89S52");
    sim.ws().project().checkSign = true;
    loadBytes(sim, sim.ws().flash(), patternBytes(8));
    EXPECT_TRUE(operations::programFlash(sim.ws()));
    EXPECT_TRUE(sim.user().questions().empty());
    EXPECT_EQ(sim.ws().results.lastOperationStatus, zavuv::workspace::OperationStatus::Succeeded);
}

TEST(SignatureCheck, LockedChipIsErasedOnRequest) {
    SimulatedWorkspace sim("ATmega8", {"locked"});
    sim.ws().project().checkSign = true;
    const auto image = patternBytes(64);
    loadBytes(sim, sim.ws().flash(), image);
    sim.user().answerNext(base::Answer::Yes);
    EXPECT_TRUE(operations::programFlash(sim.ws()));
    const auto events = sim.user().events();
    const auto question =
        std::ranges::find(events, RecordedEvent::Kind::Question, &RecordedEvent::kind);
    ASSERT_NE(question, events.end());
    EXPECT_EQ(question->text, "Device is locked. Erase it now?");
    EXPECT_EQ(question->defaultAnswer, base::Answer::No);
    EXPECT_TRUE(containsInOrder(wire(sim), {"> 34 AC 80 04 00", "< 0D", "> 57 DC"}));
    EXPECT_EQ(std::vector<std::uint8_t>(sim.board().chip().flash.begin(),
                                        sim.board().chip().flash.begin() + 64),
              image);

    SimulatedWorkspace declined("ATmega8", {"locked"});
    declined.ws().project().checkSign = true;
    loadBytes(declined, declined.ws().flash(), image);
    declined.user().answerNext(base::Answer::No);
    EXPECT_FALSE(operations::programFlash(declined.ws()));
    EXPECT_EQ(declined.user().lastStatus(), "Programming cancelled");
    EXPECT_FALSE(hasRun(wire(declined), "> 34 AC 80 04 00"));
    EXPECT_TRUE(declined.boardIdle());
}

TEST(SignatureCheck, UnreadableSignatureEndsTheCommand) {
    // The connect takes 13 host bytes; the board answers none after them.
    SimulatedWorkspace sim("ATmega8", {"silent-after=13"});
    sim.ws().project().checkSign = true;
    loadBytes(sim, sim.ws().flash(), patternBytes(64));
    EXPECT_FALSE(operations::programFlash(sim.ws()));
    EXPECT_EQ(sim.user().lastStatus(), "Connection error while verifying signature");
    EXPECT_TRUE(hasRun(sim.user().messages(), "Connection error while verifying signature"));
    EXPECT_EQ(sim.ws().results.lastOperationStatus, zavuv::workspace::OperationStatus::Failed);
    EXPECT_FALSE(sim.ws().channel().connected());
}

TEST(OperationFrame, ConnectFailureEndsQuietly) {
    SimulatedWorkspace sim("ATmega8", {"no-firmware"});
    loadBytes(sim, sim.ws().flash(), patternBytes(64));
    EXPECT_FALSE(operations::verifyFlash(sim.ws()));
    EXPECT_FALSE(hasRun(sim.user().messages(), "Connection error while verifying Flash"));
    EXPECT_EQ(countRunsStartingWith(wire(sim), "> 7D"), 0);
    EXPECT_EQ(sim.ws().results.lastOperationStatus, zavuv::workspace::OperationStatus::Failed);
    EXPECT_FALSE(sim.ws().channel().connected());
}

TEST(OperationFrame, ReadThatCannotReachTheBoardKeepsTheLoadedImage) {
    for (const bool boardChosen : {false, true}) {
        SimulatedWorkspace sim("ATmega8", {"no-firmware"});
        if (!boardChosen)
            sim.ws().setComPort(0);
        loadBytes(sim, sim.ws().flash(), patternBytes(64));
        loadBytes(sim, sim.ws().eeprom(), patternBytes(16));
        EXPECT_FALSE(operations::readFlash(sim.ws()));
        EXPECT_FALSE(operations::readEeprom(sim.ws()));
        const auto& flash = sim.ws().flash();
        EXPECT_EQ(std::vector<std::uint8_t>(flash.data().begin(), flash.data().end()),
                  patternBytes(64));
        EXPECT_FALSE(flash.modified());
        EXPECT_EQ(sim.ws().eeprom().size(), 16u);
        EXPECT_FALSE(sim.ws().eeprom().modified());
    }
}

TEST(OperationFrame, HighSpeedForEverythingButDataFlash) {
    SimulatedWorkspace sim("ATmega8");
    sim.ws().baudIndex = 2;
    const auto image = patternBytes(64);
    std::copy(image.begin(), image.end(), sim.board().chip().flash.begin());
    loadBytes(sim, sim.ws().flash(), image);
    EXPECT_TRUE(operations::verifyFlash(sim.ws()));
    EXPECT_TRUE(hasRun(wire(sim), "> 23 02 82 00"));
    EXPECT_TRUE(sim.boardIdle());
}
