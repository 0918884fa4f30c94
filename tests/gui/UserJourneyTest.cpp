// A person's whole way through the program, from the GUI alone: the first run
// asks for the board (COM1 made the simulated board), a new project gets its
// Flash and EEPROM files, its device and its auto-program steps with the lock
// and fuse bits, is saved, closed and opened again, and auto-programs the
// chip; the Lock/Fuse command then reads the bits back from the chip.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

#include "DialogTesting.h"
#include "MainWindowFixture.h"
#include "NextModal.h"
#include "app/dialogs/LockFuseDialog.h"
#include "app/dialogs/ProjectSettingsDialog.h"
#include "sim/SimulatedBoard.h"
#include "support/SimulatedWorkspace.h"

using namespace zavuv;
using namespace zavuv::app;
using dialogs::LockFuseDialog;
using dialogs::ProjectSettingsDialog;
using zavuv::testing::control;
using zavuv::testing::deviceIndexOf;
using zavuv::testing::MainWindowFixture;
using zavuv::testing::OnNextModal;

namespace {

// The bits the project asks for: the factory's 1 MHz internal clock and boot
// size, SPIEN, and three the factory leaves unprogrammed (EESAVE, BODEN, BLB01).
const std::set<QString> kProgrammedFuses = {"CKSEL1",  "CKSEL2",  "CKSEL3", "SUT0", "BODEN",
                                            "BOOTSZ0", "BOOTSZ1", "EESAVE", "SPIEN"};
constexpr int kFirstBootLockBox = 1092;  // BLB01
constexpr int kLockModeNone = 1086;
constexpr int kCloseAndSave = dialogs::LockFuseDialog::kCloseAndSave;
constexpr int kCloseWithoutSaving = 2;

// Project Settings controls.
constexpr int kDeviceList = 1005;
constexpr int kAutoprogramFuses = 1144;
constexpr std::array<int, 8> kAllSteps = {1063, 1069, 1061, 1062, 1060, 1065, 1066, 1064};
constexpr std::array<int, 6> kChosenSteps = {1063, 1069, 1061, 1062, 1065, 1066};

std::vector<std::uint8_t> pattern(std::size_t size, unsigned seed) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 7 + seed) ^ (i >> 8));
    return bytes;
}

std::vector<QPushButton*> fuseButtons(const dialogs::LockFuseDialog& dialog) {
    std::vector<QPushButton*> fuses;
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->isCheckable() && button->isEnabled())
            fuses.push_back(button);
    return fuses;
}

// Presses exactly the fuses named, as a person clicks them.
void pressOnly(const dialogs::LockFuseDialog& dialog, const std::set<QString>& names) {
    for (QPushButton* fuse : fuseButtons(dialog))
        if (fuse->isChecked() != names.contains(fuse->text()))
            fuse->click();
}

std::set<QString> pressedFuses(const dialogs::LockFuseDialog& dialog) {
    std::set<QString> names;
    for (QPushButton* fuse : fuseButtons(dialog))
        if (fuse->isChecked())
            names.insert(fuse->text());
    return names;
}

class UserJourney : public MainWindowFixture {
protected:
    // The first run shows the real Board Settings dialog: COM1 becomes the
    // simulated board, at the standard speed.
    void firstRunChoosesTheSimulatedBoard() {
        writeProfile("");
        realBoardSettings = true;
        QString slotState;
        OnNextModal<dialogs::BoardSettingsDialog> person([&](dialogs::BoardSettingsDialog& d) {
            control<QComboBox>(d, dialogs::BoardSettingsDialog::kSlotDeviceBaseId + 1)
                ->setEditText("sim");
            slotState =
                control<QLabel>(d, dialogs::BoardSettingsDialog::kSlotStateBaseId + 1)->text();
            control<QRadioButton>(d, dialogs::BoardSettingsDialog::kComButtonIds[0])->click();
            control<QRadioButton>(d, dialogs::BoardSettingsDialog::kBaudButtonIds[1])->click();
            zavuv::testing::click(d, widgets::kOkButtonId);
        });
        start();
        ASSERT_TRUE(person.ran());
        EXPECT_EQ(slotState.toStdString(), text::GetUiText(text::Msg::PortSimulated));
        EXPECT_EQ(window->workspace().comPort(), 1);
        EXPECT_EQ(window->workspace().baudIndex, 1);
        EXPECT_EQ(profile->readString("Ports", "COM1", ""), "sim");
        EXPECT_EQ(profile->readInt("Connect", "COM", -1), 1);
    }

