#include <gtest/gtest.h>

#include "SimHarness.h"
#include "sim/BoardIdentity.h"

namespace zavuv::sim {
namespace {

using testing::Bytes;
using testing::chipOptions;
using testing::SimHarness;

TEST(BoardCommandTest, BoardLevelCommandsAnswerByteForByte) {
    SimHarness sim;
    EXPECT_EQ(sim.exchange({'%'}, 1), Bytes{'+'});
    EXPECT_EQ(sim.exchange({'@'}, 3), (Bytes{'1', '0', '9'}));
    const Bytes identity = sim.exchange({'?'}, 1 + kApplicationIdentity.size() + 1);
    ASSERT_EQ(identity.size(), kApplicationIdentity.size() + 2);
    EXPECT_EQ(identity[0], kApplicationIdentity.size());
    EXPECT_EQ(std::string(identity.begin() + 1, identity.end() - 1), kApplicationIdentity);
    EXPECT_EQ(identity.back(), 0x0D);
    EXPECT_EQ(sim.exchange({'N'}, 6), (Bytes{0x5A, 0x56, 0x53, 0x00, 0x01, 0x0D}));
    EXPECT_EQ(sim.exchange({0x1B}, 1), Bytes{});  // ESC has no reply
    EXPECT_EQ(sim.exchange({'%'}, 1), Bytes{'+'});
    EXPECT_TRUE(sim.board->board().protocolViolations().empty());
}

TEST(BoardCommandTest, SettingsAreRememberedAndAcknowledged) {
    SimHarness sim;
    EXPECT_EQ(sim.exchange({'&', 12}, 1), Bytes{0x0D});
    EXPECT_EQ(sim.exchange({'#', 0x00, 0x83, 0x01}, 1), Bytes{0x0D});
    EXPECT_EQ(sim.exchange({'W', 0xB9}, 1), Bytes{0x0D});
    const Board& board = sim.board->board();
    EXPECT_EQ(board.deviceCode(), 12);
    EXPECT_EQ(board.sckCode(), 0x83);
    EXPECT_TRUE(board.polling());
    EXPECT_EQ(board.delayCode(), 0xB9);
}

TEST(BoardCommandTest, ResetsAndProgrammingEnableAnswerOneByte) {
    SimHarness sim;
    sim.connect(2);
    EXPECT_EQ(sim.exchange({'*'}, 1), Bytes{0x0D});
    EXPECT_EQ(sim.exchange({'Q'}, 1), Bytes{0x0D});
    EXPECT_EQ(sim.exchange({'='}, 1), Bytes{0x0D});
    EXPECT_EQ(sim.exchange({'-'}, 1), Bytes{0x0D});
}

TEST(BoardCommandTest, ProgrammingEnableFailsWhenTheTargetNeverAnswersInStep) {
    SimHarness sim(chipOptions("AT25256"));
    sim.connect(0);
    EXPECT_EQ(sim.exchange({'Q'}, 1), Bytes{0x0D});
    EXPECT_EQ(sim.exchange({'='}, 1), Bytes{0x1B});
}

TEST(BoardCommandTest, SpiPassThroughCommands) {
    SimHarness sim;
    sim.connectAvr();
    EXPECT_EQ(sim.exchange({'5', 0x30, 0x00, 0x01}, 1), Bytes{0x93});
    EXPECT_EQ(sim.exchange({'4', 0xAC, 0xA0, 0xFF, 0xE4}, 1), Bytes{0x0D});
    EXPECT_EQ(sim.exchange({'5', 0x50, 0x00, 0x00}, 1), Bytes{0xE4});
    // '2' answers what the chip shifted out with its second byte.
    EXPECT_EQ(sim.exchange({'2', 0x30, 0x00}, 1), Bytes{0x30});
    EXPECT_EQ(sim.exchange({'2', 0x02, 0x00}, 1), Bytes{0x07});
    EXPECT_EQ(sim.exchange({'5', 0x38, 0x00, 0x00}, 1), Bytes{sim.board->chip().calibration[0]});
}

TEST(BoardCommandTest, ThreeByteInstructionsAndTheStrayByteOfTheAt89S8252Erase) {
    SimHarness sim(chipOptions("AT89S8252"));
    sim.connect(1);
    EXPECT_EQ(sim.exchange({'+'}, 1).size(), 1u);
    EXPECT_EQ(sim.exchange({'3', 0xAC, 0x53, 0x00}, 1), Bytes{0x0D});
    sim.board->chip().flash[0] = 0x00;
    // The erase goes out as five bytes; the fifth is no command and gets no reply.
    EXPECT_EQ(sim.exchange({'3', 0xAC, 0x04, 0x00, 0x00}, 2), Bytes{0x0D});
    EXPECT_EQ(sim.board->chip().flash[0], 0xFF);
}

TEST(BoardCommandTest, At25SequenceThroughSelectWriteByteAndReadByte) {
    SimHarness sim(chipOptions("AT25HP256"));
    sim.connect(0);
    for (const Bytes& command :
         {Bytes{'9'}, Bytes{'6', 0x06}, Bytes{'8'}, Bytes{'9'}, Bytes{'6', 0x02}, Bytes{'6', 0x01},
          Bytes{'6', 0x00}, Bytes{'6', 0xAB}, Bytes{'8'}}) {
        EXPECT_EQ(sim.exchange(command, 1), Bytes{0x0D});
    }
    for (const Bytes& command :
         {Bytes{'9'}, Bytes{'6', 0x03}, Bytes{'6', 0x01}, Bytes{'6', 0x00}}) {
        EXPECT_EQ(sim.exchange(command, 1), Bytes{0x0D});
    }
    EXPECT_EQ(sim.exchange({'7'}, 1), Bytes{0xAB});
    EXPECT_EQ(sim.exchange({'8'}, 1), Bytes{0x0D});
    EXPECT_EQ(sim.exchange({'-'}, 1), Bytes{0x0D});
}

TEST(BoardCommandTest, At45SequenceThroughWriteNAndReadN) {
    SimHarness sim(chipOptions("AT45DB041B"));
    sim.connect(0);
    EXPECT_EQ(sim.exchange({'Q'}, 1), Bytes{0x0D});
    EXPECT_EQ(sim.exchange({'l'}, 1), Bytes{0x0D});
    EXPECT_EQ(sim.exchange({'6', 0xD7}, 1), Bytes{0x0D});
    EXPECT_EQ(sim.exchange({'7'}, 1), Bytes{0x9C});
    EXPECT_EQ(sim.exchange({'k'}, 1), Bytes{0x0D});
    // Buffer 1 write of one page, then program page 3 with built-in erase.
    EXPECT_EQ(sim.exchange({'l'}, 1), Bytes{0x0D});
    EXPECT_EQ(sim.exchange({'0', 0x00, 0x04, 0x84, 0x00, 0x00, 0x00}, 1), Bytes{0x0D});
    Bytes page{'0', 0x01, 0x08};
    for (int i = 0; i < 264; ++i) {
        page.push_back(static_cast<std::uint8_t>(i));
    }
    EXPECT_EQ(sim.exchange(page, 1), Bytes{0x0D});
    EXPECT_EQ(sim.exchange({'k'}, 1), Bytes{0x0D});
    EXPECT_EQ(sim.exchange({'l'}, 1), Bytes{0x0D});
    EXPECT_EQ(sim.exchange({'0', 0x00, 0x04, 0x83, 0x00, 0x06, 0x00}, 1), Bytes{0x0D});
    EXPECT_EQ(sim.exchange({'k'}, 1), Bytes{0x0D});
    EXPECT_EQ(sim.board->chip().flash[3 * 264 + 263], 263 & 0xFF);
    // Continuous array read from page 3.
    EXPECT_EQ(sim.exchange({'l'}, 1), Bytes{0x0D});
    EXPECT_EQ(sim.exchange({'0', 0x00, 0x08, 0xE8, 0x00, 0x06, 0x00, 0, 0, 0, 0}, 1), Bytes{0x0D});
    const Bytes read = sim.exchange({'1', 0x00, 0x03}, 4);
    EXPECT_EQ(read, (Bytes{0x00, 0x01, 0x02, 0x0D}));
}

TEST(BoardCommandTest, UnknownCommandBytesAreIgnored) {
    SimHarness sim;
    EXPECT_EQ(sim.exchange({0x00, 0xFF, 'z'}, 1), Bytes{});
    EXPECT_EQ(sim.exchange({'%'}, 1), Bytes{'+'});
}

TEST(BoardCommandTest, BlocksLongerThanTheBoardBufferAreReported) {
    SimHarness sim;
    sim.connectAvr();
    EXPECT_EQ(sim.exchange({'}', 65}, 65).size(), 65u);
    ASSERT_EQ(sim.board->board().protocolViolations().size(), 1u);
    EXPECT_NE(sim.board->board().protocolViolations()[0].find("65"), std::string::npos);
}

}  // namespace
}  // namespace zavuv::sim
