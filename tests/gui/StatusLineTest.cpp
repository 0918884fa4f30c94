// The status line shows every status text of both languages whole, and a text
// too long for it (a path) loses its middle, never its ends; the whole text is
// its tooltip.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "app/widgets/ElidedLabel.h"
#include "devices/DeviceTable.h"

using namespace zavuv;
using namespace zavuv::app;
using text::Msg;
using zavuv::testing::MainWindowFixture;

namespace {

// The texts that stand alone on the status line.
const Msg kPlainStatusKeys[] = {
    Msg::AutoProgramDoneNothing,
    Msg::AutoProgramErrorChecking,
    Msg::AutoProgramErrorErasing,
    Msg::AutoProgramErrorNotEmpty,
    Msg::AutoProgramErrorProgrammingEeprom,
    Msg::AutoProgramErrorProgrammingFlash,
    Msg::AutoProgramErrorReloadingEeprom,
    Msg::AutoProgramErrorReloadingFlash,
    Msg::AutoProgramErrorVerifyingEeprom,
    Msg::AutoProgramErrorVerifyingFlash,
    Msg::AutoProgramLockBits,
    Msg::AutoProgramNoActions,
    Msg::AutoProgramStarted,
    Msg::AutoProgramVerifyFailed,
    Msg::AutoProgramOk,
    Msg::AutoProgramError,
    Msg::BlankCheckBlank,
    Msg::BlankCheckCancelled,
    Msg::BlankCheckError,
    Msg::BlankCheckNotEmpty,
    Msg::CheckingDevice,
    Msg::CheckingSignature,
    Msg::ConnectionAccepted,
    Msg::ConnectionError,
    Msg::ConnectionErrorVerifyingEeprom,
    Msg::ConnectionErrorVerifyingFlash,
    Msg::ConnectionErrorVerifyingSignature,
    Msg::DataFlashNotDetected,
    Msg::DeviceErased,
    Msg::EepromProgramCancelled,
    Msg::EepromReadCancelled,
    Msg::EepromReadOk,
    Msg::EepromVerifyCancelled,
    Msg::EraseTerminated,
    Msg::ErasingDevice,
    Msg::ErrorProgrammingEeprom,
    Msg::ErrorReadingCalibration,
    Msg::ErrorReadingEeprom,
    Msg::ErrorReadingVersion,
    Msg::FlashProgramError,
    Msg::FlashReadCancelled,
    Msg::FlashReadError,
    Msg::FlashReadOk,
    Msg::FlashVerifyCancelled,
    Msg::LockFuseProgrammed,
    Msg::NoEepromOnChip,
    Msg::NotErasedLocked,
    Msg::Pausing,
    Msg::PollingError,
    Msg::ProgramTitle,
    Msg::ProgrammingCancelled,
    Msg::ProgrammingEeprom,
    Msg::ProgrammingFlash,
    Msg::ReadingCalibration,
    Msg::ReadingEeprom,
    Msg::ReadingFirmwareVersion,
    Msg::ReadingFlash,
    Msg::ReadingSignature,
    Msg::SearchingForProgrammer,
    Msg::SelectPort,
    Msg::SignatureLocked,
    Msg::UpdateError,
    Msg::UpdateFailed,
    Msg::VerifyingEeprom,
    Msg::VerifyingFlash,
    Msg::VerifyingSignature,
    Msg::VersionConflictStatus,
    Msg::VersionUpdated,
};

std::string longestDeviceName() {
    std::string longest;
    for (int i = 0; i < devices::DeviceTable::count(); ++i)
        if (std::string name = devices::DeviceTable::at(i).name; name.size() > longest.size())
            longest = name;
    return longest;
}

// Every status text in the current language, numbers at their widest: the
// largest DataFlash's size, the last byte of it, the longest chip name.
std::vector<std::string> statusTexts() {
    std::vector<std::string> all;
    for (const Msg key : kPlainStatusKeys)
        all.push_back(text::GetUiText(key));
    const int bytes = 8650752;
    const std::string chip = longestDeviceName();
    for (const Msg key : {Msg::FlashLength, Msg::EepromLength})
        all.push_back(text::formatUiText(key, bytes, bytes, 0xFFFF));
    for (const Msg key :
         {Msg::FlashProgramDone, Msg::EepromProgramDone, Msg::FlashVerifyOk, Msg::EepromVerifyOk,
          Msg::AutoProgramDoneFlash, Msg::AutoProgramDoneEeprom})
        all.push_back(text::formatUiText(key, bytes));
    for (const Msg key : {Msg::FlashVerifyMismatch, Msg::EepromVerifyMismatch})
        all.push_back(text::formatUiText(key, bytes - 1, bytes - 1, 0xFF, 0x00, bytes));
    all.push_back(text::formatUiText(Msg::AutoProgramDoneBoth, bytes, 4096));
    all.push_back(text::formatUiText(Msg::SignatureShown, 0x1E, 0x95, 0x0F, chip));
    all.push_back(text::formatUiText(Msg::ErasedWithSignature, 0x1E, 0x95, 0x0F, chip));
    all.push_back(text::formatUiText(Msg::DataFlashDetected, chip));
    all.push_back(text::formatUiText(Msg::DataFlashDetectedAs, chip));
    all.push_back(text::formatUiText(Msg::SearchingOnPort, 12));
    all.push_back(text::formatUiText(Msg::ResetStrobe, 1000));
    return all;
}

class StatusLine : public MainWindowFixture {
protected:
    widgets::ElidedLabel* line() const {
        return byId<widgets::ElidedLabel>(app::shell::id::kStatusLine);
    }
};

}  // namespace

TEST_F(StatusLine, EveryStatusTextOfBothLanguagesIsShownWhole) {
    start();
    window->show();
    for (const auto language : {text::Language::English, text::Language::Russian}) {
        window->applyLanguage(language);
        for (const std::string& text : statusTexts()) {
            ASSERT_EQ(text.find('%'), std::string::npos) << text;
            window->setStatus(text);
            EXPECT_EQ(line()->shownText().toStdString(), text);
            EXPECT_TRUE(line()->toolTip().startsWith(QString::fromStdString(text)));
        }
    }
    window->applyLanguage(text::Language::English);
}

TEST_F(StatusLine, ALongPathLosesItsMiddleKeepsItsEndsAndIsWholeInTheTooltip) {
    start();
    window->show();
    const std::string path = "/home/someone/projects/" + std::string(200, 'x') + "/serial-0042.hex";
    const std::string text = text::formatUiText(Msg::SerialNumberSaved, path);
    window->setStatus(text);
    const QString shown = line()->shownText();
    EXPECT_TRUE(shown.startsWith("Serial number saved to /home"));
    EXPECT_TRUE(shown.endsWith("serial-0042.hex"));
    EXPECT_TRUE(shown.contains(QChar(0x2026)));
    EXPECT_LE(line()->fontMetrics().horizontalAdvance(shown), line()->contentsRect().width());
    EXPECT_EQ(line()->toolTip(),
              QString::fromStdString(text + "\n\nClick to open the project settings."));
    // The file fields keep the file name the same way.
    window->workspace().flash().create(16);
    ASSERT_TRUE(window->workspace().flash().saveAs(folder.file(std::string(120, 'd') + ".hex")));
    auto* field = byId<widgets::ElidedLabel>(app::shell::id::kFlashFileField);
    EXPECT_TRUE(field->shownText().endsWith(".hex"));
    EXPECT_EQ(field->toolTip(), field->text());
}
