#include <gtest/gtest.h>

#include "SimHarness.h"
#include "sim/FaultPlan.h"

namespace zavuv::sim {
namespace {

using testing::Bytes;
using testing::SimHarness;

SimOptions faultOptions(std::vector<std::string> faults) {
    SimOptions options;
    options.faults = std::move(faults);
    return options;
}

TEST(FaultPlanTest, ParsesEveryFault) {
    FaultPlan plan;
    EXPECT_EQ(parseFaults(plan, {"silent-after=5", "garbage-after=2", "hangup-after=0",
                                 "swap-chip-after=3", "no-firmware", "version=108", "locked",
                                 "polling-fail"}),
              "");
    EXPECT_EQ(plan.silentAfter, 5);
    EXPECT_EQ(plan.garbageAfter, 2);
    EXPECT_EQ(plan.hangupAfter, 0);
    EXPECT_EQ(plan.swapChipAfter, 3);
    EXPECT_TRUE(plan.noFirmware);
    EXPECT_EQ(plan.version, (std::array<char, 3>{'1', '0', '8'}));
    EXPECT_TRUE(plan.locked);
    EXPECT_TRUE(plan.pollingFail);
}

TEST(FaultPlanTest, BadFaultsGiveAClearMessageAndChangeNothing) {
    const std::pair<const char*, const char*> cases[] = {
        {"silent-after", "needs a whole number N >= 0"},
        {"silent-after=x", "needs a whole number N >= 0"},
        {"hangup-after=-1", "needs a whole number N >= 0"},
        {"garbage-after=0", "needs a whole number N >= 1"},
        {"swap-chip-after", "needs a whole number N >= 0"},
        {"version=1090", "exactly three characters"},
        {"locked=yes", "takes no value"},
        {"melt", "unknown fault 'melt'"},
    };
    for (const auto& [fault, message] : cases) {
        FaultPlan plan;
        const std::string error = addFault(plan, fault);
        EXPECT_NE(error.find(message), std::string::npos) << fault << ": " << error;
        EXPECT_FALSE(plan.silentAfter || plan.garbageAfter || plan.hangupAfter ||
                     plan.swapChipAfter || plan.locked);
    }
}

TEST(FaultTest, BadFaultStopsTheBoardFromStarting) {
    SimOptions options = faultOptions({"silent-after=abc"});
    std::string error;
    EXPECT_EQ(SimulatedBoard::create(options, error), nullptr);
    EXPECT_NE(error.find("silent-after"), std::string::npos);
}

TEST(FaultTest, SilentAfterAnswersTheFirstNHostBytesOnly) {
    SimHarness sim(faultOptions({"silent-after=2"}));
    EXPECT_EQ(sim.exchange({'%'}, 1), Bytes{'+'});
    EXPECT_EQ(sim.exchange({'%'}, 1), Bytes{'+'});
    const std::int64_t before = sim.clock.nowUs();
    EXPECT_EQ(sim.exchange({'%'}, 1), Bytes{});
    EXPECT_EQ(sim.clock.nowUs() - before, 2'800'000);  // the read waited its whole time-out
}

TEST(FaultTest, GarbageAfterCorruptsTheNthReplyOnly) {
    SimHarness sim(faultOptions({"garbage-after=2"}));
    EXPECT_EQ(sim.exchange({'%'}, 1), Bytes{'+'});
    EXPECT_EQ(sim.exchange({'@'}, 3), (Bytes{static_cast<std::uint8_t>(~'1'), '0', '9'}));
    EXPECT_EQ(sim.exchange({'%'}, 1), Bytes{'+'});
}

TEST(FaultTest, HangupAfterKillsTheLine) {
    SimHarness sim(faultOptions({"hangup-after=2"}));
    EXPECT_EQ(sim.exchange({'%'}, 1), Bytes{'+'});
    EXPECT_EQ(sim.port->write(Bytes{'@'}), 1);  // the second byte still goes out
    const std::int64_t before = sim.clock.nowUs();
    Bytes buffer(3);
    EXPECT_EQ(sim.port->read(buffer, 2800), 0u);
    EXPECT_EQ(sim.clock.nowUs(), before);  // at once
    EXPECT_EQ(sim.port->write(Bytes{'%'}), -1);
    EXPECT_FALSE(sim.port->drain());
    sim.port->close();
    EXPECT_FALSE(sim.port->open(19200));  // the adapter is gone
}

TEST(FaultTest, HangupAfterZeroIsAnAbsentAdapter) {
    SimHarness sim(faultOptions({"hangup-after=0"}));
    EXPECT_FALSE(sim.port->isOpen());
}

TEST(FaultTest, NoFirmwareAnswersSyncWithMinusUntilAnImageArrives) {
    SimHarness sim(faultOptions({"no-firmware"}));
    EXPECT_EQ(sim.exchange({'%'}, 1), Bytes{'-'});
    EXPECT_EQ(sim.exchange({'@'}, 3), (Bytes{'l', 'd', 'r'}));
    EXPECT_FALSE(sim.board->board().applicationRunning());
}

TEST(FaultTest, VersionFaultChangesTheVersionAnswer) {
    SimHarness sim(faultOptions({"version=err"}));
    EXPECT_EQ(sim.exchange({'@'}, 3), (Bytes{'e', 'r', 'r'}));
}

TEST(FaultTest, LockedChipReadsTheLockedSignature) {
    SimHarness sim(faultOptions({"locked"}));
    sim.connectAvr();
    for (std::uint8_t i = 0; i < 3; ++i) {
        EXPECT_EQ(sim.exchange({'5', 0x30, 0x00, i}, 1), Bytes{i});
    }
    EXPECT_EQ(sim.exchange({'5', 0x58, 0x00, 0x00}, 1), Bytes{0xFC});
}

TEST(FaultTest, PollingFailAnswersWriteBlocksWithEsc) {
    SimHarness sim(faultOptions({"polling-fail"}));
    sim.connectAvr();
    EXPECT_EQ(sim.exchange({'{', 2, 0x01, 0x02}, 1), Bytes{0x1B});
    EXPECT_EQ(sim.exchange({'>', 1, 0x01}, 1), Bytes{0x1B});
    EXPECT_EQ(sim.exchange({'W', 0xDC}, 1), Bytes{0x0D});  // other commands are unaffected
}

// A session begins with the reset strobe. The one after the N-th finds the
// socket empty; the next one a fresh chip, erased, with the same signature.
TEST(FaultTest, SwapChipAfterEmptiesTheSocketForOneSessionThenHoldsAFreshChip) {
    SimHarness sim(faultOptions({"swap-chip-after=1"}));
    sim.board->chip().flash[0] = 0x12;  // the chip in the socket was programmed
    const auto signatureByte = [&sim] { return sim.exchange({'5', 0x30, 0x00, 0x00}, 1); };
    const auto nextSession = [&sim] {
        EXPECT_EQ(sim.exchange({'-'}, 1), Bytes{0x0D});
        EXPECT_EQ(sim.exchange({'Q'}, 1), Bytes{0x0D});
    };
    sim.connectAvr();
    EXPECT_EQ(signatureByte(), Bytes{0x1E});

    nextSession();
    EXPECT_EQ(sim.exchange({'='}, 1), Bytes{0x1B});  // programming enable never echoed
    EXPECT_EQ(signatureByte(), Bytes{0xFF});
    EXPECT_EQ(sim.board->chip().flash[0], 0x12);  // the chip taken out keeps its image

    nextSession();
    EXPECT_EQ(sim.exchange({'='}, 1), Bytes{0x0D});
    EXPECT_EQ(signatureByte(), Bytes{0x1E});
    EXPECT_EQ(sim.board->chip().flash[0], 0xFF);
    nextSession();
    EXPECT_EQ(sim.exchange({'='}, 1), Bytes{0x0D});  // it stays
}

}  // namespace
}  // namespace zavuv::sim
