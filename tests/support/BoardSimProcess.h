#pragma once
// zavuv-boardsim in a child process, serving a simulated board on a
// pseudo-terminal. It stops when this object goes: its standard input is a pipe
// that closes then.

#include <string>
#include <vector>

#include <sys/types.h>

namespace zavuv::testing {

class BoardSimProcess {
public:
    BoardSimProcess(const std::string& program, std::vector<std::string> arguments);
    ~BoardSimProcess();
    BoardSimProcess(const BoardSimProcess&) = delete;
    BoardSimProcess& operator=(const BoardSimProcess&) = delete;

    // The pseudo-terminal the board listens on; empty when it did not start.
    const std::string& devicePath() const { return devicePath_; }

    // Sends SIGTERM, waits, and returns the exit status (-1 when it did not exit).
    int terminate();

private:
    pid_t pid_ = -1;
    int stdout_ = -1;
    int stdin_ = -1;
    std::string devicePath_;
};

}  // namespace zavuv::testing
