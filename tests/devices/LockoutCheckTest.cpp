#include <gtest/gtest.h>

#include "LockFuseTestSupport.h"
#include "devices/AutoProgramPreset.h"
#include "devices/ClockSources.h"
#include "devices/FuseCoding.h"
#include "devices/LockModeName.h"
#include "devices/LockoutCheck.h"
#include "support/RecordingUserPort.h"
#include "text/UiText.h"

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
const std::string kClockUndo =
    "\n     Without that clock source the chip does not run and cannot be programmed; fit it, or "
    "feed a clock signal to XTAL1, to set the clock fuses back.";
const std::string kContinue = "\nContinue?";

// Restores English whatever a test switched to.
class LockoutCheck : public ::testing::Test {
protected:
    void TearDown() override { text::setLanguage(text::Language::English); }

    // The findings of programming `wanted` over the chip's factory settings.
    static std::vector<LockoutFinding> overFactory(const char* device, const LockFuseState& wanted,
                                                   LockModeTexts texts = LockModeTexts::Avr) {
        const LockFuseLayout& layout = layoutOfDevice(device);
        return lockoutFindings(layout, factoryState(DeviceTable::at(deviceNamed(device)), layout),
                               wanted, texts);
    }

    // The factory settings with these fuses changed.
    static LockFuseState factoryWith(const char* device,
                                     std::initializer_list<std::pair<const char*, bool>> changes) {
        const LockFuseLayout& layout = layoutOfDevice(device);
        LockFuseState state = factoryState(DeviceTable::at(deviceNamed(device)), layout);
        for (const auto& [name, programmed] : changes)
            state.fuse[fuseNamed(layout, name)] = programmed;
        return state;
    }
};

}  // namespace

TEST_F(LockoutCheck, FactorySettingsOfEveryChipAreSafe) {
    int checked = 0;
    for (int i = 0; i < DeviceTable::count(); ++i) {
        const LockFuseLayout* layout = layoutOf(i);
        if (!layout || layout->clockScheme == ClockScheme::None)
            continue;
        const LockFuseState factory = factoryState(DeviceTable::at(i), *layout);
        EXPECT_TRUE(lockoutFindings(*layout, factory, factory, LockModeTexts::Avr).empty())
            << DeviceTable::at(i).name << ": "
            << lockoutText(lockoutFindings(*layout, factory, factory, LockModeTexts::Avr))
                   .value_or("");
        // Even over an erased, unknown chip the factory clock is never an
        // unknown, reserved setting.
        const auto clock = clockSetting(*layout, factory);
        ASSERT_TRUE(clock) << DeviceTable::at(i).name;
        EXPECT_NE(clock->source, ClockSource::Reserved) << DeviceTable::at(i).name;
        ++checked;
    }
    EXPECT_GT(checked, 50);
}

TEST_F(LockoutCheck, FactoryStateDecodesTheFactoryBytes) {
    const LockFuseLayout& layout = layoutOfDevice("ATmega328P");
    const LockFuseState factory = factoryState(DeviceTable::at(deviceNamed("ATmega328P")), layout);
    EXPECT_EQ(fuseByteValue(layout, FuseByte::Low, factory), 0x62);
    EXPECT_EQ(fuseByteValue(layout, FuseByte::High, factory), 0xD9);
    EXPECT_EQ(fuseByteValue(layout, FuseByte::Extended, factory), 0xFF);
    EXPECT_TRUE(factory.fuse[fuseNamed(layout, "SPIEN")]);
    EXPECT_TRUE(factory.fuse[fuseNamed(layout, "CKDIV8")]);
    EXPECT_EQ(factory.lockMode, 0);
}

