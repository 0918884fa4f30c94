#include <gtest/gtest.h>

#include <memory>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "DialogTesting.h"
#include "app/dialogs/AboutDialog.h"
#include "app/dialogs/AdvancedBoardSettingsDialog.h"
#include "app/dialogs/BoardSettingsDialog.h"
#include "app/dialogs/FirmwareUpdateDialog.h"
#include "app/dialogs/LanguageDialog.h"
#include "app/dialogs/LoadAddressDialog.h"
#include "support/ScratchFolder.h"
#include "text/LanguageFixture.h"
#include "workspace/ProfileStore.h"

using namespace zavuv;
using namespace zavuv::app;
using namespace zavuv::testing;

namespace {

QString ru(const char* utf8) {
    return QString::fromUtf8(utf8);
}

class DialogLanguageTest : public text::testing::LanguageFixture {
protected:
    void SetUp() override { text::setLanguage(text::Language::Russian); }

    ScratchFolder folder;
    workspace::ProfileStore profile{folder.file("zavuv.ini")};
    workspace::Preferences preferences{profile};
};

}  // namespace

TEST_F(DialogLanguageTest, EveryDialogWithACaptionRecordSpeaksRussian) {
    const dialogs::BoardSettingsDialog board(3, 1, preferences, {});
    EXPECT_EQ(board.windowTitle(), ru("Настройки программатора"));
    EXPECT_EQ(control<QGroupBox>(board, 1113)->title(), ru("Коммуникационный порт"));
    EXPECT_EQ(control<QRadioButton>(board, 1060)->text(), ru("Интерфейс USB"));
    EXPECT_EQ(control<QLabel>(board, dialogs::BoardSettingsDialog::kSlotStateBaseId + 12)->text(),
              ru("не подключено"));

    const dialogs::AboutDialog about(nullptr, {});
    EXPECT_EQ(about.windowTitle(), ru("О программе"));
    EXPECT_EQ(control<QLabel>(about, 1104)->text(), ru("Внутрисхемный программатор ZAVUV"));

    const dialogs::LanguageDialog language(text::Language::Russian);
    EXPECT_EQ(language.windowTitle(), ru("Язык"));
    EXPECT_EQ(control<QGroupBox>(language, 1104)->title(), ru("Язык"));

    const dialogs::LoadAddressDialog address(0x10);
    EXPECT_EQ(address.windowTitle(), ru("Загрузить по адресу"));
    EXPECT_EQ(control<QRadioButton>(address, 1130)->text(), ru("Шестнадцатеричный"));
    EXPECT_EQ(control<QLineEdit>(address, 1128)->text(), "0010");

    // The caption table blanks the two version fields; the versions still show.
    const dialogs::FirmwareUpdateDialog update("ZAVUV 1.08", "1.09");
    EXPECT_EQ(update.windowTitle(), ru("Настройки обновления версии"));
    EXPECT_EQ(control<QPushButton>(update, widgets::kOkButtonId)->text(), ru("Обновить"));
    EXPECT_EQ(control<QLineEdit>(update, dialogs::FirmwareUpdateDialog::kCurrentVersionId)->text(),
              "ZAVUV 1.08");
    EXPECT_EQ(control<QLineEdit>(update, dialogs::FirmwareUpdateDialog::kNewVersionId)->text(),
              "1.09");
}

TEST_F(DialogLanguageTest, AdvancedBoardSettingsAndItsMessagesStayEnglish) {
    RecordedBoxes boxes;
    dialogs::AdvancedBoardSettingsDialog dialog({}, nullptr, boxes.shower());
    EXPECT_EQ(dialog.windowTitle(), "Advanced Board Settings");
    EXPECT_EQ(control<QLabel>(dialog, 1080)->text(),
              "WARNING: This window is provided to be used by advanced users/programmers only. "
              "Changing this delays to large values may degrade perfomance.");
    type(dialog, 1076, "5000");
    click(dialog, widgets::kOkButtonId);
    ASSERT_EQ(boxes.requests.size(), 1u);
    EXPECT_EQ(boxes.requests[0].text, "Please enter an integer between 0 and 1000.");
}

TEST_F(DialogLanguageTest, LoadAddressRefusalIsInRussian) {
    RecordedBoxes boxes;
    dialogs::LoadAddressDialog dialog(0, nullptr, boxes.shower());
    type(dialog, 1128, "-5");
    click(dialog, widgets::kOkButtonId);
    ASSERT_EQ(boxes.requests.size(), 1u);
    EXPECT_TRUE(boxes.requests[0].text.startsWith(ru("Неверный адрес \"-5\"")));
    EXPECT_EQ(boxes.requests[0].caption, ru("Программатор ZAVUV"));
}
