#pragma once
// The project settings dialog (138): the project's device, programming
// options, SCK period, reset strobe, auto-program steps with their lock and
// fuse bits, serial-number auto-increment and delay overrides. The project is
// written only by OK.

#include <array>
#include <optional>

#include <QDialog>

#include "base/UserPort.h"
#include "buffers/ProjectDelays.h"
#include "buffers/ProjectSettings.h"
#include "devices/LockFuseChip.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace zavuv::workspace {
class Workspace;
}

namespace zavuv::app::dialogs {

// The lengths the reset strobe slider offers, by position.
inline constexpr std::array<int, 7> kResetStrobeLengths = {20, 50, 100, 150, 300, 500, 1000};
static_assert(kResetStrobeLengths.front() == buffers::kResetStrobeRange.min &&
              kResetStrobeLengths.back() == buffers::kResetStrobeRange.max);

// The slider position of a length: the first at least as long, else the longest.
int resetStrobePosition(int lengthMs);

class ProjectSettingsDialog final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kDialogId = 138;

    // Opening snaps the project's reset strobe length to the slider at once.
    // `chip` serves the lock/fuse dialog that "Configure..." opens.
    ProjectSettingsDialog(QWidget* parent, buffers::ProjectSettings& settings, base::UserPort& port,
                          devices::LockFuseChip chip);

    // The device chosen in the combo box; set by OK.
    int selectedDevice() const { return selectedDevice_; }
    const devices::LockFuseState& lockFuseCopy() const { return lockFuseCopy_; }

public slots:
    // OK: refuses a value outside its limits with a message; otherwise writes
    // every field into the project and closes.
    void accept() override;

private:
    void buildControls();
    void fillControls();
    void updateEnabling();
    void showStrobeLength(int position);
    void autoprogramClicked(bool checked);
    // Opens the lock/fuse dialog in auto-program mode on lockFuseCopy; true
    // when the person saved the bits there.
    bool configureLockFuse();
    // The first delay that cannot be taken is reported and focused: false.
    bool delaysValid();
    void writeSettings();

    QCheckBox* box(int id) const;
    QLineEdit* edit(int id) const;

    buffers::ProjectSettings& settings_;
    base::UserPort& port_;
    devices::LockFuseChip chip_;
    devices::LockFuseState lockFuseCopy_;
    // lockFuseCopy may lock the chip out and the person said Yes to that.
    bool allowLockout_ = false;
    int selectedDevice_ = -1;

    QComboBox* devices_ = nullptr;
    QComboBox* sckPeriods_ = nullptr;
    QSlider* strobe_ = nullptr;
    QLabel* strobeText_ = nullptr;
    QPushButton* configure_ = nullptr;
};

// Runs the dialog: the device chosen when the person pressed OK, nothing on Cancel.
std::optional<int> runProjectSettingsDialog(QWidget* parent, buffers::ProjectSettings& settings,
                                            base::UserPort& port,
                                            const devices::LockFuseChip& chip);

// The main window's Project Settings command on the workspace's project, with
// its board behind the lock/fuse dialog. After OK the caller marks the project
// modified and selects the returned device and the project's SCK period.
std::optional<int> runProjectSettingsDialog(QWidget* parent, workspace::Workspace& ws);

}  // namespace zavuv::app::dialogs
