#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "WireRuns.h"
#include "devices/LockFuseVerify.h"
#include "operations/LockFuseOnChip.h"

using namespace zavuv;
using devices::LockFuseState;
using zavuv::testing::containsPauses;
using zavuv::testing::containsRuns;
using zavuv::testing::countOf;
using zavuv::testing::forgetWire;
using zavuv::testing::sentRuns;
using zavuv::testing::SimulatedWorkspace;

namespace {

int fuseIndex(SimulatedWorkspace& sim, const char* name) {
    const devices::LockFuseLayout* layout = operations::projectLockFuseLayout(sim.ws());
    for (int i = 0; i < layout->fuseCount; ++i)
        if (std::strcmp(layout->fuseName[i], name) == 0)
            return i;
    ADD_FAILURE() << "no fuse " << name;
    return 0;
}

// Every fuse unprogrammed but SPIEN, which keeps the chip programmable.
LockFuseState onlySpien(SimulatedWorkspace& sim, int lockMode) {
    LockFuseState state;
    state.lockMode = lockMode;
    state.fuse[fuseIndex(sim, "SPIEN")] = true;
    return state;
}

std::vector<std::string> spiInstructions(SimulatedWorkspace& sim) {
    std::vector<std::string> instructions;
    for (const std::string& run : sentRuns(sim))
        if (run.starts_with("> 34 AC") && !run.starts_with("> 34 AC 53"))
            instructions.push_back(run);
    return instructions;
}

}  // namespace

TEST(ProgramLockFuse, AvrFusesWithoutLockByte) {
    SimulatedWorkspace sim("ATmega8");
    EXPECT_TRUE(operations::programLockFuse(sim.ws(), onlySpien(sim, 0), true));
    EXPECT_EQ(spiInstructions(sim),
              (std::vector<std::string>{"> 34 AC A0 FF FF", "> 34 AC A8 FF DF"}));
    EXPECT_EQ(sim.board().chip().lowFuse, 0xFF);
    EXPECT_EQ(sim.board().chip().highFuse, 0xDF);
    EXPECT_EQ(sim.user().messages(), std::vector<std::string>{"Lock/fuse bits programmed"});
    EXPECT_TRUE(sim.boardIdle());
    EXPECT_EQ(sim.user().busyDepth(), 0);
}

TEST(ProgramLockFuse, AvrLockModeTwoWaitsBeforeTheAnswer) {
    SimulatedWorkspace sim("ATmega8");
    forgetWire(sim);
    EXPECT_TRUE(operations::programLockFuse(sim.ws(), onlySpien(sim, 2), true));
    EXPECT_EQ(
        spiInstructions(sim),
        (std::vector<std::string>{"> 34 AC A0 FF FF", "> 34 AC A8 FF DF", "> 34 AC FF FF FC"}));
    EXPECT_TRUE(containsPauses(sim.pauses(), {40, 150, 150}));
    EXPECT_EQ(sim.board().chip().lock & 0x03, 0);

    // Without fuses only the lock byte goes out.
    SimulatedWorkspace lockOnly("ATmega8");
    EXPECT_TRUE(operations::programLockFuse(lockOnly.ws(), onlySpien(lockOnly, 1), false));
    EXPECT_EQ(spiInstructions(lockOnly), std::vector<std::string>{"> 34 AC FF FF FE"});
}

TEST(ProgramLockFuse, ARefusedLowFuseStopsTheSequence) {
    // The connect of an AVR chip takes seven replies; the eighth is the low fuse byte's.
    SimulatedWorkspace sim("ATmega8", {"garbage-after=8"});
    EXPECT_FALSE(operations::programLockFuse(sim.ws(), onlySpien(sim, 2), true));
    EXPECT_EQ(spiInstructions(sim), std::vector<std::string>{"> 34 AC A0 FF FF"});
    EXPECT_EQ(sim.user().messages(), std::vector<std::string>{"Error programming lock/fuse bits"});
    EXPECT_TRUE(sim.boardIdle());
}

