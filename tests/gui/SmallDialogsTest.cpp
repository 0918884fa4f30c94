#include <gtest/gtest.h>

#include <QLineEdit>
#include <QRadioButton>

#include "DialogTesting.h"
#include "app/dialogs/AdvancedBoardSettingsDialog.h"
#include "app/dialogs/FirmwareUpdateDialog.h"
#include "app/dialogs/LanguageDialog.h"
#include "app/dialogs/LoadAddressDialog.h"

using namespace zavuv;
using namespace zavuv::app;
using namespace zavuv::testing;

namespace {

constexpr int kPreRead = 1076;
constexpr int kPageRead = 1077;
constexpr int kPageWrite = 1078;
constexpr int kPostSend = 1079;

}  // namespace

TEST(AdvancedBoardSettingsDialog, ShowsTheDelaysAndReturnsTheEditedOnesInOrder) {
    dialogs::AdvancedBoardSettingsDialog dialog({1, 2, 3, 4});
    EXPECT_EQ(dialog.windowTitle(), "Advanced Board Settings");
    EXPECT_EQ(control<QLineEdit>(dialog, kPageWrite)->text(), "3");
    type(dialog, kPreRead, "0");
    type(dialog, kPageRead, " 1000 ");
    type(dialog, kPostSend, "40");
    click(dialog, widgets::kOkButtonId);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.delays(), (link::BoardDelays{0, 1000, 3, 40}));
}

TEST(AdvancedBoardSettingsDialog, RefusesWhatIsNoWholeNumberFromZeroToOneThousand) {
    struct Case {
        int field;
        QString text;
        QString message;
    };
    const Case cases[] = {
        {kPageWrite, "1001", "Please enter an integer between 0 and 1000."},
        {kPreRead, "-1", "Please enter an integer between 0 and 1000."},
        {kPostSend, "12ms", "Please enter an integer."},
        {kPageRead, "", "Please enter an integer."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        RecordedBoxes boxes;
        dialogs::AdvancedBoardSettingsDialog dialog({5, 5, 5, 5}, nullptr, boxes.shower());
        dialog.show();
        type(dialog, c.field, c.text);
        click(dialog, widgets::kOkButtonId);
        ASSERT_EQ(boxes.requests.size(), 1u);
        EXPECT_EQ(boxes.requests[0].text, c.message);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.focusWidget(), control<QWidget>(dialog, c.field));
        EXPECT_EQ(dialog.delays(), (link::BoardDelays{5, 5, 5, 5}));
    }
}

TEST(AdvancedBoardSettingsDialog, TheFirstOffendingFieldGetsTheFocus) {
    RecordedBoxes boxes;
    dialogs::AdvancedBoardSettingsDialog dialog({}, nullptr, boxes.shower());
    dialog.show();
    type(dialog, kPageRead, "2000");
    type(dialog, kPostSend, "x");
    click(dialog, widgets::kOkButtonId);
    EXPECT_EQ(boxes.requests.size(), 1u);
    EXPECT_EQ(dialog.focusWidget(), control<QWidget>(dialog, kPageRead));
}

TEST(LoadAddressDialog, ProposesTheAddressInHexadecimalWithAtLeastFourDigits) {
    EXPECT_EQ(control<QLineEdit>(dialogs::LoadAddressDialog(0x20), 1128)->text(), "0020");
    EXPECT_EQ(control<QLineEdit>(dialogs::LoadAddressDialog(0x1ABCD), 1128)->text(), "1ABCD");
    dialogs::LoadAddressDialog dialog(0);
    EXPECT_TRUE(control<QRadioButton>(dialog, dialogs::LoadAddressDialog::kHexadecimalButtonId)
                    ->isChecked());
    EXPECT_FALSE(
        control<QRadioButton>(dialog, dialogs::LoadAddressDialog::kDecimalButtonId)->isChecked());
    // At most six characters can be typed ...
    type(dialog, 1128, "1234567");
    EXPECT_EQ(control<QLineEdit>(dialog, 1128)->text(), "123456");
    // ... but a longer proposal (a full 16 MB buffer) is shown whole, not cut
    // into another address.
    EXPECT_EQ(control<QLineEdit>(dialogs::LoadAddressDialog(0x1000000), 1128)->text(), "1000000");
}

TEST(LoadAddressDialog, ReadsTheTextInTheChosenBase) {
    struct Case {
        QString text;
        bool decimal;
        long long address;
    };
    for (const Case& c : {Case{"1A", false, 26}, Case{"0x1a", false, 26}, Case{"26", true, 26},
                          Case{"0", true, 0}, Case{"FFFFFF", false, 0xFFFFFF}, Case{"1A", true, 1},
                          Case{"xyz", true, 0}, Case{"G0", false, 0}, Case{"", false, 0}}) {
        SCOPED_TRACE(c.text.toStdString());
        RecordedBoxes boxes;
        dialogs::LoadAddressDialog dialog(0x100, nullptr, boxes.shower());
        type(dialog, 1128, c.text);
        if (c.decimal)
            click(dialog, dialogs::LoadAddressDialog::kDecimalButtonId);
        click(dialog, widgets::kOkButtonId);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.address(), c.address);
        EXPECT_TRUE(boxes.requests.empty());
    }
}

