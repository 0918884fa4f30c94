#include <gtest/gtest.h>

#include <array>
#include <vector>

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

#include "GuiTesting.h"
#include "NextModal.h"
#include "app/dialogs/LockFuseDialog.h"
#include "operations/LockFuseOnChip.h"
#include "sim/SimulatedBoard.h"
#include "support/RecordingUserPort.h"
#include "support/SimulatedWorkspace.h"

using namespace zavuv;
using namespace zavuv::app;
using zavuv::testing::kAtmega8Spien;
using namespace zavuv::devices;
using zavuv::testing::control;
using zavuv::testing::deviceIndexOf;
using zavuv::testing::OnNextModal;
using zavuv::testing::RecordedEvent;
using zavuv::testing::RecordingUserPort;

namespace {

constexpr std::array<int, 4> kLockModeIds = {1086, 1087, 1088, 1089};
constexpr std::array<int, 24> kFuseIds = {
    1091, 1095, 1096, 1097, 1098, 1099, 1100, 1101, 1110, 1111, 1112, 1113,
    1117, 1118, 1119, 1120, 1102, 1121, 1104, 1122, 1107, 1108, 1109, 1116,
};
constexpr std::array<int, 4> kBootLockIds = {1092, 1103, 1093, 1094};
constexpr int kProgram = 1132, kRead = 3, kVerify = 4, kErase = 5, kSave = 1160, kClose = 2;

constexpr int kBlb02 = 1;

// The chip behind the dialog's buttons.
struct FakeChip {
    LockFuseState onChip;
    bool readWorks = true;
    bool programWorks = true;
    bool eraseWorks = true;
    int reads = 0;
    int erases = 0;
    std::vector<LockFuseState> programmed;

    LockFuseChip operations() {
        return {[this](LockFuseState& state) {
                    ++reads;
                    if (readWorks)
                        state = onChip;
                    return readWorks;
                },
                [this](const LockFuseState& state) {
                    programmed.push_back(state);
                    if (programWorks)
                        onChip = state;
                    return programWorks;
                },
                [this] {
                    ++erases;
                    if (eraseWorks)
                        onChip = LockFuseState{true};
                    return eraseWorks;
                }};
    }
};

LockFuseState readableState() {
    LockFuseState state;
    state.readable = true;
    return state;
}

class LockFuseDialogTest : public ::testing::Test {
protected:
    // Opens the dialog for `device` on `initial`, shown but not modal.
    dialogs::LockFuseDialog& open(const char* device, const LockFuseState& initial,
                                  bool autoProgram = false) {
        dialog = std::make_unique<dialogs::LockFuseDialog>(nullptr, deviceIndexOf(device), initial,
                                                           user, chip.operations());
        dialog->setAutoProgramMode(autoProgram);
        dialog->show();
        return *dialog;
    }

    QPushButton* button(int id) { return control<QPushButton>(*dialog, id); }
    QPushButton* fuse(int i) { return button(kFuseIds[i]); }
    QCheckBox* bootLock(int j) { return control<QCheckBox>(*dialog, kBootLockIds[j]); }
    QRadioButton* lockMode(int mode) { return control<QRadioButton>(*dialog, kLockModeIds[mode]); }

    RecordingUserPort user;
    FakeChip chip;
    std::unique_ptr<dialogs::LockFuseDialog> dialog;
};

TEST_F(LockFuseDialogTest, Atmega8ShowsSixteenFusesAndFourBootLockBits) {
    LockFuseState state = readableState();
    state.fuse[kAtmega8Spien] = true;
    state.bootLock[kBlb02] = true;
    state.lockMode = 2;
    open("ATmega8", state);

    EXPECT_EQ(fuse(0)->text(), "CKSEL0");
    EXPECT_EQ(fuse(kAtmega8Spien)->text(), "SPIEN");
    EXPECT_TRUE(fuse(kAtmega8Spien)->isChecked());
    EXPECT_FALSE(fuse(kAtmega8Spien - 1)->isChecked());
    EXPECT_EQ(fuse(15)->text(), "RSTDISBL");
    for (int i = 16; i < 24; ++i) {
        EXPECT_EQ(fuse(i)->text(), "Unused") << i;
        EXPECT_FALSE(fuse(i)->isEnabled()) << i;
    }
    for (int j = 0; j < 4; ++j)
        EXPECT_TRUE(bootLock(j)->isEnabled()) << j;
    EXPECT_EQ(bootLock(kBlb02)->text(), "BLB02");
    EXPECT_TRUE(bootLock(kBlb02)->isChecked());

    EXPECT_EQ(lockMode(0)->text(), "No");
    EXPECT_EQ(lockMode(2)->text(), "LB1+LB2: R&&W protect");
    EXPECT_TRUE(lockMode(2)->isChecked());
    EXPECT_FALSE(lockMode(3)->isEnabled());
    EXPECT_EQ(lockMode(3)->text(), "LB1+LB2+LB3 (89S only)");
}

TEST_F(LockFuseDialogTest, UnusedControlsFollowEachLayout) {
    open("ATtiny13", readableState());
    EXPECT_EQ(fuse(12)->text(), "SPMEN");
    for (int i = 13; i < 24; ++i)
        EXPECT_FALSE(fuse(i)->isEnabled()) << i;
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(bootLock(j)->text(), "Unused");
        EXPECT_FALSE(bootLock(j)->isEnabled());
    }

