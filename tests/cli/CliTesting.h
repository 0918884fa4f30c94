#pragma once
// Runs zavuv-cli with a profile of its own, so no test sees the user's.

#include <string>
#include <vector>

#include "support/RunProgram.h"
#include "support/ScratchFolder.h"

namespace zavuv::testing {

class CliRun {
public:
    ProgramResult operator()(const std::vector<std::string>& arguments) const {
        return runProgram(ZAVUV_CLI_PATH, arguments, {"ZAVUV_PROFILE=" + profile_});
    }
    // A run that goes on beside others; collectProgram ends it.
    StartedProgram start(const std::vector<std::string>& arguments) const {
        return startProgram(ZAVUV_CLI_PATH, arguments, {"ZAVUV_PROFILE=" + profile_});
    }
    const ScratchFolder& folder() const { return folder_; }

private:
    ScratchFolder folder_;
    std::string profile_ = folder_.file("profile.ini");
};

}  // namespace zavuv::testing