TEST(LoadAddressDialog, RefusesANegativeAddressAndStaysOpen) {
    struct Case {
        QString text;
        bool decimal;
    };
    for (const Case& c : {Case{"-1", true}, Case{"-1A", false}, Case{" -7", true}}) {
        SCOPED_TRACE(c.text.toStdString());
        RecordedBoxes boxes;
        dialogs::LoadAddressDialog dialog(0x100, nullptr, boxes.shower());
        dialog.show();
        type(dialog, 1128, c.text);
        if (c.decimal)
            click(dialog, dialogs::LoadAddressDialog::kDecimalButtonId);
        click(dialog, widgets::kOkButtonId);
        ASSERT_EQ(boxes.requests.size(), 1u);
        EXPECT_EQ(boxes.requests[0].text,
                  QString("Invalid address \"%1\": enter a number of 0 or more, decimal or "
                          "hexadecimal as chosen.")
                      .arg(c.text));
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.focusWidget(), control<QWidget>(dialog, 1128));
    }
}

TEST(LoadAddressDialog, IsTheBuffersAddressRequest) {
    const buffers::AddressRequest ask = dialogs::loadAddressRequest(nullptr);
    whenModalShown([](QWidget& dialog) {
        EXPECT_EQ(control<QLineEdit>(dialog, 1128)->text(), "0400");
        type(dialog, 1128, "800");
        click(dialog, widgets::kOkButtonId);
    });
    EXPECT_EQ(ask(0x400), 0x800);

    whenModalShown([](QWidget& dialog) { click(dialog, widgets::kCancelButtonId); });
    EXPECT_EQ(ask(0x400), std::nullopt);
}

TEST(LanguageDialog, ShowsTheCurrentLanguageAndReturnsTheChosenOne) {
    dialogs::LanguageDialog russian(text::Language::Russian);
    EXPECT_TRUE(
        control<QRadioButton>(russian, dialogs::LanguageDialog::kRussianButtonId)->isChecked());
    click(russian, dialogs::LanguageDialog::kEnglishButtonId);
    EXPECT_EQ(russian.language(), text::Language::English);

    whenModalShown([](QWidget& dialog) {
        EXPECT_TRUE(
            control<QRadioButton>(dialog, dialogs::LanguageDialog::kEnglishButtonId)->isChecked());
        click(dialog, dialogs::LanguageDialog::kRussianButtonId);
        click(dialog, widgets::kOkButtonId);
    });
    EXPECT_EQ(dialogs::runLanguageDialog(nullptr, text::Language::English),
              text::Language::Russian);

    whenModalShown([](QWidget& dialog) {
        click(dialog, dialogs::LanguageDialog::kRussianButtonId);
        click(dialog, widgets::kCancelButtonId);
    });
    EXPECT_EQ(dialogs::runLanguageDialog(nullptr, text::Language::English), std::nullopt);
}

TEST(FirmwareUpdateDialog, ShowsBothVersionsAndReturnsTheSpeed) {
    whenModalShown([](QWidget& dialog) {
        EXPECT_EQ(
            control<QLineEdit>(dialog, dialogs::FirmwareUpdateDialog::kCurrentVersionId)->text(),
            "Bootloader");
        EXPECT_EQ(control<QLineEdit>(dialog, dialogs::FirmwareUpdateDialog::kNewVersionId)->text(),
                  "1.09");
        EXPECT_TRUE(control<QRadioButton>(dialog, dialogs::FirmwareUpdateDialog::kNormalSpeedId)
                        ->isChecked());
        click(dialog, widgets::kOkButtonId);
    });
    EXPECT_EQ(dialogs::runFirmwareUpdateDialog(nullptr, "Bootloader", "1.09"),
              dialogs::FirmwareUploadSpeed::Normal);

    whenModalShown([](QWidget& dialog) {
        click(dialog, dialogs::FirmwareUpdateDialog::kReducedSpeedId);
        click(dialog, widgets::kOkButtonId);
    });
    EXPECT_EQ(dialogs::runFirmwareUpdateDialog(nullptr, "", "1.09"),
              dialogs::FirmwareUploadSpeed::Reduced);

    whenModalShown([](QWidget& dialog) { click(dialog, widgets::kCancelButtonId); });
    EXPECT_EQ(dialogs::runFirmwareUpdateDialog(nullptr, "", "1.09"), std::nullopt);
}