    LockFuseState lb3 = readableState();
    lb3.lockMode = 3;
    open("AT89S52", lb3);
    const char* names[] = {"No locking", "LB1", "LB1+LB2", "LB1+LB2+LB3"};
    for (int mode = 0; mode < 4; ++mode) {
        EXPECT_EQ(lockMode(mode)->text(), names[mode]);
        EXPECT_TRUE(lockMode(mode)->isEnabled());
    }
    EXPECT_TRUE(lockMode(3)->isChecked());
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ(fuse(i)->text(), "Unused");
}

TEST_F(LockFuseDialogTest, AnEepromShowsEverythingUnused) {
    open("AT25256", LockFuseState{});
    for (int i = 0; i < 24; ++i)
        EXPECT_FALSE(fuse(i)->isEnabled());
    EXPECT_FALSE(button(kRead)->isEnabled());
    EXPECT_FALSE(button(kVerify)->isEnabled());
}

TEST_F(LockFuseDialogTest, EachModeHasItsTitleAndButtons) {
    open("ATmega8", readableState());
    EXPECT_EQ(dialog->windowTitle(), "Lock/Fuse Bits");
    EXPECT_EQ(button(kProgram)->text(), "Program");
    EXPECT_FALSE(button(kSave)->isEnabled());
    EXPECT_TRUE(button(kErase)->isEnabled());
    EXPECT_TRUE(button(kRead)->isEnabled());

    open("ATmega8", readableState(), true);
    EXPECT_EQ(dialog->windowTitle(), "Lock/Fuse Bits Settings for Auto-Program");
    EXPECT_TRUE(button(kSave)->isEnabled());
    EXPECT_FALSE(button(kErase)->isEnabled());

    // Bits that cannot be read back leave nothing to read or verify.
    open("ATmega8", LockFuseState{});
    EXPECT_FALSE(button(kRead)->isEnabled());
    EXPECT_FALSE(button(kVerify)->isEnabled());
}

TEST_F(LockFuseDialogTest, ProgrammingADangerousSettingAsksFirstAndNoChangesNothing) {
    LockFuseState state = readableState();
    state.fuse[kAtmega8Spien] = true;
    open("ATmega8", state);
    fuse(kAtmega8Spien)->click();  // released: serial programming would be off

    user.answerNext(base::Answer::No);
    button(kProgram)->click();
    ASSERT_EQ(user.questions().size(), 1u);
    EXPECT_NE(user.questions()[0].find("SPIEN should be programmed"), std::string::npos);
    EXPECT_TRUE(chip.programmed.empty());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(fuse(kAtmega8Spien)->isChecked());
    EXPECT_EQ(dialog->workingState(), LockFuseState{});

    user.answerNext(base::Answer::Yes);
    button(kProgram)->click();
    ASSERT_EQ(chip.programmed.size(), 1u);
    EXPECT_FALSE(chip.programmed[0].fuse[kAtmega8Spien]);
    EXPECT_FALSE(dialog->shownState().fuse[kAtmega8Spien]);
}