TEST_F(LockoutCheck, SpienLeftUnprogrammedInBothLanguages) {
    const LockFuseState wanted = factoryWith("ATmega8", {{"SPIEN", false}});
    auto findings = overFactory("ATmega8", wanted);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].kind, LockoutKind::SerialProgrammingOff);
    EXPECT_TRUE(findings[0].endsSerialProgramming);
    EXPECT_EQ(findings[0].bit, "SPIEN");
    EXPECT_EQ(findings[0].text,
              "\n  -  SPIEN should be programmed\n     It enables serial programming: left "
              "unprogrammed, this programmer cannot reach the chip any more. Only a high-voltage "
              "(parallel) programmer can program it again.");

    text::setLanguage(text::Language::Russian);
    findings = overFactory("ATmega8", wanted);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].text,
              "\n  -  SPIEN должен быть запрограммирован\n     Он разрешает последовательное "
              "программирование: если он не запрограммирован, этот программатор больше не сможет "
              "связаться с микросхемой. Запрограммировать его снова можно только высоковольтным "
              "(параллельным) программатором.");
}

TEST_F(LockoutCheck, SpienWarnsOnChipsWhoseLayoutCarriesNoWarning) {
    // The ATtiny13 and ATtiny26 layouts mark no fuse, yet their SPIEN is as vital.
    for (const char* device : {"ATtiny13", "ATtiny26"}) {
        const auto findings = overFactory(device, factoryWith(device, {{"SPIEN", false}}));
        ASSERT_EQ(findings.size(), 1u) << device;
        EXPECT_EQ(findings[0].kind, LockoutKind::SerialProgrammingOff) << device;
    }
}

TEST_F(LockoutCheck, RstdisblProgrammedInBothLanguages) {
    const LockFuseState wanted = factoryWith("ATmega8", {{"RSTDISBL", true}});
    auto findings = overFactory("ATmega8", wanted);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].kind, LockoutKind::ResetPinOff);
    EXPECT_TRUE(findings[0].endsSerialProgramming);
    EXPECT_EQ(
        findings[0].text,
        "\n  -  RSTDISBL should be unprogrammed\n     Programmed, it turns the RESET pin into "
        "an I/O pin; serial programming needs RESET, so this programmer cannot reach the "
        "chip any more. Only a high-voltage programmer can unprogram it.");
    text::setLanguage(text::Language::Russian);
    findings = overFactory("ATmega8", wanted);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].text.rfind("\n  -  RSTDISBL должен быть не запрограммирован\n     Если "
                                     "он запрограммирован, вывод RESET становится линией",
                                     0),
              0u)
        << findings[0].text;

    // Already programmed on the chip: nothing changes.
    const LockFuseLayout& layout = layoutOfDevice("ATmega8");
    EXPECT_TRUE(lockoutFindings(layout, wanted, wanted, LockModeTexts::Avr).empty());
}

TEST_F(LockoutCheck, DwenProgrammedInBothLanguages) {
    for (const char* device : {"ATtiny13", "ATmega328P", "ATtiny2313"}) {
        text::setLanguage(text::Language::English);
        const LockFuseState wanted = factoryWith(device, {{"DWEN", true}});
        auto findings = overFactory(device, wanted);
        ASSERT_EQ(findings.size(), 1u) << device;
        EXPECT_EQ(findings[0].kind, LockoutKind::DebugWireOn);
        EXPECT_TRUE(findings[0].endsSerialProgramming);
        EXPECT_EQ(findings[0].text,
                  "\n  -  DWEN should be unprogrammed\n     Programmed, it gives the RESET pin to "
                  "debugWIRE and serial programming stops. A debugWIRE debugger can switch "
                  "debugWIRE off again; a high-voltage programmer can unprogram it.");
        text::setLanguage(text::Language::Russian);
        findings = overFactory(device, wanted);
        ASSERT_EQ(findings.size(), 1u);
        EXPECT_NE(findings[0].text.find("DWEN должен быть не запрограммирован"), std::string::npos);
        EXPECT_NE(findings[0].text.find("debugWIRE"), std::string::npos);
    }
}

