#include <gtest/gtest.h>

#include "WireRuns.h"
#include "operations/ReadSignatureCommand.h"

using namespace zavuv;
using zavuv::testing::containsRuns;
using zavuv::testing::deviceIndexOf;
using zavuv::testing::sentRuns;
using zavuv::testing::SimulatedWorkspace;

TEST(ReadSignatureCommand, NamesTheChipAndTheListsFollowIt) {
    SimulatedWorkspace sim("ATmega8", {}, "ATtiny13");
    EXPECT_TRUE(operations::readSignatureCommand(sim.ws()));
    EXPECT_EQ(sim.user().statuses(),
              (std::vector<std::string>{"Reading signature", "Reset strobe... (20 ms)",
                                        "Connection accepted", "Signature: 1E 93 07 - ATmega8"}));
    EXPECT_EQ(sim.ws().selectedDevice(), deviceIndexOf("ATmega8"));
    EXPECT_TRUE(sim.boardIdle());
    EXPECT_EQ(sim.user().busyDepth(), 0);
}

TEST(ReadSignatureCommand, UnknownAndLockedChips) {
    SimulatedWorkspace unknownAtmel("ATmega8");
    unknownAtmel.board().chip().signature = {0x1E, 0x95, 0x00};
    EXPECT_TRUE(operations::readSignatureCommand(unknownAtmel.ws()));
    EXPECT_EQ(unknownAtmel.user().lastStatus(), "Signature: 1E 95 00 - Unknown ATMEL device");
    EXPECT_EQ(unknownAtmel.ws().selectedDevice(), deviceIndexOf("ATmega8"));

    SimulatedWorkspace unknown("ATmega8");
    unknown.board().chip().signature = {0xFF, 0xFF, 0xFF};
    EXPECT_TRUE(operations::readSignatureCommand(unknown.ws()));
    EXPECT_EQ(unknown.user().lastStatus(), "Signature: FF FF FF - Unknown device");

    SimulatedWorkspace locked("ATmega8", {"locked"});
    EXPECT_FALSE(operations::readSignatureCommand(locked.ws()));
    EXPECT_EQ(locked.user().lastStatus(), "Device is locked");
    EXPECT_TRUE(locked.user().messages().empty());
    EXPECT_TRUE(locked.boardIdle());
}

TEST(ReadSignatureCommand, At89SChipsReadAtTheirOwnAddresses) {
    SimulatedWorkspace at89s8253("AT89S8253");
    EXPECT_TRUE(operations::readSignatureCommand(at89s8253.ws()));
    EXPECT_TRUE(
        containsRuns(sentRuns(at89s8253), {"> 35 28 00 30", "> 35 28 00 31", "> 35 28 00 32"}));
    EXPECT_EQ(at89s8253.user().lastStatus(), "Signature: 1E 73 FF - AT89S8253");

    SimulatedWorkspace at89s52("AT89S52");
    EXPECT_TRUE(operations::readSignatureCommand(at89s52.ws()));
    EXPECT_TRUE(
        containsRuns(sentRuns(at89s52), {"> 35 28 00 00", "> 35 28 01 00", "> 35 28 02 00"}));
    EXPECT_EQ(at89s52.user().lastStatus(), "Signature: 1E 52 06 - AT89S52");
    EXPECT_TRUE(at89s52.boardIdle());
}

TEST(ReadSignatureCommand, AFailedReadIsAConnectionErrorAndReleasesTheChip) {
    // The connect takes 13 host bytes; the board answers none after them.
    SimulatedWorkspace sim("ATmega8", {"silent-after=13"});
    EXPECT_FALSE(operations::readSignatureCommand(sim.ws()));
    EXPECT_EQ(sim.user().messages(), std::vector<std::string>{"Connection error"});
    EXPECT_EQ(sim.user().lastStatus(), "Connection error");
    EXPECT_TRUE(sim.boardIdle());
    EXPECT_EQ(sim.ws().results.signature, (std::array<int, 3>{0xFF, 0xFF, 0xFF}));
}

TEST(ReadSignatureButton, ByTheSelectedDevice) {
    SimulatedWorkspace dataFlash("AT45DB161B");
    EXPECT_TRUE(operations::readSignatureButton(dataFlash.ws()));
    EXPECT_EQ(dataFlash.user().lastStatus(), "AT45 memory detected (AT45DB161B)");
    EXPECT_TRUE(dataFlash.boardIdle());

    SimulatedWorkspace at89s8252("AT89S8252");
    EXPECT_FALSE(operations::readSignatureButton(at89s8252.ws()));
    EXPECT_TRUE(sentRuns(at89s8252).empty());

    SimulatedWorkspace avr("ATmega16");
    EXPECT_TRUE(operations::readSignatureButton(avr.ws()));
    EXPECT_EQ(avr.user().lastStatus(), "Signature: 1E 94 03 - ATmega16");
}
