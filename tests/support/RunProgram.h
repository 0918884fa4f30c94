#pragma once
// Runs a program to its end and collects what it printed; or starts several
// that run at the same time and collects each one afterwards.

#include <cstdint>
#include <string>
#include <vector>

namespace zavuv::testing {

struct ProgramResult {
    int exitCode = -1;  // -1 when it did not exit normally
    std::string out;
    std::string err;
};

// A program started and not yet collected.
struct StartedProgram {
    std::intptr_t pid = -1;    // POSIX: the process id; Windows: the process handle
    std::intptr_t outFd = -1;  // the reading ends of its output pipes
    std::intptr_t errFd = -1;
};

// Standard input is empty (closed), as for a script or CI. What the program
// prints is taken as text: Windows line ends become Unix ones. `environment`
// entries "NAME=value" are added to this process's environment.
StartedProgram startProgram(const std::string& program, const std::vector<std::string>& arguments,
                            const std::vector<std::string>& environment = {});
// Reads what it prints until it ends.
ProgramResult collectProgram(const StartedProgram& started);

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment = {});

}  // namespace zavuv::testing