TEST_F(LockFuseDialogTest, ProgrammingMakesBitsReadableButAFailureKeepsTheShownState) {
    open("ATmega8", LockFuseState{});  // e.g. opened on unreadable bits
    fuse(kAtmega8Spien)->click();
    lockMode(1)->click();

    chip.programWorks = false;
    // Bits that were not read are compared with the chip's factory settings,
    // which run on the internal oscillator: CKSEL 1111 wants a crystal.
    user.answerNext(base::Answer::Yes);
    user.answerNext(base::Answer::Yes);
    button(kProgram)->click();
    ASSERT_EQ(user.questions().size(), 1u);
    EXPECT_NE(user.questions()[0].find("CKSEL3..0 = 1111 selects a crystal"), std::string::npos)
        << user.questions()[0];
    EXPECT_FALSE(dialog->shownState().fuse[kAtmega8Spien]);
    EXPECT_FALSE(button(kRead)->isEnabled());
    EXPECT_TRUE(fuse(kAtmega8Spien)->isChecked());

    chip.programWorks = true;
    button(kProgram)->click();
    EXPECT_TRUE(dialog->shownState().readable);
    EXPECT_EQ(dialog->shownState().lockMode, 1);
    EXPECT_TRUE(button(kRead)->isEnabled());
    EXPECT_TRUE(button(kVerify)->isEnabled());
}

TEST_F(LockFuseDialogTest, ReadShowsTheChipAndAFailedReadKeepsTheControls) {
    open("ATmega8", readableState());
    bootLock(0)->click();

    chip.readWorks = false;
    button(kRead)->click();
    EXPECT_TRUE(bootLock(0)->isChecked());

    chip.readWorks = true;
    chip.onChip = readableState();
    chip.onChip.fuse[kAtmega8Spien] = true;
    chip.onChip.lockMode = 2;
    button(kRead)->click();
    EXPECT_FALSE(bootLock(0)->isChecked());
    EXPECT_TRUE(fuse(kAtmega8Spien)->isChecked());
    EXPECT_TRUE(lockMode(2)->isChecked());
    EXPECT_EQ(dialog->workingState(), chip.onChip);
}

TEST_F(LockFuseDialogTest, AFilesBitsAreShownToProgramWhileTheChipsStayTheComparison) {
    LockFuseState onChip = readableState();
    onChip.fuse[kAtmega8Spien] = true;
    open("ATmega8", onChip);
    LockFuseState file = onChip;  // as an ELF file's .fuse and .lock give them
    file.bootLock[kBlb02] = true;
    dialog->proposeBits(file);
    EXPECT_TRUE(bootLock(kBlb02)->isChecked());
    EXPECT_TRUE(fuse(kAtmega8Spien)->isChecked());
    EXPECT_EQ(dialog->shownState(), onChip);

    button(kProgram)->click();
    EXPECT_TRUE(user.questions().empty());
    EXPECT_EQ(chip.programmed, std::vector<LockFuseState>{file});
}

TEST_F(LockFuseDialogTest, VerifyReportsEachDifferenceOrOk) {
    LockFuseState state = readableState();
    state.fuse[kAtmega8Spien] = true;
    open("ATmega8", state);
    chip.onChip = state;
    chip.onChip.bootLock[kBlb02] = true;

    button(kVerify)->click();
    chip.onChip.bootLock[kBlb02] = false;
    button(kVerify)->click();

    const std::vector<RecordedEvent> events = user.events();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].text, "Lock&Fuse bits verify: Failed\n"
                              " - BLB02 should be unprogrammed, is programmed\n");
    EXPECT_EQ(events[0].icon, base::MessageIcon::Error);
    EXPECT_EQ(events[0].caption, text::GetUiText(text::Msg::ProgramTitle));
    EXPECT_EQ(events[1].text, "Lock&Fuse bits verify: OK");
    EXPECT_EQ(events[1].icon, base::MessageIcon::Information);
}

TEST_F(LockFuseDialogTest, ChipEraseReadsTheErasedChipOnlyWhenItWorked) {
    LockFuseState locked = readableState();
    locked.lockMode = 2;
    open("ATmega8", locked);

    chip.eraseWorks = false;
    button(kErase)->click();
    EXPECT_EQ(chip.reads, 0);
    EXPECT_TRUE(lockMode(2)->isChecked());

    chip.eraseWorks = true;
    button(kErase)->click();
    EXPECT_EQ(chip.reads, 1);
    EXPECT_TRUE(lockMode(0)->isChecked());
    EXPECT_EQ(dialog->shownState().lockMode, 0);
}