TEST(ProgramLockFuse, At89S52LockStepsAreApart) {
    SimulatedWorkspace sim("AT89S52");
    LockFuseState state;
    state.lockMode = 3;
    forgetWire(sim);
    EXPECT_TRUE(operations::programLockFuse(sim.ws(), state, true));
    EXPECT_EQ(
        spiInstructions(sim),
        (std::vector<std::string>{"> 34 AC E1 00 FF", "> 34 AC E2 00 FF", "> 34 AC E3 00 FF"}));
    EXPECT_TRUE(containsPauses(sim.pauses(), {250, 250, 250, 150}));

    LockFuseState read;
    EXPECT_TRUE(operations::readLockFuse(sim.ws(), read));
    EXPECT_EQ(read.lockMode, 3);
}

TEST(ProgramLockFuse, At89S52RefusedStepDoesNotStopTheNext) {
    // The connect of an AT89S chip takes eight replies; the ninth is the first step's.
    SimulatedWorkspace sim("AT89S52", {"garbage-after=9"});
    LockFuseState state;
    state.lockMode = 2;
    EXPECT_FALSE(operations::programLockFuse(sim.ws(), state, true));
    EXPECT_EQ(spiInstructions(sim),
              (std::vector<std::string>{"> 34 AC E1 00 FF", "> 34 AC E2 00 FF"}));
    // Reported once the session has ended.
    EXPECT_EQ(sim.user().messages(), std::vector<std::string>{"Error programming lock/fuse bits"});
    EXPECT_TRUE(sim.boardIdle());
}

TEST(ProgramLockFuse, At89S8253LockLevelThenFuses) {
    SimulatedWorkspace sim("AT89S8253");
    LockFuseState state;
    state.lockMode = 1;
    state.fuse[0] = true;
    forgetWire(sim);
    EXPECT_TRUE(operations::programLockFuse(sim.ws(), state, false));
    EXPECT_EQ(spiInstructions(sim),
              (std::vector<std::string>{"> 34 AC E6 FF FF", "> 34 AC 1E FF FF"}));
    EXPECT_TRUE(containsPauses(sim.pauses(), {40, 40, 150}));

    LockFuseState read;
    EXPECT_TRUE(operations::readLockFuse(sim.ws(), read));
    EXPECT_TRUE(read.readable);
    EXPECT_EQ(read.lockMode, 1);
    EXPECT_TRUE(read.fuse[0]);
    EXPECT_FALSE(read.fuse[1]);
}

TEST(ProgramLockFuse, At89S8252TakesThreeBytes) {
    SimulatedWorkspace sim("AT89S8252");
    LockFuseState state;
    state.lockMode = 3;
    forgetWire(sim);
    EXPECT_TRUE(operations::programLockFuse(sim.ws(), state, true));
    EXPECT_TRUE(containsRuns(sentRuns(sim), {"> 33 AC 1F FF"}));
    EXPECT_TRUE(containsPauses(sim.pauses(), {150, 150, 150}));
    EXPECT_TRUE(sim.boardIdle());
}

TEST(ReadLockFuse, AvrRoundTrip) {
    SimulatedWorkspace sim("ATmega8");
    // Lock mode 1 protects against writing only: the signature stays readable.
    LockFuseState written = onlySpien(sim, 1);
    written.fuse[fuseIndex(sim, "CKSEL0")] = true;
    written.fuse[fuseIndex(sim, "BOOTSZ1")] = true;
    ASSERT_TRUE(operations::programLockFuse(sim.ws(), written, true));
    forgetWire(sim);

    LockFuseState read;
    EXPECT_TRUE(operations::readLockFuse(sim.ws(), read));
    EXPECT_TRUE(read.readable);
    const auto layout = operations::projectLockFuseLayout(sim.ws());
    EXPECT_TRUE(devices::compareLockFuse(*layout, written, read).equal());
    EXPECT_TRUE(
        containsRuns(sentRuns(sim), {"> 35 30 00 00", "> 35 30 00 01", "> 35 30 00 02",
                                     "> 35 58 00 00", "> 35 50 00 00", "> 35 58 08 00", "> 2D"}));
    EXPECT_TRUE(sim.boardIdle());
}

