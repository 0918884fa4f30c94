#include <gtest/gtest.h>

#include <filesystem>

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

#include "DialogTesting.h"
#include "app/dialogs/BoardSettingsDialog.h"
#include "support/ScratchFolder.h"
#include "workspace/ProfileStore.h"

using namespace zavuv;
using namespace zavuv::app;
using namespace zavuv::testing;

namespace {

constexpr int kComButton[] = {0,    1056, 1057, 1058, 1059, 1149, 1150,
                              1151, 1152, 1153, 1154, 1155, 1156};
constexpr int kStandardSpeed = 1054;
constexpr int kUsbInterface = 1060;

class BoardSettingsDialogTest : public ::testing::Test {
protected:
    QComboBox* device(const QWidget& dialog, int port) {
        return control<QComboBox>(dialog, dialogs::BoardSettingsDialog::kSlotDeviceBaseId + port);
    }
    QString state(const QWidget& dialog, int port) {
        return control<QLabel>(dialog, dialogs::BoardSettingsDialog::kSlotStateBaseId + port)
            ->text();
    }
    // What the profile file on disk says, not what the dialog's store holds.
    std::string savedDevice(int port) {
        return workspace::ProfileStore(profilePath)
            .readString("Ports", "COM" + std::to_string(port), "(none)");
    }

    ScratchFolder folder;
    std::string profilePath = folder.file("zavuv.ini");
    workspace::ProfileStore profile{profilePath};
    workspace::Preferences preferences{profile};
    RecordedBoxes boxes;
};

}  // namespace

TEST_F(BoardSettingsDialogTest, ShowsTheGivenPortAndBaudAndReturnsThemUnchanged) {
    dialogs::BoardSettingsDialog dialog(5, 2, preferences, {}, nullptr, boxes.shower());
    EXPECT_TRUE(control<QRadioButton>(dialog, kComButton[5])->isChecked());
    EXPECT_TRUE(control<QRadioButton>(dialog, kUsbInterface)->isChecked());
    click(dialog, widgets::kOkButtonId);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.choice(), (dialogs::BoardChoice{5, 2}));
    // Nothing changed: nothing is written.
    EXPECT_EQ(savedDevice(5), "(none)");
}

TEST_F(BoardSettingsDialogTest, NoBoardYetProposesComOneAndTheClickedButtonsAreReturned) {
    dialogs::BoardSettingsDialog dialog(0, 0, preferences, {}, nullptr, boxes.shower());
    EXPECT_EQ(dialog.choice(), (dialogs::BoardChoice{1, 0}));

    click(dialog, kComButton[12]);
    click(dialog, kStandardSpeed);
    EXPECT_FALSE(control<QRadioButton>(dialog, kComButton[1])->isChecked());
    EXPECT_EQ(dialog.choice(), (dialogs::BoardChoice{12, 1}));
}

TEST_F(BoardSettingsDialogTest, RunReturnsTheChoiceOnOkAndNothingOnCancel) {
    whenModalShown([](QWidget& dialog) {
        click(dialog, kComButton[7]);
        click(dialog, widgets::kOkButtonId);
    });
    EXPECT_EQ(dialogs::runBoardSettingsDialog(nullptr, 2, 1, preferences),
              (dialogs::BoardChoice{7, 1}));

    whenModalShown([](QWidget& dialog) {
        click(dialog, kComButton[9]);
        click(dialog, widgets::kCancelButtonId);
    });
    EXPECT_EQ(dialogs::runBoardSettingsDialog(nullptr, 2, 1, preferences), std::nullopt);
}

