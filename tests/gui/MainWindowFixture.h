#pragma once
// A main window started on a profile of its own in a scratch folder, with the
// person replaced: message boxes are recorded and answered OK, file dialogs
// answer from a script, beeps are counted and the Board Settings dialog
// answers as told (or is the real one, when a test drives it itself).

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>

#include "GuiTesting.h"
#include "app/shell/MainDialog.h"
#include "app/shell/MainWindowIds.h"
#include "app/widgets/Translation.h"
#include "support/ScratchFolder.h"
#include "text/LanguageFixture.h"

namespace zavuv::testing {

class MainWindowFixture : public text::testing::LanguageFixture {
protected:
    // A profile with a board on COM1, unless the test wrote its own.
    void writeProfile(const std::string& content) { folder.write("profile.ini", content); }

    void start(const app::shell::StartOptions& options = {}) {
        if (!std::filesystem::exists(folder.file("profile.ini")))
            writeProfile("[Connect]\nCOM=1\n");
        profile = std::make_unique<workspace::ProfileStore>(folder.file("profile.ini"));
        app::shell::MainDialogHooks hooks;
        hooks.showBox = [this](QWidget*, const app::widgets::MessageBoxRequest& request) {
            boxes.push_back(request.text.toStdString());
            if (!boxAnswers.empty()) {
                const QMessageBox::StandardButton answer = boxAnswers.front();
                boxAnswers.pop_front();
                return answer;
            }
            return request.defaultButton != QMessageBox::NoButton ? request.defaultButton
                                                                  : QMessageBox::Ok;
        };
        hooks.chooseFile = [this](QWidget*, const app::shell::FileRequest& request) {
            fileRequests.push_back(request);
            std::optional<std::string> answer;
            if (!fileAnswers.empty()) {
                answer = fileAnswers.front();
                fileAnswers.pop_front();
            }
            return answer;
        };
        if (!realBoardSettings) {
            hooks.boardSettings = [this](QWidget* owner, int comPort, int baudIndex,
                                         workspace::Preferences&) {
                boardSettingsShown.push_back({comPort, baudIndex});
                boardSettingsOwners.push_back(owner);
                return boardSettingsAnswer;
            };
        }
        hooks.advancedBoardSettings = [this](QWidget*, const link::BoardDelays& delays) {
            advancedShown.push_back(delays);
            return advancedAnswer;
        };
        hooks.beep = [this] { ++beeps; };
        window = std::make_unique<app::shell::MainDialog>(*profile, hooks);
        started = window->initDialog(options);
    }

    // A window started with COM1 as the simulated board.
    void startSimulated(const std::string& project = {}) {
        app::shell::StartOptions options;
        options.simulate = true;
        options.commandLine.projectPath = project;
        start(options);
    }

    // Destroys the window (its exit sequence runs) and reads the profile anew.
    workspace::ProfileStore closeAndReadProfile() {
        window.reset();
        return workspace::ProfileStore(folder.file("profile.ini"));
    }

    template <typename T = QWidget> T* byId(int id) const { return control<T>(*window, id); }
    QString status() const { return byId<QLabel>(app::shell::id::kStatusLine)->text(); }
    QAction* menuItem(int id) const { return app::widgets::findMenuCommand(window->menu(), id); }
    // A button or check box of the window, else the menu item with that id.
    void click(int id) const {
        if (auto* button = byId<QAbstractButton>(id))
            QTest::mouseClick(button, Qt::LeftButton);
        else
            menuItem(id)->trigger();
    }
    void chooseFamily(int family) const { byId<QComboBox>(1005)->setCurrentIndex(family); }
    std::string title() const { return window->windowTitle().toStdString(); }

    // A project file naming a device, an SCK period and a Flash file.
    std::string writeProject(const std::string& name, int deviceNo, int spiPeriod,
                             const std::string& flashFile = "[Unspecified]") const {
        return folder.write(
            name, "[Files]\nFlash=" + flashFile +
                      "\nEeprom=[Unspecified]\n[Settings]\nSPIPeriod=" + std::to_string(spiPeriod) +
                      "\n[Device]\nDeviceNo=" + std::to_string(deviceNo) + "\n");
    }

    ScratchFolder folder;
    std::unique_ptr<workspace::ProfileStore> profile;
    std::unique_ptr<app::shell::MainDialog> window;
    bool started = false;

    std::vector<std::string> boxes;
    // Answers for the next boxes, in order; then each box's default button.
    std::deque<QMessageBox::StandardButton> boxAnswers;
    std::deque<std::optional<std::string>> fileAnswers;
    std::vector<app::shell::FileRequest> fileRequests;
    std::vector<app::dialogs::BoardChoice> boardSettingsShown;
    std::optional<app::dialogs::BoardChoice> boardSettingsAnswer;
    std::vector<QWidget*> boardSettingsOwners;
    bool realBoardSettings = false;
    std::vector<link::BoardDelays> advancedShown;
    std::optional<link::BoardDelays> advancedAnswer;
    int beeps = 0;
};

}  // namespace zavuv::testing
