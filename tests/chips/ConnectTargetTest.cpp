#include "chips/TargetConnect.h"
#include "support/LinkFixture.h"

namespace zavuv::chips {
namespace {

using link::SpeedCode;
using link::TargetOptions;
using testing::deviceIndex;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The board's part up to the ending: sync, version, '&', ':' and '#' answered.
constexpr std::string_view kBoardUpToMode = "+109\r\r\r";

// The host's part up to the ending at 19200 baud, for a device code and SCK code.
std::vector<std::string> hostUpToMode(const std::string& deviceCode, const std::string& modeArgs) {
    return {
        "0 open COM1 19200",    "50 > 25",  "50 < 2B",  "100 > 40", "100 < 31 30 39", "100 > 26",
        "100 > " + deviceCode,  "100 < 0D", "100 > 3A", "100 > 00", "100 > 00",       "100 < 0D",
        "100 > 23 " + modeArgs, "150 < 0D"};
}

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class ConnectTargetTest : public testing::LinkFixture {
protected:
    TargetOptions optionsFor(std::string_view device) {
        TargetOptions options;
        options.selectedDevice = options.deviceNo = deviceIndex(device);
        return options;
    }

    bool connect(const TargetOptions& options, SpeedCode speed = SpeedCode::Baud19200) {
        return connectTarget(connection, options, 1, speed);
    }
};

TEST_F(ConnectTargetTest, AnAvrGetsTheShortResetBelow100Ms) {
    line.board(0).reply(kBoardUpToMode).reply("\r\r");
    TargetOptions options = optionsFor("ATmega8");
    options.resetStrobeLength = 99;
    ASSERT_TRUE(connect(options));
    EXPECT_EQ(line.trace(), concat(hostUpToMode("02", "00 82 00"),
                                   {"200 > 51", "200 < 0D", "299 > 3D", "299 < 0D"}));
    EXPECT_THAT(user.statuses(), ElementsAre("Reset strobe... (99 ms)", "Connection accepted"));
    EXPECT_THAT(user.messages(), IsEmpty());
    EXPECT_TRUE(channel.connected());
}

TEST_F(ConnectTargetTest, AnAvrGetsTheLongResetFrom100MsAndTheRawEnableWithoutSynchronisation) {
    line.board(0).reply(kBoardUpToMode).reply("\r\r");
    TargetOptions options = optionsFor("ATtiny13");
    options.resetStrobeLength = 100;
    options.noSynchronization = true;
    options.polling = true;
    options.spiPeriod = 7;
    ASSERT_TRUE(connect(options));
    EXPECT_EQ(line.trace(), concat(hostUpToMode("04", "00 FF 01"),
                                   {"200 > 2A", "200 < 0D", "300 > 34 AC 53 00 00", "300 < 0D"}));
    EXPECT_EQ(user.statuses().front(), "Reset strobe... (100 ms)");
}

TEST_F(ConnectTargetTest, TheEndingRepliesMustCome) {
    line.board(0).reply(kBoardUpToMode).reply("\r").silence().reply("\r\r");
    ASSERT_FALSE(connect(optionsFor("ATmega8")));
    // The session is ended, then the failure reported.
    EXPECT_THAT(std::vector(line.trace().end() - 6, line.trace().end()),
                ElementsAre("3020 < -", "3170 > 2D", "3170 < 0D", "3320 > 23 00 82 00", "3320 < 0D",
                            "3320 close COM1"));
    expectConnectionErrorReport();
    EXPECT_FALSE(channel.connected());
}

TEST_F(ConnectTargetTest, SpeedCodeTwoReopensAt921600BeforeTheReset) {
    line.board(0).reply(kBoardUpToMode).reply("\r\r");
    TargetOptions options = optionsFor("ATmega8");
    ASSERT_TRUE(connect(options, SpeedCode::Baud921600));
    EXPECT_EQ(line.trace(), concat(hostUpToMode("02", "02 82 00"),
                                   {"200 close COM1", "245 open COM1 921600", "290 > 51",
                                    "290 < 0D", "310 > 3D", "310 < 0D"}));
    EXPECT_EQ(channel.baudRate(), 921600);
}

TEST_F(ConnectTargetTest, AFailedReopenIsReportedAsAPortThatCannotBeOpened) {
    line.board(0).reply(kBoardUpToMode).busyAfter(1);
    EXPECT_FALSE(connect(optionsFor("ATmega8"), SpeedCode::Baud115200));
    EXPECT_EQ(line.trace().back(), "245 open COM1 refused");
    EXPECT_THAT(user.statuses(), ElementsAre("Connection error"));
    EXPECT_THAT(user.messages(),
                ElementsAre(::testing::StartsWith("Connection error: cannot open")));
}

TEST_F(ConnectTargetTest, At89SAndAt25AreResetAndEnabledWithoutChecks) {
    line.board(0).reply(kBoardUpToMode).reply("x\r");
    ASSERT_TRUE(connect(optionsFor("AT89S8253")));
    // The AT89S8253 adds bit 2 to the SCK code and takes the four-byte enable.
    EXPECT_EQ(line.trace(), concat(hostUpToMode("0C", "00 86 00"),
                                   {"200 > 2B", "200 < 78", "200 > 34 AC 53 00 00", "200 < 0D"}));
    EXPECT_THAT(user.statuses(), ElementsAre("Connection accepted"));

    // The older AT89S and the AT25 take three bytes; a missing answer is no failure.
    for (const char* device : {"AT89S8252", "AT25256"}) {
        markEvents();
        line.board(0).reply(kBoardUpToMode).reply("\r");
        line.clearTrace();
        ASSERT_TRUE(connect(optionsFor(device))) << device;
        EXPECT_THAT(std::vector(line.trace().end() - 4, line.trace().end()),
                    ElementsAre(::testing::EndsWith("> 2B"), ::testing::EndsWith("< 0D"),
                                ::testing::EndsWith("> 33 AC 53 00"), ::testing::EndsWith("< -")));
        EXPECT_THAT(newStatuses(), ElementsAre("Connection accepted"));
        EXPECT_THAT(newMessages(), IsEmpty());
    }
}

class DataFlashConnectTest : public ConnectTargetTest {
protected:
    // Up to the status reads: mode packet with the fixed DataFlash code, the
    // project's period, the reset.
    void scriptBoard(std::initializer_list<std::uint8_t> statuses) {
        auto& board = line.board(0).reply(kBoardUpToMode).reply("\r\r");
        for (std::uint8_t status : statuses)
            board.reply({0x0D, 0x0D, status, 0x0D});
    }
};

TEST_F(DataFlashConnectTest, TheProjectsChipIsDetectedByItsStatusRegister) {
    scriptBoard({0x9C});
    ASSERT_TRUE(connect(optionsFor("AT45DB041B")));
    EXPECT_EQ(line.trace(), concat(hostUpToMode("00", "00 04 00"),
                                   {"350 > 23 00 82 00", "375 < 0D", "400 > 51", "415 < 0D",
                                    "415 > 6C", "430 < 0D", "430 > 36", "430 > D7", "430 < 0D",
                                    "445 > 37", "445 < 9C", "445 > 6B", "445 < 0D"}));
    EXPECT_THAT(user.statuses(), ElementsAre("", "AT45 memory detected (AT45DB041B)"));
}

TEST_F(DataFlashConnectTest, TheFirstMatchingRecordNamesAnotherChip) {
    // AT45DB041B and AT45DB041D share one status value; table order decides.
    scriptBoard({0xFF, 0x9C});
    ASSERT_TRUE(connect(optionsFor("AT45DB041D")));
    EXPECT_EQ(user.lastStatus(), "AT45 memory not detected (signature as AT45DB041B)");
}

TEST_F(DataFlashConnectTest, FiveUnansweredStatusReadsDetectNothingButSucceed) {
    scriptBoard({0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    ASSERT_TRUE(connect(optionsFor("AT45DB161B")));
    EXPECT_EQ(user.lastStatus(), "AT45 memory not detected");
    // Five reads of 30 ms with 40 ms between them.
    EXPECT_EQ(clock.nowMs(), 415 + 5 * 30 + 4 * 40);
    EXPECT_TRUE(channel.connected());
}

TEST_F(DataFlashConnectTest, AnUnacknowledgedModePacketClosesQuietly) {
    line.board(0).reply(kBoardUpToMode).reply("x");
    ASSERT_FALSE(connect(optionsFor("AT45DB041B")));
    EXPECT_THAT(user.events(), IsEmpty());
    EXPECT_EQ(line.trace().back(), "375 close COM1");
}

TEST_F(DataFlashConnectTest, AMissingStatusReplyIsALinkFailure) {
    line.board(0).reply(kBoardUpToMode).reply("\r\r\r\r").silence().reply("\r\r");
    ASSERT_FALSE(connect(optionsFor("AT45DB041B")));
    // The closing mode packet carries the project's period, not the DataFlash code.
    EXPECT_THAT(std::vector(line.trace().end() - 3, line.trace().end()),
                ElementsAre("3545 > 23 00 82 00", "3545 < 0D", "3545 close COM1"));
    expectConnectionErrorReport();
}

TEST_F(ConnectTargetTest, AWrongVersionEndsTheSessionWithoutTheConnectionErrorReport) {
    line.board(0).reply("+108\r\r");
    ASSERT_FALSE(connect(optionsFor("ATmega8")));
    EXPECT_THAT(user.messages(), ElementsAre(::testing::StartsWith("Version conflict.\nFW")));
    EXPECT_EQ(line.trace().back(), "400 close COM1");
    EXPECT_TRUE(connection.state().versionConflict);
}

TEST_F(ConnectTargetTest, AWrongAcknowledgementOfTheDeviceSelectionIsALinkFailure) {
    line.board(0).reply("+109?").silence();
    ASSERT_FALSE(connect(optionsFor("ATmega8")));
    expectConnectionErrorReport();
    EXPECT_FALSE(channel.connected());
}

}  // namespace
}  // namespace zavuv::chips