TEST_F(LockFuseDialogTest, AutoProgramModeHandsTheBitsBackOnlyOnCloseAndSave) {
    const int atmega8 = deviceIndexOf("ATmega8");
    LockFuseState start = readableState();
    start.fuse[kAtmega8Spien] = true;

    auto edit = [&](const std::function<void(dialogs::LockFuseDialog&)>& act) {
        OnNextModal<dialogs::LockFuseDialog> driver([&](dialogs::LockFuseDialog& d) {
            control<QPushButton>(d, kFuseIds[0])->click();
            act(d);
        });
        return dialogs::editAutoProgramLockFuse(nullptr, atmega8, start, user, chip.operations());
    };

    // CKSEL 1110 wants a crystal, which the chip's factory setting does not use.
    const std::optional<LockFuseState> saved = edit([&](dialogs::LockFuseDialog& d) {
        user.answerNext(base::Answer::Yes);
        control<QPushButton>(d, kSave)->click();
    });
    ASSERT_TRUE(saved);
    EXPECT_TRUE(saved->fuse[0]);
    EXPECT_TRUE(saved->fuse[kAtmega8Spien]);

    EXPECT_FALSE(
        edit([](dialogs::LockFuseDialog& d) { control<QPushButton>(d, kClose)->click(); }));
    // Enter takes the controls but is no saving.
    EXPECT_FALSE(edit([&](dialogs::LockFuseDialog& d) {
        user.answerNext(base::Answer::Yes);
        QTest::keyClick(&d, Qt::Key_Return);
    }));
    EXPECT_TRUE(chip.programmed.empty());
}

TEST_F(LockFuseDialogTest, SavingADangerousSettingAsksAndNoKeepsTheDialogOpen) {
    open("ATmega8", readableState(), true);
    user.answerNext(base::Answer::No);
    button(kSave)->click();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(user.questions().size(), 1u);

    user.answerNext(base::Answer::Yes);
    button(kSave)->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), dialogs::LockFuseDialog::kCloseAndSave);
}

TEST(LockFuseDialogOnBoard, ProgramVerifyAndEraseTheSimulatedChip) {
    zavuv::testing::SimulatedWorkspace sim("ATmega8");
    LockFuseState read;
    ASSERT_TRUE(operations::readLockFuse(sim.ws(), read));
    ASSERT_TRUE(read.fuse[kAtmega8Spien]);

    OnNextModal<dialogs::LockFuseDialog> person([&](dialogs::LockFuseDialog& d) {
        control<QRadioButton>(d, kLockModeIds[2])->click();
        control<QCheckBox>(d, kBootLockIds[0])->click();
        sim.user().answerNext(base::Answer::Yes);  // LB1+LB2 stops reading: asked first
        control<QPushButton>(d, kProgram)->click();
        EXPECT_EQ(sim.board().chip().lock & 0x07, 0x00);  // LB1, LB2 and BLB01 programmed

        // A chip locked against reading hides its signature: go on anyway.
        sim.user().answerNext(base::Answer::Yes);
        control<QPushButton>(d, kVerify)->click();
        EXPECT_EQ(sim.user().messages().back(), "Lock&Fuse bits verify: OK");

        control<QPushButton>(d, kErase)->click();
        EXPECT_TRUE(control<QRadioButton>(d, kLockModeIds[0])->isChecked());
        EXPECT_FALSE(control<QCheckBox>(d, kBootLockIds[0])->isChecked());
        EXPECT_TRUE(control<QPushButton>(d, kFuseIds[kAtmega8Spien])->isChecked());
        control<QPushButton>(d, kClose)->click();
    });
    dialogs::runLockFuseDialog(nullptr, sim.ws(), read);
    EXPECT_TRUE(person.ran());
    EXPECT_EQ(sim.board().chip().lock & 0x3F, 0x3F);
    EXPECT_TRUE(sim.boardIdle());
}

}  // namespace

TEST_F(LockFuseDialogTest, ABitAlreadyOnTheReadChipIsNoChange) {
    // The chip reads RSTDISBL programmed (the dialog could read it, so it is
    // reached some other way): keeping it asks nothing, programming it anew does.
    constexpr int kRstdisbl = 15;
    LockFuseState state = readableState();
    state.fuse[kAtmega8Spien] = true;
    state.fuse[kRstdisbl] = true;
    open("ATmega8", state);
    button(kProgram)->click();
    EXPECT_TRUE(user.questions().empty());
    ASSERT_EQ(chip.programmed.size(), 1u);

    state.fuse[kRstdisbl] = false;
    open("ATmega8", state);
    fuse(kRstdisbl)->click();
    user.answerNext(base::Answer::No);
    button(kProgram)->click();
    ASSERT_EQ(user.questions().size(), 1u);
    EXPECT_NE(
        user.questions()[0].find("RSTDISBL should be unprogrammed\n     Programmed, it turns"),
        std::string::npos);
    EXPECT_EQ(chip.programmed.size(), 1u);
}