TEST_F(LockoutCheck, ExternalClockKeepsTheOldTextAndSaysHowToUndoIt) {
    // ATmega8 from the factory runs on its internal 1 MHz RC oscillator.
    const LockFuseState wanted = factoryWith(
        "ATmega8", {{"CKSEL0", true}, {"CKSEL1", true}, {"CKSEL2", true}, {"CKSEL3", true}});
    auto findings = overFactory("ATmega8", wanted);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].kind, LockoutKind::ClockSource);
    EXPECT_FALSE(findings[0].endsSerialProgramming);
    EXPECT_EQ(findings[0].bit, "CKSEL3..0 = 0000");
    EXPECT_EQ(lockoutText(findings), kIntro + kCkselLine + kClockUndo);

    text::setLanguage(text::Language::Russian);
    findings = overFactory("ATmega8", wanted);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].text,
              "\nCKSELx: при такой настройке fuse-битов выбора тактирования микросхема сможет "
              "работать только от внешнего источника тактового сигнала. Кварцевый резонатор "
              "работать не будет.\n     Без этого источника тактирования микросхема не работает "
              "и не программируется; чтобы вернуть fuse-биты тактирования, установите его или "
              "подайте тактовый сигнал на XTAL1.");
}

TEST_F(LockoutCheck, CrystalOnlyWhenTheCurrentSettingsDoNotUseOne) {
    // CKSEL 1111 (all unprogrammed): a crystal on the ATmega328P.
    const LockFuseState crystal = factoryWith(
        "ATmega328P", {{"CKSEL0", false}, {"CKSEL1", false}, {"CKSEL2", false}, {"CKSEL3", false}});
    const auto findings = overFactory("ATmega328P", crystal);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].text, "\n  -  CKSEL3..0 = 1111 selects a crystal or ceramic resonator "
                                "on XTAL1/XTAL2, which the current settings do not use." +
                                    kClockUndo);
    // A chip already on a crystal may take another crystal setting (0111, full swing).
    const LockFuseLayout& layout = layoutOfDevice("ATmega328P");
    LockFuseState fullSwing = crystal;
    fullSwing.fuse[fuseNamed(layout, "CKSEL3")] = true;
    EXPECT_TRUE(lockoutFindings(layout, crystal, fullSwing, LockModeTexts::Avr).empty());
    // The internal 128 kHz oscillator needs nothing outside the chip.
    const LockFuseState slow = factoryWith(
        "ATmega328P", {{"CKSEL0", false}, {"CKSEL1", false}, {"CKSEL2", true}, {"CKSEL3", true}});
    EXPECT_TRUE(overFactory("ATmega328P", slow).empty());
}

TEST_F(LockoutCheck, ClockCodingsFollowTheChipsGeneration) {
    const auto source = [](const char* device, unsigned cksel) {
        const LockFuseLayout& layout = layoutOfDevice(device);
        LockFuseState state;
        for (int n = 0; n < 4; ++n) {
            const std::string name = "CKSEL" + std::to_string(n);
            for (int i = 0; i < layout.fuseCount; ++i)
                if (name == layout.fuseName[i])
                    state.fuse[i] = ((cksel >> n) & 1u) == 0;
        }
        return clockSetting(layout, state)->source;
    };
    EXPECT_EQ(source("ATmega8", 0x9), ClockSource::LowFrequencyCrystal);
    EXPECT_EQ(source("ATmega8", 0x5), ClockSource::ExternalRc);
    EXPECT_EQ(source("ATmega8", 0x4), ClockSource::Internal);
    EXPECT_EQ(source("ATmega328P", 0x5), ClockSource::LowFrequencyCrystal);
    EXPECT_EQ(source("ATmega328P", 0x1), ClockSource::Reserved);
    EXPECT_EQ(source("ATtiny2313", 0x4), ClockSource::Internal);  // 8 MHz RC
    EXPECT_EQ(source("ATtiny85", 0x1), ClockSource::Internal);    // PLL
    EXPECT_EQ(source("ATtiny85", 0x6), ClockSource::LowFrequencyCrystal);
    EXPECT_EQ(source("ATtiny13", 0x0), ClockSource::ExternalClock);
    EXPECT_EQ(source("ATtiny13", 0x3), ClockSource::Internal);
}

