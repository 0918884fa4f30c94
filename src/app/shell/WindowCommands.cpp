#include "app/shell/WindowCommands.h"

#include <QCheckBox>

#include "app/dialogs/AboutDialog.h"
#include "app/dialogs/LanguageDialog.h"
#include "app/dialogs/ProjectSettingsDialog.h"
#include "app/shell/DeviceLists.h"
#include "app/shell/MainDialog.h"
#include "app/shell/MainWindowIds.h"
#include "app/shell/SaveQuestions.h"
#include "app/widgets/HelpCommand.h"

namespace zavuv::app::shell {

namespace {

bool isChecked(const MainDialog& window, int id) {
    return window.clientArea()->findChild<QCheckBox*>(QString::number(id))->isChecked();
}

void flashInvert(MainDialog& window) {
    auto& project = window.workspace().project();
    project.flashInvert = isChecked(window, id::kFlashInvert);
    project.setDirty();
    window.flashPreview()->setSwapBytes(project.flashInvert);
}

void eepromIncrement(MainDialog& window) {
    auto& project = window.workspace().project();
    project.setDirty();
    project.autoIncrement = isChecked(window, id::kEepromIncrement);
}

// The profile's values, as another program may have changed them meanwhile;
// OK writes the choice at once.
void boardSettings(MainDialog& window) {
    auto& ws = window.workspace();
    ws.readPreferences();
    // The dialog's device mapping and the choice reach the profile in one write.
    const workspace::ProfileStore::ChangeSet writes(ws.preferences().profile());
    const auto choice =
        window.hooks().boardSettings(&window, ws.comPort(), ws.baudIndex, ws.preferences());
    if (!choice)
        return;
    window.takeBoardChoice(*choice);
    ws.preferences().setComPort(choice->comPort);
    ws.preferences().setBaudIndex(choice->baudIndex);
}

void advancedBoardSettings(MainDialog& window) {
    auto& ws = window.workspace();
    ws.boardDelays = ws.preferences().boardDelays();
    const auto delays = window.hooks().advancedBoardSettings(&window, ws.boardDelays);
    if (!delays)
        return;
    ws.boardDelays = *delays;
    ws.preferences().setBoardDelays(*delays);
}

// Written at once, so that a program that is killed still starts in it.
void chooseLanguage(MainDialog& window) {
    const auto language = dialogs::runLanguageDialog(&window, text::language());
    if (!language)
        return;
    window.applyLanguage(*language);
    window.workspace().preferences().setLanguage(*language);
}

// After OK the window shows what the dialog chose: the "Inc" box, the
// device and the SCK period.
void projectSettings(MainDialog& window) {
    auto& ws = window.workspace();
    const auto device = dialogs::runProjectSettingsDialog(&window, ws);
    if (!device)
        return;
    window.projectOptionsChanged();
    ws.project().setDirty();
    window.deviceLists().SelectDevice(*device);
    window.deviceLists().SelectSckPeriod(ws.project().spiPeriod);
    window.deviceLists().OnDeviceChanged();
}

}  // namespace

void addWindowCommands(MainDialog& window) {
    CommandTable& table = window.commands();
    DeviceLists& lists = window.deviceLists();
    table.add(id::kExit, [&window] {
        if (offerToSaveWork(window))
            window.exitProgram();
    });
    table.add(id::kBoardSettings, [&window] { boardSettings(window); });
    table.add(id::kFlashInvert, [&window] { flashInvert(window); });
    table.add(id::kEepromIncrement, [&window] { eepromIncrement(window); });
    table.add(
        id::kFamilyList, [&lists] { lists.OnFamilyChanged(); }, Notification::SelectionChanged);
    table.add(
        id::kDeviceList, [&lists] { lists.OnDeviceChanged(); }, Notification::SelectionChanged);
    table.add(
        id::kSckList, [&lists] { lists.OnSckChanged(); }, Notification::SelectionChanged);
    // Accepted and left alone.
    table.add(id::kQuietCommand, [] {});
    table.add(id::kOtherQuietCommand, [] {});
    table.add(id::kProjectSettings, [&window] { projectSettings(window); });
    table.add(id::kStatusLine, [&window] { projectSettings(window); });
    table.add(id::kAdvancedBoardSettings, [&window] { advancedBoardSettings(window); });
    table.add(id::kSelectLanguage, [&window] { chooseLanguage(window); });
    table.add(id::kHelp, [&window] { widgets::openHelp(&window); });
    table.add(id::kAbout, [&window] { dialogs::runAboutDialog(&window); });
}

}  // namespace zavuv::app::shell
