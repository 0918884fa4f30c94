#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "GuiTesting.h"
#include "NextModal.h"
#include "app/dialogs/LockFuseDialog.h"
#include "app/dialogs/ProjectSettingsDialog.h"
#include "support/RecordingUserPort.h"
#include "support/SimulatedWorkspace.h"

using namespace zavuv;
using namespace zavuv::app;
using zavuv::testing::kAtmega8Spien;
using namespace zavuv::devices;
using zavuv::testing::control;
using zavuv::testing::deviceIndexOf;
using zavuv::testing::OnNextModal;
using zavuv::testing::RecordingUserPort;

namespace {

constexpr int kOk = 1, kCancel = 2, kConfigure = 3;
constexpr int kDevice = 1005, kSck = 1145, kSlider = 1084, kSliderText = 1085;
constexpr int kAutoprogramFuses = 1144, kFusesFirst = 1151;
constexpr int kFlashAddressBox = 1067, kFlashAddress = 1068, kEepromAddress = 1071;
constexpr int kFlashByteBox = 1140, kFlashByte = 1143, kFlashPageBox = 1141, kFlashPage = 1142;
constexpr int kEepromByteBox = 1147, kEepromByte = 1148, kEepromPageBox = 1149, kEepromPage = 1150;
constexpr int kSpienButton = 1118;
constexpr int kCloseAndSave = 1160, kCloseWithoutSaving = 2;

class ProjectSettingsDialogTest : public ::testing::Test {
protected:
    dialogs::ProjectSettingsDialog& open() {
        dialog = std::make_unique<dialogs::ProjectSettingsDialog>(nullptr, project, user,
                                                                  LockFuseChip{});
        dialog->show();
        return *dialog;
    }

    template <typename T = QCheckBox> T* get(int id) { return control<T>(*dialog, id); }
    void type(int id, const QString& text) { get<QLineEdit>(id)->setText(text); }
    void ok() { get<QPushButton>(kOk)->click(); }