    // Project Settings, run from the menu with `act` as the person.
    void projectSettings(const std::function<void(dialogs::ProjectSettingsDialog&)>& act) {
        OnNextModal<dialogs::ProjectSettingsDialog> person(act);
        click(32795);
        ASSERT_TRUE(person.ran());
    }

    sim::ChipImage& chip() {
        return dynamic_cast<sim::SimulatedBoard&>(*window->workspace().ports().simulator()).chip();
    }
};

}  // namespace

TEST_F(UserJourney, NewProjectSavedReopenedAutoProgramsTheChipAndTheBitsReadBack) {
    ASSERT_NO_FATAL_FAILURE(firstRunChoosesTheSimulatedBoard());

    // A new project with a Flash and an EEPROM image.
    const std::vector<std::uint8_t> flashImage = pattern(1536, 3);
    const std::vector<std::uint8_t> eepromImage = pattern(100, 41);
    click(32784);
    fileAnswers.push_back(folder.write("firmware.bin", flashImage));
    click(1006);
    EXPECT_EQ(status().toStdString().rfind("Flash length: 1536 (0x600) bytes", 0), 0u);
    fileAnswers.push_back(folder.write("settings.bin", eepromImage));
    click(1007);
    EXPECT_EQ(status().toStdString().rfind("Eeprom length: 100 (0x64) bytes", 0), 0u);

    // The lists showed another chip: its device is chosen in Project Settings,
    // and the bits can be set only once that choice is confirmed with OK.
    chooseFamily(static_cast<int>(devices::DeviceFamily::ATtiny));
    projectSettings([&](dialogs::ProjectSettingsDialog& d) {
        control<QComboBox>(d, kDeviceList)->setCurrentIndex(deviceIndexOf("ATmega8"));
        control<QCheckBox>(d, kAutoprogramFuses)->click();
        EXPECT_FALSE(control<QCheckBox>(d, kAutoprogramFuses)->isChecked());
        zavuv::testing::click(d, widgets::kOkButtonId);
    });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], text::GetUiText(text::Msg::SelectProperChipFirst));
    EXPECT_EQ(byId<QComboBox>(1016)->currentText(), "ATmega8");

    std::set<QString> presetFuses;
    projectSettings([&](dialogs::ProjectSettingsDialog& d) {
        for (const int step : kAllSteps) {
            auto* box = control<QCheckBox>(d, step);
            const bool wanted = std::ranges::find(kChosenSteps, step) != kChosenSteps.end();
            if (box->isChecked() != wanted)
                box->click();
        }
        OnNextModal<dialogs::LockFuseDialog> bits([&](dialogs::LockFuseDialog& l) {
            EXPECT_TRUE(l.autoProgramMode());
            presetFuses = pressedFuses(l);
            control<QRadioButton>(l, kLockModeNone)->click();
            control<QCheckBox>(l, kFirstBootLockBox)->click();
            pressOnly(l, kProgrammedFuses);
            zavuv::testing::click(l, kCloseAndSave);
        });
        control<QCheckBox>(d, kAutoprogramFuses)->click();
        EXPECT_TRUE(bits.ran());
        EXPECT_TRUE(control<QCheckBox>(d, kAutoprogramFuses)->isChecked());
        zavuv::testing::click(d, widgets::kOkButtonId);
    });
    // The auto-program preset keeps SPIEN programmed before the person acts.
    EXPECT_EQ(presetFuses, std::set<QString>{"SPIEN"});
    EXPECT_NE(title().find("* - "), std::string::npos);
    const devices::LockFuseState configured = window->workspace().project().lockFuse;
    EXPECT_TRUE(window->workspace().project().programFuse);
    EXPECT_TRUE(configured.bootLock[0]);

    // Saved, closed, and opened again from the recent list.
    const std::string projectPath = folder.file("journey.kb2");
    fileAnswers.push_back(projectPath);
    click(32782);
    ASSERT_TRUE(std::filesystem::exists(projectPath));
    EXPECT_EQ(title().find("* - "), std::string::npos);
    click(32792);
    EXPECT_EQ(window->workspace().flash().size(), 0u);
    EXPECT_EQ(window->workspace().project().projectPath, "[Unspecified]");
    chooseFamily(static_cast<int>(devices::DeviceFamily::At89S));
    ASSERT_NE(menuItem(32801), nullptr);
    EXPECT_EQ(menuItem(32801)->text().toStdString(), projectPath);
    // The chip chosen meanwhile changed the new project: asked about, and let go.
    boxes.clear();
    boxAnswers = {QMessageBox::No};
    click(32801);
    EXPECT_EQ(boxes,
              std::vector<std::string>{"The project [Unspecified] has been modified. Save it?"});
    boxes.clear();
    const auto& project = window->workspace().project();
    EXPECT_EQ(project.projectPath, projectPath);
    EXPECT_EQ(project.deviceNo, deviceIndexOf("ATmega8"));
    EXPECT_EQ(byId<QComboBox>(1016)->currentText(), "ATmega8");
    EXPECT_EQ(project.lockFuse, configured);
    EXPECT_TRUE(project.programFuse);
    EXPECT_TRUE(project.autoErase && project.autoEmptyCheck && project.autoFlashProgram &&
                project.autoFlashVerify && project.autoEepromProgram && project.autoEepromVerify);
    EXPECT_EQ(window->workspace().flash().size(), flashImage.size());
    EXPECT_EQ(window->workspace().eeprom().size(), eepromImage.size());

    // Auto-program: both memories and the bits.
    boxes.clear();
    click(1015);
    EXPECT_EQ(status().toStdString(),
              text::formatUiText(text::Msg::AutoProgramDoneBoth, 1536, 100));
    // The one box of the run tells that the bits went in.
    EXPECT_EQ(boxes, std::vector<std::string>{text::GetUiText(text::Msg::LockFuseProgrammed)});
    ASSERT_NE(window->workspace().ports().simulator(), nullptr);
    EXPECT_TRUE(std::equal(flashImage.begin(), flashImage.end(), chip().flash.begin()));
    EXPECT_EQ(chip().flash[flashImage.size()], 0xFF);
    EXPECT_TRUE(std::equal(eepromImage.begin(), eepromImage.end(), chip().eeprom.begin()));
    // Bit 0 stands for a programmed fuse: CKSEL3..1, SUT0 and BODEN low; BOOTSZ1..0,
    // EESAVE and SPIEN high; BLB01 in the lock byte.
    EXPECT_EQ(chip().lowFuse, 0xA1);
    EXPECT_EQ(chip().highFuse, 0xD1);
    EXPECT_EQ(chip().lock & 0x3F, 0x3B);

    // The Lock/Fuse command reads the chip and shows what was programmed.
    boxes.clear();
    std::set<QString> shownFuses;
    bool bootLockShown = false;
    bool unlockedShown = false;
    QString dialogTitle;
    OnNextModal<dialogs::LockFuseDialog> reader([&](dialogs::LockFuseDialog& l) {
        dialogTitle = l.windowTitle();
        shownFuses = pressedFuses(l);
        bootLockShown = control<QCheckBox>(l, kFirstBootLockBox)->isChecked();
        unlockedShown = control<QRadioButton>(l, kLockModeNone)->isChecked();
        zavuv::testing::click(l, kCloseWithoutSaving);
    });
    click(1016);
    ASSERT_TRUE(reader.ran());
    EXPECT_EQ(dialogTitle.toStdString(), text::GetUiText(text::Msg::LockFuseChipTitle));
    EXPECT_EQ(shownFuses, kProgrammedFuses);
    EXPECT_TRUE(bootLockShown);
    EXPECT_TRUE(unlockedShown);
    EXPECT_TRUE(boxes.empty()) << boxes.front();
}
