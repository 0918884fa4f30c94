#pragma once
// A workspace whose COM1 is the simulated board, in virtual time, with a
// recording user port and a profile of its own: the stage of every end-to-end
// test of a chip operation.

#include <string>
#include <vector>

#include "devices/DeviceTable.h"
#include "sim/SimulatedBoard.h"
#include "support/RecordingUserPort.h"
#include "support/ScratchFolder.h"
#include "workspace/Workspace.h"

namespace zavuv::testing {

class SimulatedWorkspace {
public:
    // `chip` is both the simulated chip and the device chosen in the lists and
    // the project, unless `selected` names another device for the lists.
    explicit SimulatedWorkspace(const std::string& chip, std::vector<std::string> faults = {},
                                const std::string& selected = {});
    ~SimulatedWorkspace();

    workspace::Workspace& ws() { return ws_; }
    RecordingUserPort& user() { return user_; }
    const ScratchFolder& folder() const { return folder_; }
    sim::SimulatedBoard& board();
    // The wire trace lines so far ("<ms> > 25" ...).
    std::vector<std::string> trace();
    // Every pause the link took, in order.
    std::vector<int> pauses();
    // True when the board is back at 19200 baud with no session open.
    bool boardIdle();

private:
    ScratchFolder folder_;
    RecordingUserPort user_;
    workspace::ProfileStore profile_;
    workspace::Workspace ws_;
};

int deviceIndexOf(const std::string& name);

}  // namespace zavuv::testing
