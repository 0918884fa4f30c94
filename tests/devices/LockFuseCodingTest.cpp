#include <gtest/gtest.h>

#include "LockFuseTestSupport.h"
#include "devices/FuseCoding.h"
#include "devices/LockByteCoding.h"
#include "support/RecordingUserPort.h"

using namespace zavuv;
using namespace zavuv::devices;
using namespace zavuv::devices::testing;
using zavuv::testing::RecordingUserPort;

TEST(FuseEncoding, Atmega8WritesLowAndHighBytes) {
    const LockFuseLayout& layout = layoutOfDevice("ATmega8");
    EXPECT_EQ(encodeFuseInstructions(layout, LockFuseState{}),
              (std::vector<Instruction>{{0xAC, 0xA0, 0xFF, 0xFF}, {0xAC, 0xA8, 0xFF, 0xFF}}));
    EXPECT_EQ(encodeFuseInstructions(layout, withFuses(layout, {"SPIEN"})),
              (std::vector<Instruction>{{0xAC, 0xA0, 0xFF, 0xFF}, {0xAC, 0xA8, 0xFF, 0xDF}}));
    EXPECT_EQ(encodeFuseInstruction(layout, FuseByte::Extended, LockFuseState{}), std::nullopt);
    EXPECT_EQ(
        encodeFuseInstruction(layout, FuseByte::Low, withFuses(layout, {"CKSEL0", "BODLEVEL"})),
        (Instruction{0xAC, 0xA0, 0xFF, 0x7E}));
}

TEST(FuseEncoding, TemplatesWithZeroByteKeepIt) {
    const LockFuseLayout& m88 = layoutOfDevice("ATmega88");
    EXPECT_EQ(encodeFuseInstruction(m88, FuseByte::High, withFuses(m88, {"SPIEN"})),
              (Instruction{0xAC, 0xA8, 0x00, 0xDF}));
    EXPECT_EQ(encodeFuseInstruction(m88, FuseByte::Low, LockFuseState{}),
              (Instruction{0xAC, 0xA0, 0xFF, 0xFF}));
    const LockFuseLayout& m128x = layoutOfDevice("ATmega128x");
    EXPECT_EQ(encodeFuseInstructions(m128x, LockFuseState{}),
              (std::vector<Instruction>{
                  {0xAC, 0xA0, 0x00, 0xFF}, {0xAC, 0xA8, 0x00, 0xFF}, {0xAC, 0xA4, 0x00, 0xFF}}));
}

TEST(FuseEncoding, ChipsWithoutFusesWriteNone) {
    EXPECT_TRUE(encodeFuseInstructions(layoutOfDevice("AT89S52"), LockFuseState{}).empty());
    EXPECT_TRUE(encodeFuseInstructions(layoutOfDevice("AT25256"), LockFuseState{}).empty());
}

TEST(FuseEncoding, PowerStageFusesAreWrittenInTheExtendedByte) {
    const LockFuseLayout& pwm23 = layoutOfDevice("AT90PWM2/3");
    EXPECT_EQ(encodeFuseInstructions(pwm23, withFuses(pwm23, {"PSC2RB", "PSC1RB", "BOOTRST"})),
              (std::vector<Instruction>{
                  {0xAC, 0xA0, 0xFF, 0xFF}, {0xAC, 0xA8, 0xFF, 0xFF}, {0xAC, 0xA4, 0xFF, 0x3E}}));
    // The AT90PWM1 has no PSC1: its bit 6 stays unprogrammed.
    const LockFuseLayout& pwm1 = layoutOfDevice("AT90PWM1");
    EXPECT_EQ(encodeFuseInstruction(pwm1, FuseByte::Extended, withFuses(pwm1, {"PSCRV"})),
              (Instruction{0xAC, 0xA4, 0xFF, 0xEF}));
}

TEST(LockEncoding, Atmega8LockByte) {
    const LockFuseLayout& layout = layoutOfDevice("ATmega8");
    LockFuseState state;
    EXPECT_EQ(encodeLockInstruction(layout, state), std::nullopt);
    state.lockMode = 1;
    state.bootLock[0] = true;  // BLB01
    EXPECT_EQ(encodeLockInstruction(layout, state), (Instruction{0xAC, 0xFF, 0xFF, 0xFA}));
    state = LockFuseState{};
    state.lockMode = 2;
    EXPECT_EQ(encodeLockInstruction(layout, state), (Instruction{0xAC, 0xFF, 0xFF, 0xFC}));
    state = LockFuseState{};
    state.bootLock[3] = true;  // a boot lock bit alone is written too
    EXPECT_EQ(encodeLockInstruction(layout, state), (Instruction{0xAC, 0xFF, 0xFF, 0xDF}));
}

TEST(LockEncoding, BootLocksBeyondTheLayoutAreNotWritten) {
    const LockFuseLayout& tiny13 = layoutOfDevice("ATtiny13");
    LockFuseState state;
    state.bootLock[0] = true;
    EXPECT_EQ(encodeLockInstruction(tiny13, state), std::nullopt);
    state.lockMode = 1;
    EXPECT_EQ(encodeLockInstruction(tiny13, state), (Instruction{0xAC, 0xFF, 0xFF, 0xFE}));
}

TEST(LockEncoding, Atmega128xTemplate) {
    LockFuseState state;
    state.lockMode = 2;
    EXPECT_EQ(encodeLockInstruction(layoutOfDevice("ATmega256x"), state),
              (Instruction{0xAC, 0xE0, 0x00, 0xFC}));
}

