#include <gtest/gtest.h>

#include <QLineEdit>
#include <QRadioButton>

#include "DialogTesting.h"
#include "app/AdvancedBoardSettingsDialog.h"
#include "app/FirmwareUpdateDialog.h"
#include "app/LanguageDialog.h"
#include "app/LoadAddressDialog.h"

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
    AdvancedBoardSettingsDialog dialog({1, 2, 3, 4});
    EXPECT_EQ(dialog.windowTitle(), "Advanced Board Settings");
    EXPECT_EQ(control<QLineEdit>(dialog, kPageWrite)->text(), "3");
    type(dialog, kPreRead, "0");
    type(dialog, kPageRead, " 1000 ");
    type(dialog, kPostSend, "40");
    click(dialog, kOkButtonId);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.delays(), (workspace::BoardDelays{0, 1000, 3, 40}));
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
        AdvancedBoardSettingsDialog dialog({5, 5, 5, 5}, nullptr, boxes.shower());
        dialog.show();
        type(dialog, c.field, c.text);
        click(dialog, kOkButtonId);
        ASSERT_EQ(boxes.requests.size(), 1u);
        EXPECT_EQ(boxes.requests[0].text, c.message);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.focusWidget(), control<QWidget>(dialog, c.field));
        EXPECT_EQ(dialog.delays(), (workspace::BoardDelays{5, 5, 5, 5}));
    }
}

TEST(AdvancedBoardSettingsDialog, TheFirstOffendingFieldGetsTheFocus) {
    RecordedBoxes boxes;
    AdvancedBoardSettingsDialog dialog({}, nullptr, boxes.shower());
    dialog.show();
    type(dialog, kPageRead, "2000");
    type(dialog, kPostSend, "x");
    click(dialog, kOkButtonId);
    EXPECT_EQ(boxes.requests.size(), 1u);
    EXPECT_EQ(dialog.focusWidget(), control<QWidget>(dialog, kPageRead));
}

TEST(LoadAddressDialog, ProposesTheAddressInHexadecimalWithAtLeastFourDigits) {
    EXPECT_EQ(control<QLineEdit>(LoadAddressDialog(0x20), 1128)->text(), "0020");
    EXPECT_EQ(control<QLineEdit>(LoadAddressDialog(0x1ABCD), 1128)->text(), "1ABCD");
    LoadAddressDialog dialog(0);
    EXPECT_TRUE(
        control<QRadioButton>(dialog, LoadAddressDialog::kHexadecimalButtonId)->isChecked());
    EXPECT_FALSE(control<QRadioButton>(dialog, LoadAddressDialog::kDecimalButtonId)->isChecked());
    // At most six characters can be typed ...
    type(dialog, 1128, "1234567");
    EXPECT_EQ(control<QLineEdit>(dialog, 1128)->text(), "123456");
    // ... but a longer proposal (a full 16 MB buffer) is shown whole, not cut
    // into another address.
    EXPECT_EQ(control<QLineEdit>(LoadAddressDialog(0x1000000), 1128)->text(), "1000000");
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
        LoadAddressDialog dialog(0x100, nullptr, boxes.shower());
        type(dialog, 1128, c.text);
        if (c.decimal)
            click(dialog, LoadAddressDialog::kDecimalButtonId);
        click(dialog, kOkButtonId);
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
        LoadAddressDialog dialog(0x100, nullptr, boxes.shower());
        dialog.show();
        type(dialog, 1128, c.text);
        if (c.decimal)
            click(dialog, LoadAddressDialog::kDecimalButtonId);
        click(dialog, kOkButtonId);
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
    const buffers::AddressRequest ask = loadAddressRequest(nullptr);
    whenModalShown([](QWidget& dialog) {
        EXPECT_EQ(control<QLineEdit>(dialog, 1128)->text(), "0400");
        type(dialog, 1128, "800");
        click(dialog, kOkButtonId);
    });
    EXPECT_EQ(ask(0x400), 0x800);

    whenModalShown([](QWidget& dialog) { click(dialog, kCancelButtonId); });
    EXPECT_EQ(ask(0x400), std::nullopt);
}

TEST(LanguageDialog, ShowsTheCurrentLanguageAndReturnsTheChosenOne) {
    LanguageDialog russian(text::Language::Russian);
    EXPECT_TRUE(control<QRadioButton>(russian, LanguageDialog::kRussianButtonId)->isChecked());
    click(russian, LanguageDialog::kEnglishButtonId);
    EXPECT_EQ(russian.language(), text::Language::English);

    whenModalShown([](QWidget& dialog) {
        EXPECT_TRUE(control<QRadioButton>(dialog, LanguageDialog::kEnglishButtonId)->isChecked());
        click(dialog, LanguageDialog::kRussianButtonId);
        click(dialog, kOkButtonId);
    });
    EXPECT_EQ(runLanguageDialog(nullptr, text::Language::English), text::Language::Russian);

    whenModalShown([](QWidget& dialog) {
        click(dialog, LanguageDialog::kRussianButtonId);
        click(dialog, kCancelButtonId);
    });
    EXPECT_EQ(runLanguageDialog(nullptr, text::Language::English), std::nullopt);
}

TEST(FirmwareUpdateDialog, ShowsBothVersionsAndReturnsTheSpeed) {
    whenModalShown([](QWidget& dialog) {
        EXPECT_EQ(control<QLineEdit>(dialog, FirmwareUpdateDialog::kCurrentVersionId)->text(),
                  "Bootloader");
        EXPECT_EQ(control<QLineEdit>(dialog, FirmwareUpdateDialog::kNewVersionId)->text(), "1.09");
        EXPECT_TRUE(
            control<QRadioButton>(dialog, FirmwareUpdateDialog::kNormalSpeedId)->isChecked());
        click(dialog, kOkButtonId);
    });
    EXPECT_EQ(runFirmwareUpdateDialog(nullptr, "Bootloader", "1.09"), FirmwareUploadSpeed::Normal);

    whenModalShown([](QWidget& dialog) {
        click(dialog, FirmwareUpdateDialog::kReducedSpeedId);
        click(dialog, kOkButtonId);
    });
    EXPECT_EQ(runFirmwareUpdateDialog(nullptr, "", "1.09"), FirmwareUploadSpeed::Reduced);

    whenModalShown([](QWidget& dialog) { click(dialog, kCancelButtonId); });
    EXPECT_EQ(runFirmwareUpdateDialog(nullptr, "", "1.09"), std::nullopt);
}
