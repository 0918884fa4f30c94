#pragma once
// The lock/fuse dialog (140): one LockFuseState of one device as four lock
// mode radios, up to 24 fuse toggle buttons (pressed = programmed) and four
// boot lock boxes. In chip mode the person reads, verifies, programs and
// erases the chip; in auto-program mode the bits are prepared for the
// project and handed back by "Close and save settings".

#include <array>
#include <optional>

#include <QDialog>

#include "base/UserPort.h"
#include "devices/DeviceTable.h"
#include "devices/LockFuseChip.h"
#include "devices/LockFuseLayout.h"
#include "devices/LockModeName.h"

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace zavuv::workspace {
class Workspace;
}

namespace zavuv::app::dialogs {

inline constexpr int kFuseButtonCount = 24;

// The device's layout, or a layout without any bit for a device that has none,
// so that such a device shows every control as unused instead of failing.
const devices::LockFuseLayout& shownLayout(int deviceIndex);

class LockFuseDialog final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kDialogId = 140;
    // The result of "Close and save settings": the caller takes workingState().
    static constexpr int kCloseAndSave = 1160;

    // Opens in chip mode, filled from `initial`. `port` asks the lock-out
    // question (Yes/No, No by default) and shows the verify report.
    LockFuseDialog(QWidget* parent, int deviceIndex, const devices::LockFuseState& initial,
                   base::UserPort& port, devices::LockFuseChip chip);

    // Call before running the dialog.
    void setAutoProgramMode(bool autoProgram);
    // Chip mode: the controls show these bits (a file's) for programming,
    // while the chip's bits stay what they are compared with.
    void proposeBits(const devices::LockFuseState& bits);
    bool autoProgramMode() const { return autoProgramMode_; }

    const devices::LockFuseState& shownState() const { return shownState_; }
    const devices::LockFuseState& workingState() const { return workingState_; }

public slots:
    // Enter: the controls are taken after the safety question; closes with the
    // ordinary result, which callers treat as closing without saving.
    void accept() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void applyModeTexts();
    void fillControls() { fillControls(shownState_); }
    void fillControls(const devices::LockFuseState& bits);
    devices::LockFuseState collectControls() const;
    // What the new bits are compared with before they are programmed or
    // saved: the chip's bits where they were read, its factory settings otherwise.
    devices::LockFuseState currentBits() const;
    // Takes the controls into workingState once the person has accepted any
    // safety warning; false keeps the dialog as it is.
    bool validate();

    void programChip();
    void readChip();
    void verifyChip();
    void eraseChip();
    void closeAndSave();

    int deviceIndex_;
    devices::LockModeTexts lockModeTexts_;
    const devices::LockFuseLayout& layout_;
    base::UserPort& port_;
    devices::LockFuseChip chip_;
    devices::LockFuseState shownState_;
    devices::LockFuseState workingState_;
    bool autoProgramMode_ = false;

    std::array<QRadioButton*, 4> lockModes_{};
    std::array<QPushButton*, kFuseButtonCount> fuses_{};
    std::array<QCheckBox*, devices::kBootLockBits> bootLocks_{};
    QPushButton* programButton_ = nullptr;
    QPushButton* readButton_ = nullptr;
    QPushButton* verifyButton_ = nullptr;
    QPushButton* eraseButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
};

// The chip operations on the workspace's board: read and program the project
// device's bits, and the chip-erase command, which succeeded when it left the
// operation status at 0.
devices::LockFuseChip boardLockFuseChip(workspace::Workspace& ws);

// The main window's Lock/Fuse command, once it has read `chipState` from the
// chip: the dialog in chip mode for the selected device, on the workspace's board.
// When the project's bits came from a file (an ELF file's .fuse and .lock),
// the dialog shows those, ready to program, and says so on the status line.
void runLockFuseDialog(QWidget* parent, workspace::Workspace& ws,
                       const devices::LockFuseState& chipState);

// The dialog in auto-program mode on `state`: the edited bits when the person
// closed with "Close and save settings", nothing otherwise.
std::optional<devices::LockFuseState> editAutoProgramLockFuse(QWidget* parent, int deviceIndex,
                                                              const devices::LockFuseState& state,
                                                              base::UserPort& port,
                                                              const devices::LockFuseChip& chip);

}  // namespace zavuv::app::dialogs