TEST(LockDecoding, Atmega8LockAnswers) {
    const LockFuseLayout& layout = layoutOfDevice("ATmega8");
    RecordingUserPort port;
    LockFuseState state;
    decodeLockByte(layout, 0xFC, state, port);
    EXPECT_EQ(state.lockMode, 2);
    decodeLockByte(layout, 0xFE, state, port);
    EXPECT_EQ(state.lockMode, 1);
    EXPECT_TRUE(port.events().empty());

    decodeLockByte(layout, 0xFD, state, port);
    EXPECT_EQ(state.lockMode, 0);
    const auto events = port.events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, zavuv::testing::RecordedEvent::Kind::Message);
    EXPECT_EQ(events[0].text, "Warning: unrecognized combination of lock bits while reading. "
                              "Assumed not locked.");
    EXPECT_EQ(events[0].caption, "Programmer ZAVUV");
    EXPECT_EQ(events[0].icon, base::MessageIcon::Warning);
}

TEST(LockDecoding, BootLockBitsReadLow) {
    RecordingUserPort port;
    LockFuseState state;
    state.bootLock[9] = true;                                       // stale entry beyond the layout
    decodeLockByte(layoutOfDevice("ATmega16"), 0xF3, state, port);  // BLB01, BLB02 programmed
    EXPECT_EQ(state.lockMode, 0);
    EXPECT_TRUE(state.bootLock[0]);
    EXPECT_TRUE(state.bootLock[1]);
    EXPECT_FALSE(state.bootLock[2]);
    EXPECT_FALSE(state.bootLock[3]);
    EXPECT_FALSE(state.bootLock[9]);

    decodeLockByte(layoutOfDevice("ATtiny13"), 0x00, state, port);
    EXPECT_EQ(state.bootLock, LockFuseState{}.bootLock);
    EXPECT_EQ(state.lockMode, 2);
}

TEST(FuseDecoding, Atmega128xExtendedByte) {
    const LockFuseLayout& layout = layoutOfDevice("ATmega128x");
    LockFuseState state;
    const std::uint8_t answers[] = {0xFF, 0xFF, 0xF8};
    decodeFuseBytes(layout, 0xFF, answers, state);
    EXPECT_EQ(state, withFuses(layout, {"BODLEVEL0", "BODLEVEL1", "BODLEVEL2"}));
    EXPECT_EQ(encodeFuseInstruction(layout, FuseByte::Extended, state),
              (Instruction{0xAC, 0xA4, 0x00, 0xF8}));
}

TEST(FuseDecoding, LaterBytesCorrectWhatTheLowByteLeft) {
    const LockFuseLayout& layout = layoutOfDevice("ATmega8");
    LockFuseState state;
    // Low answer with bit 0 programmed: every high fuse reads programmed at first.
    decodeFuseByte(layout, FuseByte::Low, 0xFE, state);
    EXPECT_TRUE(state.fuse[fuseNamed(layout, "SPIEN")]);
    decodeFuseByte(layout, FuseByte::High, 0xDF, state);
    EXPECT_EQ(state, withFuses(layout, {"CKSEL0", "SPIEN"}));
}

TEST(FuseDecoding, PowerStageFusesAreReadFromTheExtendedByte) {
    for (const char* device : {"AT90PWM1", "AT90PWM2/3"}) {
        SCOPED_TRACE(device);
        const LockFuseLayout& layout = layoutOfDevice(device);
        EXPECT_EQ(fuseReadOrder(layout),
                  (std::vector<FuseByte>{FuseByte::Low, FuseByte::High, FuseByte::Extended}));
        LockFuseState state;
        const std::uint8_t answers[] = {0xFE, 0xDF, 0x6F};  // CKSEL0, SPIEN; PSCRV, PSC2RB
        decodeFuseBytes(layout, 0xFF, answers, state);
        EXPECT_EQ(state, withFuses(layout, {"CKSEL0", "SPIEN", "PSCRV", "PSC2RB"}));
    }
}

TEST(FuseDecoding, ReadOrder) {
    EXPECT_EQ(fuseReadOrder(layoutOfDevice("ATmega640")),
              (std::vector<FuseByte>{FuseByte::Low, FuseByte::High, FuseByte::Extended}));
    EXPECT_EQ(fuseReadOrder(layoutOfDevice("ATtiny26")),
              (std::vector<FuseByte>{FuseByte::Low, FuseByte::High}));
    EXPECT_EQ(fuseReadOrder(layoutOfDevice("AT89S8253")), (std::vector<FuseByte>{FuseByte::Low}));
    EXPECT_TRUE(fuseReadOrder(layoutOfDevice("AT89S51")).empty());
    EXPECT_TRUE(fuseReadOrder(layoutOfDevice("AT86RF401")).empty());
}

TEST(FuseDecoding, MissingAnswersLeaveTheirBytesAlone) {
    // A read cut short after the low byte: the high fuses keep the low byte's bit 0.
    const LockFuseLayout& layout = layoutOfDevice("ATmega16");
    LockFuseState state;
    const std::uint8_t answers[] = {0xFE};
    decodeFuseBytes(layout, 0xFF, answers, state);
    EXPECT_TRUE(state.fuse[fuseNamed(layout, "OCDEN")]);
}

TEST(FuseDecoding, At89S8253FuseByte) {
    const LockFuseLayout& layout = layoutOfDevice("AT89S8253");
    LockFuseState state;
    const std::uint8_t answers[] = {0xF6};  // bits 0 and 3 programmed
    decodeFuseBytes(layout, 0x00, answers, state);
    EXPECT_EQ(state, withFuses(layout, {"SerialPrgEn", "Extern Clock En"}));
    EXPECT_EQ(encodeFuseInstructions(layout, state),
              (std::vector<Instruction>{{0xAC, 0x16, 0xFF, 0xFF}}));
}