TEST_F(LockoutCheck, ReadProtectionSaysOnlyAnEraseClearsIt) {
    LockFuseState wanted = factoryWith("ATmega8", {});
    wanted.lockMode = 1;  // write protection alone still reads
    EXPECT_TRUE(overFactory("ATmega8", wanted).empty());
    wanted.lockMode = 2;
    auto findings = overFactory("ATmega8", wanted);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].kind, LockoutKind::ReadProtection);
    EXPECT_FALSE(findings[0].endsSerialProgramming);
    EXPECT_EQ(findings[0].text,
              "\n  -  Lock mode 'LB1+LB2: R&W protect' stops the chip's memories from being read "
              "and verified. Only a chip erase clears it, and it erases Flash and EEPROM with it.");
    text::setLanguage(text::Language::Russian);
    findings = overFactory("ATmega8", wanted);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].text.rfind("\n  -  Режим защиты '", 0), 0u);
    EXPECT_NE(findings[0].text.find("стиранием микросхемы"), std::string::npos);

    // AT89S chips name their modes otherwise.
    text::setLanguage(text::Language::English);
    LockFuseState at89 = LockFuseState{};
    at89.lockMode = 3;
    const LockFuseLayout& s52 = layoutOfDevice("AT89S52");
    findings = lockoutFindings(s52, LockFuseState{}, at89, LockModeTexts::At89S);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].bit, "LB1+LB2+LB3");
    // A chip that is read-protected already is not warned about again.
    EXPECT_TRUE(lockoutFindings(s52, at89, at89, LockModeTexts::At89S).empty());
}

TEST_F(LockoutCheck, SeveralFindingsInFuseOrderThenClockThenLock) {
    LockFuseState wanted = factoryWith("ATmega8", {{"SPIEN", false},
                                                   {"RSTDISBL", true},
                                                   {"CKSEL0", true},
                                                   {"CKSEL1", true},
                                                   {"CKSEL2", true},
                                                   {"CKSEL3", true}});
    wanted.lockMode = 2;
    const auto findings = overFactory("ATmega8", wanted);
    ASSERT_EQ(findings.size(), 4u);
    EXPECT_EQ(findings[0].bit, "SPIEN");
    EXPECT_EQ(findings[1].bit, "RSTDISBL");
    EXPECT_EQ(findings[2].kind, LockoutKind::ClockSource);
    EXPECT_EQ(findings[3].kind, LockoutKind::ReadProtection);
    EXPECT_TRUE(endsSerialProgramming(findings));
    EXPECT_EQ(serialProgrammingBits(findings), "SPIEN, RSTDISBL");
}

TEST_F(LockoutCheck, At89S8253KeepsItsWarnedFuses) {
    const LockFuseLayout& layout = layoutOfDevice("AT89S8253");
    const auto findings = lockoutFindings(
        layout, LockFuseState{}, withFuses(layout, {"Extern Clock En"}), LockModeTexts::At89S);
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(lockoutText(findings),
              kIntro + "\n  -  SerialPrgEn should be programmed" +
                  std::string("\n     It enables serial programming: left "
                              "unprogrammed, this programmer cannot reach "
                              "the chip any more. Only a high-voltage "
                              "(parallel) programmer can program it again.") +
                  "\n  -  Extern Clock En should be unprogrammed");
    EXPECT_TRUE(findings[0].endsSerialProgramming);
    EXPECT_FALSE(findings[1].endsSerialProgramming);
}

TEST_F(LockoutCheck, AskingTakesNoAsDefault) {
    RecordingUserPort port;
    EXPECT_TRUE(confirmLockout({}, port));
    EXPECT_TRUE(port.events().empty());

    const auto findings = overFactory("ATmega8", factoryWith("ATmega8", {{"SPIEN", false}}));
    port.answerNext(base::Answer::No);
    port.answerNext(base::Answer::Yes);
    EXPECT_FALSE(confirmLockout(findings, port));
    EXPECT_TRUE(confirmLockout(findings, port));
    const auto events = port.events();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].text, *lockoutText(findings) + kContinue);
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