TEST(ReadLockFuse, AnotherChipGoesOnOnlyWhenTheUserSaysSo) {
    SimulatedWorkspace declined("ATmega16", {}, "ATmega8");
    declined.user().answerNext(base::Answer::No);
    LockFuseState read;
    read.lockMode = 3;
    EXPECT_FALSE(operations::readLockFuse(declined.ws(), read));
    EXPECT_EQ(declined.user().questions(),
              std::vector<std::string>{"Device signature does not match your selection or device "
                                       "is locked. Do you still want to continue?"});
    EXPECT_EQ(declined.user().lastStatus(), "Operation cancelled");
    EXPECT_EQ(read, LockFuseState{});
    EXPECT_EQ(countOf(sentRuns(declined), "> 35 58 00 00"), 0);
    EXPECT_TRUE(declined.boardIdle());

    SimulatedWorkspace accepted("ATmega16", {}, "ATmega8");
    accepted.user().answerNext(base::Answer::Yes);
    EXPECT_TRUE(operations::readLockFuse(accepted.ws(), read));
    EXPECT_TRUE(read.readable);
}

TEST(ReadLockFuse, UnreadableBitsAfterTheSignatureCheck) {
    SimulatedWorkspace sim("AT86RF401");
    LockFuseState read;
    read.lockMode = 2;
    EXPECT_TRUE(operations::readLockFuse(sim.ws(), read));
    EXPECT_EQ(read, LockFuseState{});
    EXPECT_TRUE(containsRuns(sentRuns(sim), {"> 35 30 00 00"}));
    EXPECT_EQ(
        sim.user().messages(),
        std::vector<std::string>{"This device do not have a 'read lock/fuse bits' function."});
    EXPECT_TRUE(sim.boardIdle());
}

TEST(ReadLockFuse, ABoardThatFallsSilentIsAConnectionError) {
    // The connect takes 13 host bytes and the signature 12 more.
    SimulatedWorkspace sim("ATmega8", {"silent-after=25"});
    LockFuseState read;
    EXPECT_FALSE(operations::readLockFuse(sim.ws(), read));
    EXPECT_EQ(sim.user().messages(), std::vector<std::string>{"Connection error"});
    EXPECT_FALSE(sim.ws().channel().connected());

    SimulatedWorkspace noSignature("ATmega8", {"silent-after=13"});
    EXPECT_FALSE(operations::readLockFuse(noSignature.ws(), read));
    EXPECT_EQ(noSignature.user().messages(),
              std::vector<std::string>{"Connection error while reading signature"});
}

TEST(ProgramLockFuse, FuseBytesAreReadBackOnTheSameSession) {
    SimulatedWorkspace sim("ATmega8");
    forgetWire(sim);
    EXPECT_TRUE(operations::programLockFuse(sim.ws(), onlySpien(sim, 0), true));
    const auto runs = sentRuns(sim);
    const auto written = std::find(runs.begin(), runs.end(), "> 34 AC A8 FF DF");
    ASSERT_NE(written, runs.end());
    EXPECT_TRUE(containsRuns(std::vector<std::string>(written, runs.end()),
                             {"> 35 58 00 00", "> 35 50 00 00", "> 35 58 08 00"}));
}

TEST(ProgramLockFuse, AByteThatReadsOtherwiseIsNamed) {
    // Serial programming cannot unprogram SPIEN: the high byte keeps it.
    SimulatedWorkspace sim("ATmega8");
    LockFuseState state;  // every fuse unprogrammed
    EXPECT_FALSE(operations::programLockFuse(sim.ws(), state, true));
    EXPECT_EQ(
        sim.user().messages(),
        std::vector<std::string>{"High fuse byte: 0xFF was programmed, but the chip reads 0xDF"});
    EXPECT_TRUE(sim.boardIdle());
}

TEST(ProgramLockFuse, At89S8253FuseByteIsReadBackToo) {
    SimulatedWorkspace sim("AT89S8253");
    LockFuseState state;
    state.fuse[0] = true;  // SerialPrgEn
    state.fuse[1] = true;  // x2 Clock En
    forgetWire(sim);
    EXPECT_TRUE(operations::programLockFuse(sim.ws(), state, true));
    EXPECT_TRUE(containsRuns(sentRuns(sim), {"> 34 AC 1C FF FF", "> 35 24 FF FF", "> 35 21 FF FF"}))
        << ::testing::PrintToString(sentRuns(sim));
    EXPECT_EQ(sim.user().messages(), std::vector<std::string>{"Lock/fuse bits programmed"});
}
