#include <gtest/gtest.h>

#include "SimHarness.h"
#include "sim/LineGarble.h"

namespace zavuv::sim {
namespace {

using testing::Bytes;
using testing::SimHarness;

TEST(LineGarbleTest, EqualRatesPassBytesUnchanged) {
    const Bytes bytes{0x25, 0x00, 0xFF, 0x55};
    EXPECT_EQ(garbleRun(bytes, 115200, 115200), bytes);
}

TEST(LineGarbleTest, SlowSenderLooksLikeSeveralBytesToAFastReceiver) {
    // '%' sent at 19200 and sampled at 115200: the six times longer start bit
    // reads as a byte of its own, and the data bits make more.
    const Bytes seen = garbleRun(Bytes{'%'}, 19200, 115200);
    EXPECT_GT(seen.size(), 1u);
    EXPECT_EQ(seen[0], 0xE0);
    EXPECT_EQ(garbleRun(Bytes{'%'}, 19200, 115200), seen);  // deterministic
}

TEST(LineGarbleTest, FastSenderLooksLikeFewerBytesToASlowReceiver) {
    const Bytes sent{'+', '+', '+', '+', '+', '+'};
    const Bytes seen = garbleRun(sent, 921600, 19200);
    EXPECT_LT(seen.size(), sent.size());
    EXPECT_NE(seen, Bytes(seen.size(), '+'));
}

TEST(LineGarbleTest, OneFastByteIsAtMostOneSlowByte) {
    // A frame lasts less than two slow bits: one start edge, one byte at most.
    for (int value = 0; value < 256; ++value) {
        const Bytes seen = garbleRun(Bytes{static_cast<std::uint8_t>(value)}, 115200, 19200);
        EXPECT_LE(seen.size(), 1u) << value;
    }
}

TEST(BaudSwitchTest, SetModeTakesEffectAfterItsCrReply) {
    SimHarness sim;
    EXPECT_EQ(sim.exchange({'#', 0x01, 0x00, 0x00}, 1), Bytes{0x0D});  // still at 19200
    EXPECT_EQ(sim.board->board().baudRate(), 115200);
    // The host still at 19200: the board sees garbage and the host no '+'.
    EXPECT_NE(sim.exchange({'%'}, 1), Bytes{'+'});
    sim.port->close();
    sim.port->open(115200);
    EXPECT_EQ(sim.exchange({'%'}, 1), Bytes{'+'});
    EXPECT_EQ(sim.exchange({'#', 0x02, 0x00, 0x00}, 1), Bytes{0x0D});
    sim.port->close();
    sim.port->open(921600);
    EXPECT_EQ(sim.exchange({'@'}, 3), (Bytes{'1', '0', '9'}));
    EXPECT_EQ(sim.exchange({'#', 0x00, 0x00, 0x00}, 1), Bytes{0x0D});
    sim.port->close();
    sim.port->open(19200);
    EXPECT_EQ(sim.exchange({'%'}, 1), Bytes{'+'});
}

TEST(BaudSwitchTest, GarbledTrafficShowsInTheTraceAsTheBoardSawIt) {
    SimHarness sim;
    sim.exchange({'#', 0x01, 0x00, 0x00}, 1);
    sim.board->trace().flush();
    sim.board->trace().clearLines();
    sim.exchange({'%'}, 1);
    sim.board->trace().flush();
    const auto& lines = sim.board->trace().lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines[0].find("> E0"), std::string::npos) << lines[0];
}

TEST(BaudSwitchTest, UnknownBaudCodeKeepsTheRateAndIsReported) {
    SimHarness sim;
    EXPECT_EQ(sim.exchange({'#', 0x07, 0x00, 0x00}, 1), Bytes{0x0D});
    EXPECT_EQ(sim.board->board().baudRate(), 19200);
    EXPECT_EQ(sim.board->board().protocolViolations().size(), 1u);
}

TEST(SimulatedPortTest, ReadsWaitInVirtualTimeAtMostTheirTimeOut) {
    SimHarness sim;
    Bytes buffer(4);
    EXPECT_EQ(sim.port->read(buffer, 2800), 0u);
    EXPECT_EQ(sim.clock.nowUs(), 2'800'000);
    sim.send({'%'});
    EXPECT_EQ(sim.port->read(buffer, 2800), 1u);  // at once: the board answered at once
    EXPECT_EQ(sim.clock.nowUs(), 2'800'000);
    EXPECT_EQ(buffer[0], '+');
}

TEST(SimulatedPortTest, ClosedPortNeitherReadsNorWritesAndDropsPendingReplies) {
    SimHarness sim;
    sim.send({'%'});
    sim.port->close();
    Bytes buffer(1);
    EXPECT_EQ(sim.port->read(buffer, 100), 0u);
    EXPECT_EQ(sim.clock.nowUs(), 0);
    EXPECT_EQ(sim.port->write(Bytes{'%'}), -1);
    EXPECT_TRUE(sim.port->open(19200));
    EXPECT_EQ(sim.port->read(buffer, 100), 0u);  // the '+' was lost with the close
}

TEST(SimulatedPortTest, LineRateTimingPacesBytesAndAddsLatency) {
    SimOptions options;
    options.timing = {true, 4000};
    SimHarness sim(options);
    sim.send({'?'});
    EXPECT_TRUE(sim.port->drain());
    EXPECT_EQ(sim.clock.nowUs(), 521);  // one byte at 19200 baud
    const Bytes reply = sim.receive(34);
    EXPECT_EQ(reply.size(), 34u);
    // The last byte: 521 us out, 4 ms latency, 34 bytes of 521 us back.
    EXPECT_EQ(sim.clock.nowUs(), 521 + 4000 + 34 * 521);
}

}  // namespace
}  // namespace zavuv::sim
