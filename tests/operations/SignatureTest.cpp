#include <gtest/gtest.h>

#include <algorithm>

#include "operations/BoardAccess.h"
#include "operations/Signature.h"
#include "support/SimulatedWorkspace.h"

using namespace zavuv;
using zavuv::testing::deviceIndexOf;
using zavuv::testing::SimulatedWorkspace;

namespace {

zavuv::workspace::OperationStatus verdict(SimulatedWorkspace& sim) {
    EXPECT_TRUE(operations::connect(sim.ws(), link::SpeedCode::Baud19200));
    operations::verifySignature(sim.ws());
    operations::endSessionWarning(sim.ws());
    return sim.ws().results.lastOperationStatus;
}

}  // namespace

TEST(Signature, VerdictsAgainstTheSelectedDevice) {
    SimulatedWorkspace same("ATmega8");
    EXPECT_EQ(verdict(same), zavuv::workspace::OperationStatus::Succeeded);
    EXPECT_EQ(same.ws().results.signature, (operations::SignatureBytes{0x1E, 0x93, 0x07}));

    SimulatedWorkspace other("ATmega16", {}, "ATmega8");
    EXPECT_EQ(verdict(other), zavuv::workspace::OperationStatus::OtherChip);
    EXPECT_EQ(other.ws().selectedDevice(), deviceIndexOf("ATmega8"));  // no switch here

    SimulatedWorkspace locked("ATmega8", {"locked"});
    EXPECT_EQ(verdict(locked), zavuv::workspace::OperationStatus::Locked);
    EXPECT_TRUE(locked.boardIdle());
}

TEST(Signature, ReadsWithTheAvrInstruction) {
    SimulatedWorkspace sim("ATmega8");
    ASSERT_TRUE(operations::connect(sim.ws(), link::SpeedCode::Baud19200));
    sim.board().trace().clearLines();
    ASSERT_TRUE(operations::readSignature(sim.ws()));
    operations::endSessionWarning(sim.ws());
    std::vector<std::string> runs;
    for (const std::string& line : sim.trace())
        runs.push_back(line.substr(line.find(' ') + 1));
    const std::vector<std::string> expected{"> 35 30 00 00", "< 1E",          "> 35 30 00 01",
                                            "< 93",          "> 35 30 00 02", "< 07"};
    EXPECT_NE(std::search(runs.begin(), runs.end(), expected.begin(), expected.end()), runs.end());
}

TEST(Signature, TextNamesTheChipAndTheListsFollowIt) {
    SimulatedWorkspace sim("ATmega8", {}, "ATtiny13");
    EXPECT_EQ(operations::signatureText(sim.ws(), {0x1E, 0x93, 0x07}), "ATmega8");
    EXPECT_EQ(sim.ws().selectedDevice(), deviceIndexOf("ATmega8"));
    EXPECT_EQ(operations::signatureText(sim.ws(), {0x1E, 0x95, 0x00}), "Unknown ATMEL device");
    EXPECT_EQ(operations::signatureText(sim.ws(), {0xFF, 0xFF, 0xFF}), "Unknown device");
}

TEST(Signature, ABoardThatFallsSilentLeavesTheVerdictUnknown) {
    // The connect takes 13 host bytes; the board answers none after them.
    SimulatedWorkspace sim("ATmega8", {"silent-after=13"});
    ASSERT_TRUE(operations::connect(sim.ws(), link::SpeedCode::Baud19200));
    operations::verifySignature(sim.ws());
    EXPECT_EQ(sim.ws().results.lastOperationStatus, zavuv::workspace::OperationStatus::Failed);
    ASSERT_FALSE(sim.user().messages().empty());
    EXPECT_EQ(sim.user().messages().back(), "Error reading signature");
    EXPECT_EQ(sim.ws().results.signature, (operations::SignatureBytes{0xFF, 0xFF, 0xFF}));
}
