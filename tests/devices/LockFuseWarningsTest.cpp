#include <gtest/gtest.h>

#include "LockFuseTestSupport.h"
#include "devices/AutoProgramPreset.h"
#include "devices/FuseWarnings.h"
#include "devices/LockModeName.h"
#include "support/RecordingUserPort.h"

using namespace zavuv;
using namespace zavuv::devices;
using namespace zavuv::devices::testing;
using zavuv::testing::RecordingUserPort;

namespace {

const std::string kIntro = "Warning: some of fuse bits you are going to program can make this "
                           "device not programmable by serial programmers or not operating under "
                           "some conditions:";
const std::string kCkselLine = "\nCKSELx: The clock selection fuses settings will allow the "
                               "device to operate only with external clock source. Crystal "
                               "resonator will not work.";
const std::string kContinue = "\nContinue?";

}  // namespace

TEST(FuseWarnings, Atmega8ExternalClock) {
    const LockFuseLayout& layout = layoutOfDevice("ATmega8");
    EXPECT_EQ(
        fuseWarnings(layout, withFuses(layout, {"CKSEL0", "CKSEL1", "CKSEL2", "CKSEL3", "SPIEN"})),
        kIntro + kCkselLine + kContinue);
    EXPECT_EQ(fuseWarnings(layout, withFuses(layout, {"CKSEL0", "CKSEL1", "CKSEL2", "CKSEL3"})),
              kIntro + "\n  -  SPIEN should be programmed" + kCkselLine + kContinue);
    EXPECT_EQ(fuseWarnings(layout, withFuses(layout, {"CKSEL0", "CKSEL1", "CKSEL2", "SPIEN"})),
              std::nullopt);
}

TEST(FuseWarnings, Attiny13NeverWarns) {
    const LockFuseLayout& layout = layoutOfDevice("ATtiny13");
    ASSERT_EQ(layout.fuseCount, 13);
    for (int bits = 0; bits < (1 << 13); ++bits) {
        LockFuseState state;
        for (int i = 0; i < 13; ++i)
            state.fuse[i] = (bits >> i) & 1;
        ASSERT_EQ(fuseWarnings(layout, state), std::nullopt) << bits;
    }
}

TEST(FuseWarnings, Attiny26WarnsOnlyAboutTheClock) {
    const LockFuseLayout& layout = layoutOfDevice("ATtiny26");
    EXPECT_EQ(fuseWarnings(layout, LockFuseState{}), std::nullopt);
    EXPECT_EQ(fuseWarnings(layout, withFuses(layout, {"CKSEL0", "CKSEL1", "CKSEL2", "CKSEL3"})),
              kIntro + kCkselLine + kContinue);
}

TEST(FuseWarnings, At89S8253ListsBothLinesInFuseOrder) {
    const LockFuseLayout& layout = layoutOfDevice("AT89S8253");
    EXPECT_EQ(fuseWarnings(layout, withFuses(layout, {"Extern Clock En"})),
              kIntro + "\n  -  SerialPrgEn should be programmed" +
                  "\n  -  Extern Clock En should be unprogrammed" + kContinue);
    EXPECT_EQ(fuseWarnings(layout, withFuses(layout, {"SerialPrgEn"})), std::nullopt);
}

TEST(FuseWarnings, AskingTakesNoAsDefault) {
    const LockFuseLayout& layout = layoutOfDevice("ATmega8");
    RecordingUserPort port;
    EXPECT_TRUE(confirmFuseWarnings(layout, withFuses(layout, {"SPIEN"}), port));
    EXPECT_TRUE(port.events().empty());

    port.answerNext(base::Answer::No);
    port.answerNext(base::Answer::Yes);
    EXPECT_FALSE(confirmFuseWarnings(layout, LockFuseState{}, port));
    EXPECT_TRUE(confirmFuseWarnings(layout, LockFuseState{}, port));
    const auto events = port.events();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].text, kIntro + "\n  -  SPIEN should be programmed" + kContinue);
    EXPECT_EQ(events[0].buttons, base::QuestionButtons::YesNo);
    EXPECT_EQ(events[0].icon, base::MessageIcon::Question);
    EXPECT_EQ(events[0].defaultAnswer, base::Answer::No);
    EXPECT_EQ(events[0].caption, "Warning");
}

TEST(AutoProgramPreset, PutsWarnedFusesInTheirSafeSetting) {
    const LockFuseLayout& m8 = layoutOfDevice("ATmega8");
    LockFuseState state = withFuses(m8, {"CKOPT"});
    state.lockMode = 2;
    autoProgramPreset(m8, state);
    LockFuseState expected = withFuses(m8, {"CKOPT", "SPIEN"});
    expected.lockMode = 2;
    expected.readable = true;
    EXPECT_EQ(state, expected);

    const LockFuseLayout& s8253 = layoutOfDevice("AT89S8253");
    state = withFuses(s8253, {"Extern Clock En", "UsrRowPrgEn"});
    autoProgramPreset(s8253, state);
    expected = withFuses(s8253, {"SerialPrgEn", "UsrRowPrgEn"});
    expected.readable = true;
    EXPECT_EQ(state, expected);

    state = LockFuseState{};
    state.readable = true;
    autoProgramPreset(layoutOfDevice("AT89S53"), state);
    EXPECT_FALSE(state.readable);
}

TEST(LockModeName, AvrAndAt89SNames) {
    EXPECT_STREQ(lockModeName(LockModeTexts::Avr, 0), "No");
    EXPECT_STREQ(lockModeName(LockModeTexts::Avr, 2), "LB1+LB2: R&&W protect");
    EXPECT_STREQ(lockModeName(LockModeTexts::Avr, 3), "LB1+LB2+LB3 (89S only)");
    EXPECT_STREQ(lockModeName(LockModeTexts::At89S, 0), "No locking");
    EXPECT_STREQ(lockModeName(LockModeTexts::At89S, 3), "LB1+LB2+LB3");
    EXPECT_STREQ(lockModeName(LockModeTexts::At89S, 4), "");
    EXPECT_STREQ(lockModeName(LockModeTexts::Avr, -1), "");
}
