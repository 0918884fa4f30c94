#pragma once
// The program's state in one object, owned once by the desktop window and once
// by the command line: preferences, the two memory buffers, the project, the
// device chosen in the lists, the results the operations leave behind, and the
// board link with its clock and ports.

#include <array>

#include "base/Progress.h"
#include "base/UserPort.h"
#include "buffers/MemoryBuffer.h"
#include "buffers/ProjectSettings.h"
#include "devices/DeviceTable.h"
#include "link/BoardConnection.h"
#include "link/BoardDelays.h"
#include "link/ProgrammerLink.h"
#include "link/SerialChannel.h"
#include "workspace/BoardPorts.h"
#include "workspace/InlineProgressRunner.h"
#include "workspace/LinkClock.h"
#include "workspace/Preferences.h"
#include "workspace/ProfileStore.h"

namespace zavuv::workspace {

// How the last operation ended, for the next one and for auto-program.
enum class OperationStatus {
    Failed,  // failed, cancelled, or not known
    Succeeded,
    OtherChip,  // the signature read is another chip's, or no known chip's
    NotBlank,   // a blank check found a programmed byte
    Locked,     // the chip answered with the signature of a locked chip
};

// What the operations leave behind for the next one and for auto-program.
struct OperationResults {
    OperationStatus lastOperationStatus = OperationStatus::Failed;
    int firstMismatch = -1;  // offset of the first differing byte of the last verify
    bool flashVerified = false;
    bool eepromVerified = false;
    bool autoprogramOk = false;
    std::array<int, 3> signature{0xFF, 0xFF, 0xFF};  // the last signature read
};

// What the window does when the core changes the device selection (the lists
// follow a chip whose signature was read).
class SelectionObserver {
public:
    virtual ~SelectionObserver() = default;
    virtual void selectedDeviceChanged(int deviceIndex) = 0;
};

class Workspace {
public:
    Workspace(base::UserPort& user, ProfileStore& profile);
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    base::UserPort& user() { return user_; }
    // Where long work (erase of a DataFlash, memory operations, firmware upload)
    // runs: the GUI's progress window, the terminal, or inline and silent until
    // one is set.
    base::ProgressRunner& progressRunner() { return *progressRunner_; }
    void setProgressRunner(base::ProgressRunner& runner) { progressRunner_ = &runner; }
    Preferences& preferences() { return preferences_; }

    // Start-up values from the profile: COM port, baud index, board delays.
    void readPreferences();

    // The board's COM port 1..12; 0 = no board chosen. The link keeps it, since
    // the board search changes it.
    int comPort() const { return connection_.state().selectedPort; }
    void setComPort(int port) { connection_.state().selectedPort = port; }
    int baudIndex = 0;  // 0 = 19200, 1 = 115200, 2 = 921600
    link::BoardDelays boardDelays;
    OperationResults results;
    // Nobody watches the run (the command line, an automatic auto-program):
    // serial numbers are reserved in their files before chips are programmed.
    bool unattended = false;
    // Set by the command line: every program, read and verify first checks the
    // chip's signature, whatever the project's CheckSign says.
    bool signatureBeforeMemoryCommands = false;

    buffers::MemoryBuffer& flash() { return flash_; }
    buffers::MemoryBuffer& eeprom() { return eeprom_; }
    buffers::ProjectSettings& project() { return project_; }
    const buffers::MemoryBuffer& flash() const { return flash_; }
    const buffers::MemoryBuffer& eeprom() const { return eeprom_; }
    const buffers::ProjectSettings& project() const { return project_; }

    // The device chosen in the family and device lists.
    int selectedDevice() const { return selectedDevice_; }
    const devices::DeviceInfo& selectedDeviceInfo() const;
    // The project's device: falls back to the selection when the number is not in the table.
    const devices::DeviceInfo& projectDeviceInfo() const;
    // Shows a device in the lists (the project keeps its own number).
    void selectDevice(int deviceIndex);
    // The user chose a device in the lists: it becomes the project's device,
    // and the project is modified when that changed it.
    void deviceChosen(int deviceIndex);
    void setSelectionObserver(SelectionObserver* observer) { selectionObserver_ = observer; }

    LinkClock& clock() { return clock_; }
    BoardPorts& ports() { return ports_; }
    link::SerialChannel& channel() { return channel_; }
    link::ProgrammerLink& link() { return link_; }
    link::BoardConnection& connection() { return connection_; }
    // The connect options of the project and the device lists.
    link::TargetOptions targetOptions() const;

private:
    base::UserPort& user_;
    base::SilentProgressDisplay silentProgress_;
    workspace::InlineProgressRunner inlineRunner_{silentProgress_};
    base::ProgressRunner* progressRunner_ = &inlineRunner_;
    Preferences preferences_;
    buffers::MemoryBuffer flash_;
    buffers::MemoryBuffer eeprom_;
    buffers::ProjectSettings project_;
    int selectedDevice_;
    SelectionObserver* selectionObserver_ = nullptr;
    LinkClock clock_;
    BoardPorts ports_;
    link::SerialChannel channel_;
    link::ProgrammerLink link_;
    link::BoardConnection connection_;
};

}  // namespace zavuv::workspace