TEST_F(BoardSettingsDialogTest, EverySlotShowsItsDeviceAndWhetherItIsThere) {
    // A USB adapter, its stable by-id name, and a pseudo-terminal that is no adapter.
    const std::string node = folder.write("ttyUSB0", "");
    const std::string pty = folder.write("pts-3", "");
    const std::vector<link::DetectedPort> detected = {
        {node, node, "FTDI FT232R USB UART"},
        {"/dev/serial/by-id/usb-FTDI_FT232R-if00", node, "FTDI FT232R USB UART"}};
    ASSERT_TRUE(preferences.setPortDevice(1, node));
    ASSERT_TRUE(preferences.setPortDevice(2, "sim"));
    ASSERT_TRUE(preferences.setPortDevice(3, pty));

    dialogs::BoardSettingsDialog dialog(1, 0, preferences, detected, nullptr, boxes.shower());
    EXPECT_EQ(device(dialog, 1)->currentText(), QString::fromStdString(node));
    EXPECT_EQ(state(dialog, 1), "present: FTDI FT232R USB UART");
    EXPECT_EQ(state(dialog, 2), "simulated board");
    EXPECT_EQ(state(dialog, 3), "present");
    EXPECT_EQ(device(dialog, 12)->currentText(),
              QString::fromStdString(workspace::defaultPortDevice(12)));
    EXPECT_EQ(state(dialog, 12), "not present");

    // Every slot offers the ports found and the simulated board.
    QStringList offered;
    for (int i = 0; i < device(dialog, 4)->count(); ++i)
        offered << device(dialog, 4)->itemText(i);
    EXPECT_EQ(offered, (QStringList{QString::fromStdString(node),
                                    "/dev/serial/by-id/usb-FTDI_FT232R-if00", "sim"}));

    // The state follows the box as the user picks or types.
    device(dialog, 4)->setCurrentIndex(1);
    EXPECT_EQ(state(dialog, 4), "present: FTDI FT232R USB UART");
    device(dialog, 4)->setEditText(QString::fromStdString(folder.file("nothing-here")));
    EXPECT_EQ(state(dialog, 4), "not present");
}

TEST_F(BoardSettingsDialogTest, ChangedSlotsAreWrittenOnOkOnly) {
    {
        dialogs::BoardSettingsDialog dialog(1, 0, preferences, {}, nullptr, boxes.shower());
        device(dialog, 3)->setEditText("sim");
        click(dialog, widgets::kCancelButtonId);
    }
    EXPECT_EQ(savedDevice(3), "(none)");

    dialogs::BoardSettingsDialog dialog(1, 0, preferences, {}, nullptr, boxes.shower());
    device(dialog, 3)->setEditText("sim");
    device(dialog, 4)->setEditText("  /dev/pts/7 ");
    EXPECT_EQ(savedDevice(3), "(none)");
    click(dialog, widgets::kOkButtonId);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(savedDevice(3), "sim");
    EXPECT_EQ(savedDevice(4), "/dev/pts/7");
    EXPECT_EQ(savedDevice(5), "(none)");
    EXPECT_TRUE(boxes.requests.empty());
}

TEST_F(BoardSettingsDialogTest, AnEmptiedSlotGoesBackToItsUsualDevice) {
    ASSERT_TRUE(preferences.setPortDevice(10, "sim"));
    dialogs::BoardSettingsDialog dialog(1, 0, preferences, {}, nullptr, boxes.shower());
    device(dialog, 10)->setEditText("");
    click(dialog, widgets::kOkButtonId);
    EXPECT_EQ(preferences.portDevice(10), workspace::defaultPortDevice(10));
}

TEST_F(BoardSettingsDialogTest, AProfileThatCannotBeWrittenIsReportedAndTheDialogStays) {
    // A folder where the profile file should be: it exists, cannot be read, and
    // the store refuses to replace it.
    const auto unwritable = folder.path() / "profile-folder";
    std::filesystem::create_directory(unwritable);
    workspace::ProfileStore brokenProfile(unwritable);
    workspace::Preferences brokenPreferences(brokenProfile);

    dialogs::BoardSettingsDialog dialog(1, 0, brokenPreferences, {}, nullptr, boxes.shower());
    dialog.show();
    device(dialog, 6)->setEditText("sim");
    click(dialog, widgets::kOkButtonId);

    ASSERT_EQ(boxes.requests.size(), 1u);
    EXPECT_EQ(boxes.requests[0].text, "Cannot save the device of COM6 (\"sim\") in the profile.");
    EXPECT_EQ(boxes.requests[0].icon, base::MessageIcon::Error);
    EXPECT_EQ(boxes.owners[0], &dialog);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
}