    RecordingUserPort user;
    buffers::MemoryBuffer flash{false, user};
    buffers::MemoryBuffer eeprom{true, user};
    buffers::ProjectSettings project{flash, eeprom, user};
    std::unique_ptr<dialogs::ProjectSettingsDialog> dialog;
};

TEST_F(ProjectSettingsDialogTest, OpeningShowsTheProjectAndSnapsTheResetStrobe) {
    project.resetStrobeLength = 400;  // a file without the key
    project.autoIncAddress = 496;
    project.delayPageValue2 = 12;
    project.spiPeriod = 6;
    project.autoEepromVerify = true;
    open();

    EXPECT_EQ(dialog->windowTitle(), "Project Settings");
    EXPECT_EQ(get<QLabel>(kSliderText)->text(), "500 ms");
    EXPECT_EQ(get<QSlider>(kSlider)->value(), 5);
    EXPECT_EQ(get<QLineEdit>(kEepromAddress)->text(), "1F0");
    EXPECT_EQ(get<QLineEdit>(kEepromPage)->text(), "12");
    EXPECT_EQ(get<QComboBox>(kDevice)->count(), DeviceTable::count());
    EXPECT_EQ(get<QComboBox>(kDevice)->currentText(), "ATmega8");
    EXPECT_EQ(get<QComboBox>(kSck)->currentText(), "16 uS (60 kHz)");
    EXPECT_TRUE(get(1066)->isChecked());
    EXPECT_FALSE(get(1065)->isChecked());

    get<QSlider>(kSlider)->setValue(0);
    EXPECT_EQ(get<QLabel>(kSliderText)->text(), "20 ms");

    // Cancel writes nothing, but the snapped length has already been taken.
    get<QPushButton>(kCancel)->click();
    EXPECT_EQ(project.resetStrobeLength, 500);
    EXPECT_EQ(project.spiPeriod, 6);

    project.resetStrobeLength = 5000;
    open();
    EXPECT_EQ(get<QLabel>(kSliderText)->text(), "1000 ms");
}

TEST_F(ProjectSettingsDialogTest, EditsFollowTheirCheckBoxes) {
    open();
    EXPECT_FALSE(get<QLineEdit>(kFlashAddress)->isEnabled());
    EXPECT_FALSE(get<QLineEdit>(kFlashByte)->isEnabled());
    EXPECT_FALSE(get<QPushButton>(kConfigure)->isEnabled());

    get(kFlashAddressBox)->click();
    get(kFlashByteBox)->click();
    EXPECT_TRUE(get<QLineEdit>(kFlashAddress)->isEnabled());
    EXPECT_TRUE(get<QLineEdit>(kFlashByte)->isEnabled());
    EXPECT_FALSE(get<QLineEdit>(kEepromAddress)->isEnabled());
    EXPECT_FALSE(get<QLineEdit>(kFlashPage)->isEnabled());
}

TEST_F(ProjectSettingsDialogTest, ClickingACaptionBesideItsBoxTogglesTheBox) {
    open();
    for (const auto& [box, caption] : {std::pair{1030, 3001}, {1036, 3002}, {1096, 3003}}) {
        const bool before = get(box)->isChecked();
        QTest::mouseClick(get<QLabel>(caption), Qt::LeftButton);
        EXPECT_NE(get(box)->isChecked(), before) << caption;
    }
}

TEST_F(ProjectSettingsDialogTest, RussianCaptionsFitAndEachGroupHasOneFontSize) {
    text::setLanguage(text::Language::Russian);
    open();
    text::setLanguage(text::Language::English);
    const auto* device = get<QLabel>(1126);
    EXPECT_LE(device->fontMetrics().horizontalAdvance(device->text()),
              device->contentsRect().width());
    for (const int id : {3001, 3002, 3003})
        EXPECT_EQ(get<QLabel>(id)->font().pointSizeF(), device->font().pointSizeF()) << id;
    // The auto-program steps: General, Flash and Eeprom columns.
    const double size = get(1060)->font().pointSizeF();
    for (const int id : {1063, 1069, 1061, 1062, 1064, 1065, 1066})
        EXPECT_EQ(get(id)->font().pointSizeF(), size) << id;
}

TEST_F(ProjectSettingsDialogTest, CancelChangesNothing) {
    project.resetStrobeLength = 100;
    project.lockFuse.fuse[kAtmega8Spien] = true;
    project.programFuse = true;
    open();
    for (int id : {1030, 1036, 1096, 1063, 1069, 1060, 1061, 1062, 1064, 1065, 1066, 1151, 1067,
                   1070, 1140, 1141, 1147, 1149})
        get(id)->click();
    get(kAutoprogramFuses)->click();  // unchecking opens nothing
    type(kEepromAddress, "FF");
    get<QComboBox>(kSck)->setCurrentIndex(0);
    get<QSlider>(kSlider)->setValue(6);
    get<QPushButton>(kCancel)->click();

    EXPECT_FALSE(project.polling);
    EXPECT_FALSE(project.delayPage2);
    EXPECT_FALSE(project.autoIncrement);
    EXPECT_TRUE(project.programFuse);
    EXPECT_TRUE(project.lockFuse.fuse[kAtmega8Spien]);
    EXPECT_EQ(project.autoIncAddress, 0);
    EXPECT_EQ(project.spiPeriod, 4);
    EXPECT_EQ(project.resetStrobeLength, 100);
    EXPECT_FALSE(project.dirty);
}

TEST_F(ProjectSettingsDialogTest, OkWritesEveryField) {
    open();
    const std::pair<int, bool buffers::ProjectSettings::*> boxes[] = {
        {1030, &buffers::ProjectSettings::polling},
        {1036, &buffers::ProjectSettings::checkSign},
        {1096, &buffers::ProjectSettings::noSynchronization},
        {1063, &buffers::ProjectSettings::autoErase},
        {1069, &buffers::ProjectSettings::autoEmptyCheck},
        {1060, &buffers::ProjectSettings::autoFlashReload},
        {1061, &buffers::ProjectSettings::autoFlashProgram},
        {1062, &buffers::ProjectSettings::autoFlashVerify},
        {1064, &buffers::ProjectSettings::autoEepromReload},
        {1065, &buffers::ProjectSettings::autoEepromProgram},
        {1066, &buffers::ProjectSettings::autoEepromVerify},
        {kFusesFirst, &buffers::ProjectSettings::programFuseBeforeAll},
        {1067, &buffers::ProjectSettings::autoIncrementFlash},
        {1070, &buffers::ProjectSettings::autoIncrement},
        {1140, &buffers::ProjectSettings::delayByte},
        {1141, &buffers::ProjectSettings::delayPage},
        {1147, &buffers::ProjectSettings::delayByte2},
        {1149, &buffers::ProjectSettings::delayPage2},
    };
    for (const auto& [id, field] : boxes)
        get(id)->click();
    type(kFlashAddress, "1F0");
    type(kEepromAddress, "0x20");
    type(kFlashByte, "36");
    type(kFlashPage, "3");
    type(kEepromByte, " 0 ");
    type(kEepromPage, "200");  // no limit for this one
    get<QComboBox>(kSck)->setCurrentIndex(7);
    get<QSlider>(kSlider)->setValue(3);
    get<QComboBox>(kDevice)->setCurrentIndex(deviceIndexOf("ATmega16"));
    ok();

    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    for (const auto& [id, field] : boxes)
        EXPECT_TRUE(project.*field) << id;
    EXPECT_EQ(project.autoIncAddressFlash, 496);
    EXPECT_EQ(project.autoIncAddress, 0x20);
    EXPECT_EQ(project.delayByteValue, 36);
    EXPECT_EQ(project.delayPageValue, 3);
    EXPECT_EQ(project.delayByteValue2, 0);
    EXPECT_EQ(project.delayPageValue2, 200);
    EXPECT_EQ(project.spiPeriod, 7);
    EXPECT_EQ(project.resetStrobeLength, 150);
    // The device is the caller's to select.
    EXPECT_EQ(dialog->selectedDevice(), deviceIndexOf("ATmega16"));
    EXPECT_EQ(project.deviceNo, deviceIndexOf("ATmega8"));
}

TEST_F(ProjectSettingsDialogTest, ADelayOutsideItsLimitsKeepsTheDialogOpen) {
    project.delayByteValue = 15;
    open();
    get(kFlashByteBox)->click();
    type(kFlashByte, "40");
    ok();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(user.messages(),
              std::vector<std::string>{"Please enter an integer between 0 and 36."});
    EXPECT_EQ(project.delayByteValue, 15);
    EXPECT_FALSE(project.delayByte);

    type(kFlashByte, "12x");
    ok();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(user.messages().back(), "Please enter an integer.");

    get(kFlashPageBox)->click();
    type(kFlashByte, "12");
    type(kFlashPage, "2");
    ok();
    EXPECT_EQ(user.messages().back(), "Please enter an integer between 3 and 50.");

    type(kFlashPage, "50");
    ok();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(project.delayByteValue, 12);
}

TEST_F(ProjectSettingsDialogTest, ADelayThatIsNotOverriddenDoesNotBlockOk) {
    project.delayPageValue = 0;  // a project file without the Delays section
    open();
    ok();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(user.messages().empty());
    EXPECT_EQ(project.delayPageValue, 0);
}

TEST_F(ProjectSettingsDialogTest, AnAddressThatDoesNotParseKeepsItsValue) {
    project.autoIncAddressFlash = 0x100;
    open();
    EXPECT_EQ(get<QLineEdit>(kFlashAddress)->maxLength(), 8);
    type(kFlashAddress, "xyz");
    ok();
    EXPECT_EQ(project.autoIncAddressFlash, 0x100);
}

TEST_F(ProjectSettingsDialogTest, CheckingAutoprogramOpensThePresetBitsAndKeepsThemOnSave) {
    open();
    bool spienPressed = false;
    {
        OnNextModal<dialogs::LockFuseDialog> lockFuse([&](dialogs::LockFuseDialog& d) {
            spienPressed = control<QPushButton>(d, kSpienButton)->isChecked();
            EXPECT_EQ(d.windowTitle(), "Lock/Fuse Bits Settings for Auto-Program");
            control<QPushButton>(d, 1091)->click();  // CKSEL0
            // CKSEL 1110 wants a crystal, which the chip's factory setting does not use.
            user.answerNext(base::Answer::Yes);
            control<QPushButton>(d, kCloseAndSave)->click();
        });
        get(kAutoprogramFuses)->click();
        EXPECT_TRUE(lockFuse.ran());
    }
    EXPECT_TRUE(spienPressed);
    EXPECT_TRUE(get(kAutoprogramFuses)->isChecked());
    EXPECT_TRUE(get<QPushButton>(kConfigure)->isEnabled());
    EXPECT_TRUE(project.lockFuse.readable);
    EXPECT_FALSE(project.lockFuse.fuse[kAtmega8Spien]);  // only OK stores the bits

    EXPECT_FALSE(project.allowLockout);  // only OK stores it

    ok();
    EXPECT_TRUE(project.programFuse);
    EXPECT_TRUE(project.lockFuse.fuse[kAtmega8Spien]);
    EXPECT_TRUE(project.lockFuse.fuse[0]);
    // The person said Yes to the warning: unattended runs may program the bits.
    EXPECT_TRUE(project.allowLockout);
}

TEST_F(ProjectSettingsDialogTest, SafeBitsOrNoBitsClearAllowLockout) {
    project.programFuse = true;
    project.allowLockout = true;
    open();
    {
        OnNextModal<dialogs::LockFuseDialog> lockFuse([&](dialogs::LockFuseDialog& d) {
            for (const int cksel : {1095, 1096, 1097})  // CKSEL1..3: the internal 1 MHz oscillator
                control<QPushButton>(d, cksel)->click();
            control<QPushButton>(d, kCloseAndSave)->click();
        });
        get<QPushButton>(kConfigure)->click();
        EXPECT_TRUE(lockFuse.ran());
    }
    EXPECT_TRUE(user.questions().empty());
    ok();
    EXPECT_FALSE(project.allowLockout);

    // A confirmed project that stops programming its bits allows nothing either.
    project.allowLockout = true;
    open();
    get(kAutoprogramFuses)->click();
    ok();
    EXPECT_FALSE(project.allowLockout);
}

TEST_F(ProjectSettingsDialogTest, ClosingTheBitsWithoutSavingUnchecksAutoprogram) {
    open();
    OnNextModal<dialogs::LockFuseDialog> lockFuse(
        [](dialogs::LockFuseDialog& d) { control<QPushButton>(d, kCloseWithoutSaving)->click(); });
    get(kAutoprogramFuses)->click();
    EXPECT_TRUE(lockFuse.ran());
    EXPECT_FALSE(get(kAutoprogramFuses)->isChecked());
    EXPECT_FALSE(get<QPushButton>(kConfigure)->isEnabled());
}

TEST_F(ProjectSettingsDialogTest, UncheckingAutoprogramClearsTheStoredBits) {
    project.programFuse = true;
    project.lockFuse.fuse[kAtmega8Spien] = true;
    project.lockFuse.lockMode = 2;
    open();
    get(kAutoprogramFuses)->click();
    ok();
    EXPECT_FALSE(project.programFuse);
    EXPECT_EQ(project.lockFuse, LockFuseState{});
}

TEST_F(ProjectSettingsDialogTest, AnotherDeviceMustBeConfirmedBeforeItsBitsAreConfigured) {
    open();
    get<QComboBox>(kDevice)->setCurrentIndex(deviceIndexOf("ATmega16"));
    get(kAutoprogramFuses)->click();  // no lock/fuse dialog opens
    ASSERT_EQ(user.events().size(), 1u);
    EXPECT_EQ(user.events()[0].text, text::GetUiText(text::Msg::SelectProperChipFirst));
    EXPECT_EQ(user.events()[0].caption, "Programmer ZAVUV");
    EXPECT_EQ(user.events()[0].icon, base::MessageIcon::Information);
    EXPECT_FALSE(get(kAutoprogramFuses)->isChecked());
}

}  // namespace
