#pragma once
// Runs a program to its end and collects what it printed.

#include <string>
#include <vector>

namespace zavuv::testing {

struct ProgramResult {
    int exitCode = -1;  // -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Standard input is empty (closed), as for a script or CI. `environment`
// entries "NAME=value" are added to this process's environment.
ProgramResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment = {});

}  // namespace zavuv::testing
