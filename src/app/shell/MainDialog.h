#pragma once
// The main window (dialog 102): the Flash and EEPROM panes with their file
// names, buttons and hex previews, the device box with the operation buttons,
// the SCK period list, the status line and menu 131. It owns the workspace and
// routes every command through one table; the handlers live with their
// commands (ProjectCommands, BufferFileCommands, ChipOperationCommands,
// WindowCommands).

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <QApplication>

#include "app/dialogs/AdvancedBoardSettingsDialog.h"
#include "app/dialogs/BoardSettingsDialog.h"
#include "app/shell/CommandTable.h"
#include "app/shell/FileChooser.h"
#include "app/shell/QtUserPort.h"
#include "app/shell/StartOptions.h"
#include "app/widgets/BufferPreview.h"
#include "app/widgets/MessageBox.h"
#include "app/widgets/QtTranslation.h"
#include "app/widgets/ResizableDialog.h"
#include "workspace/RecentProjects.h"
#include "workspace/Workspace.h"

class QMenuBar;

namespace zavuv::app::widgets {
class ElidedLabel;
class ProgressWindow;
}  // namespace zavuv::app::widgets

namespace zavuv::app::shell {

class DeviceLists;

// Where the main window meets the person outside its own controls; tests
// replace them so that nothing waits for a person.
struct MainDialogHooks {
    widgets::MessageBoxShower showBox = widgets::execMessageBox;
    FileChooser chooseFile = execFileDialog;
    std::function<std::optional<dialogs::BoardChoice>(QWidget*, int comPort, int baudIndex,
                                                      workspace::Preferences&)>
        boardSettings = dialogs::runBoardSettingsDialog;
    std::function<std::optional<link::BoardDelays>(QWidget*, const link::BoardDelays&)>
        advancedBoardSettings = dialogs::runAdvancedBoardSettingsDialog;
    std::function<void()> beep = QApplication::beep;
    // Nobody is there (ZAVUV_ANSWER_BOXES=1): no dialog but message boxes.
    bool unattended = false;
};

class MainDialog final : public widgets::ResizableDialog,
                         public buffers::ProjectObserver,
                         public buffers::BufferObserver {
    Q_OBJECT

public:
    static constexpr int kDialogId = 102;

    MainDialog(workspace::ProfileStore& profile, MainDialogHooks hooks = {});
    // Writes the preferences and the recent projects back.
    ~MainDialog() override;

    // The start-up sequence. False when the command line ran the automatic
    // sequence: the window is then never shown, and autoprogramOk() tells how
    // it went.
    bool initDialog(const StartOptions& options);
    bool autoprogramOk() const { return ws_.results.autoprogramOk; }

    workspace::Workspace& workspace() { return ws_; }
    workspace::RecentProjects& recentProjects() { return recent_; }
    DeviceLists& deviceLists() { return *deviceLists_; }
    CommandTable& commands() { return commands_; }
    const MainDialogHooks& hooks() const { return hooks_; }
    QMenuBar* menu() const { return menuBar_; }
    widgets::BufferPreview* flashPreview() const { return flashPreview_; }
    widgets::BufferPreview* eepromPreview() const { return eepromPreview_; }
    // The area below the menu, in which the controls stand.
    QWidget* clientArea() const { return client_; }

    void setStatus(const std::string& text) { ws_.user().setStatus(text); }
    std::optional<std::string> chooseFile(const FileRequest& request);

    // Title and command states.
    void UpdateControls();
    // Puts the path at the front of the recent projects and rebuilds the menu.
    void AddRecentProject(const std::string& path);
    // Shows the project's device and SCK period in the lists.
    void showProjectSelection();
    // A new UI language: the window and its menu are translated again.
    void applyLanguage(text::Language language);
    // The simulated board, when this run uses it, carries the chip chosen in
    // the lists at its first use.
    void prepareSimulatedBoard();
    // Closes the window; the program ends.
    void exitProgram();
    // The board's COM port and baud rate as the person chose them; the
    // profile keeps the port from now on.
    void takeBoardChoice(const dialogs::BoardChoice& choice);

    // ProjectObserver
    void projectTitleChanged() override { UpdateControls(); }
    void projectOptionsChanged() override;
    // BufferObserver, for both buffers
    void captionChanged(const buffers::MemoryBuffer& buffer) override;
    void refreshControls() override { UpdateControls(); }

public slots:
    // Enter and Escape do nothing; the window closes only through Exit and
    // the system's Close.
    void accept() override {}
    void reject() override {}

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    // The start-up without the automatic run; true when that run is due.
    bool setUpWindow(const StartOptions& options);
    void BuildMenu();
    void createPreviews();
    void placePreviews();
    void connectControls();
    bool onDialogSurface(const QPoint& clientPoint) const;

    workspace::ProfileStore& profile_;
    MainDialogHooks hooks_;
    QtUserPort user_;
    workspace::Workspace ws_;
    workspace::RecentProjects recent_;
    CommandTable commands_;

    QWidget* client_ = nullptr;
    QMenuBar* menuBar_ = nullptr;
    widgets::ElidedLabel* status_ = nullptr;
    widgets::ProgressWindow* progress_ = nullptr;
    widgets::QtTranslation qtTranslation_;
    std::unique_ptr<DeviceLists> deviceLists_;
    widgets::BufferPreview* flashPreview_ = nullptr;
    widgets::BufferPreview* eepromPreview_ = nullptr;

    bool started_ = false;  // initDialog ran: the exit sequence is due
    bool simulate_ = false;
    // The profile's COM port; what is written back while COM1 is simulated.
    int profileComPort_ = 0;
};

}  // namespace zavuv::app::shell
