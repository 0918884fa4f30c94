#pragma once
// Serves a simulated board on a pseudo-terminal, so that any program can open
// the slave device like a serial port. The host's baud rate is read from the
// terminal settings it made; the board's replies go out when their time comes.

#include <memory>
#include <string>
#include <vector>

#include "base/Clock.h"
#include "sim/SimulatedBoard.h"

namespace zavuv::sim::boardsim {

enum class ServeEnd { Stopped, InputClosed, HungUp, Failed };

class PtyServer {
public:
    // The pseudo-terminal pair, or nothing with the reason in `error`.
    static std::unique_ptr<PtyServer> open(std::string& error);
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // The device path the host opens.
    const std::string& devicePath() const { return devicePath_; }

    // Runs until stopFd becomes readable, watchFd (when not -1) reaches its end,
    // or the board's line hangs up (the pseudo-terminal is then closed).
    ServeEnd serve(SimulatedBoard& board, const base::Clock& clock, int stopFd, int watchFd);

private:
    PtyServer(int master, std::string devicePath)
        : master_(master), devicePath_(std::move(devicePath)) {}

    int hostBaudRate() const;
    void sendDueReplies(BoardLine& line, std::int64_t nowUs);

    int master_;
    std::string devicePath_;
    std::vector<std::uint8_t> unsent_;  // replies the terminal had no room for yet
};

}  // namespace zavuv::sim::boardsim
