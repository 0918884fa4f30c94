// zavuv-boardsim: a simulated programmer board on a pseudo-terminal. The first
// line of standard output is the device path to open; the board runs until
// SIGINT or SIGTERM (or, on request, until standard input closes) and then
// writes its chip's state back.

#include <csignal>
#include <cstdio>
#include <iostream>

#include <fcntl.h>
#include <unistd.h>

#include <CLI/CLI.hpp>

#include "base/SystemClock.h"
#include "sim/SimulatedBoard.h"
#include "sim/boardsim/PtyServer.h"

namespace {

int stopPipe[2] = {-1, -1};

extern "C" void requestStop(int) {
    const char byte = 0;
    [[maybe_unused]] const ssize_t ignored = ::write(stopPipe[1], &byte, 1);
}

bool installStopHandlers() {
    if (pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return false;
    }
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    std::signal(SIGPIPE, SIG_IGN);
    return sigaction(SIGINT, &action, nullptr) == 0 && sigaction(SIGTERM, &action, nullptr) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace zavuv::sim;
    CLI::App app{"Simulated programmer board on a pseudo-terminal", "zavuv-boardsim"};
    SimOptions options;
    int latencyMs = 0;
    bool exitOnStdinClose = false;
    app.add_option("--sim-chip", options.chip, "target chip, by its device table name or an alias")
        ->default_str(SimulatedBoard::kDefaultChip);
    app.add_option("--sim-state", options.stateDir,
                   "directory that keeps the chip (chip.ini, flash.bin, eeprom.bin)");
    app.add_option("--sim-trace", options.traceFile, "file for the wire trace");
    app.add_option("--sim-fault", options.faults,
                   "fault: silent-after=N, garbage-after=N, hangup-after=N, swap-chip-after=N, "
                   "no-firmware, version=XYZ, locked, polling-fail (repeatable)")
        ->take_all();
    app.add_flag("--line-rate", options.timing.lineRate,
                 "pace the bytes at the line's baud rate, ten bits per byte");
    app.add_option("--sim-latency", latencyMs, "reply latency of a USB adapter, in ms")
        ->check(CLI::Range(0, 10000));
    app.add_flag("--exit-on-stdin-close", exitOnStdinClose, "stop when standard input closes");
    CLI11_PARSE(app, argc, argv);
    options.timing.latencyUs = std::int64_t{latencyMs} * 1000;

    std::string error;
    const auto board = SimulatedBoard::create(options, error);
    if (!board) {
        std::cerr << "zavuv-boardsim: " << error << '\n';
        return 2;
    }
    const auto server = boardsim::PtyServer::open(error);
    if (!server) {
        std::cerr << "zavuv-boardsim: " << error << '\n';
        return 1;
    }
    if (!installStopHandlers()) {
        std::cerr << "zavuv-boardsim: cannot install the signal handlers\n";
        return 1;
    }
    std::cout << server->devicePath() << std::endl;

    const zavuv::base::SystemClock clock;
    const boardsim::ServeEnd end =
        server->serve(*board, clock, stopPipe[0], exitOnStdinClose ? STDIN_FILENO : -1);
    if (end == boardsim::ServeEnd::HungUp) {
        std::cerr << "zavuv-boardsim: the line hung up (fault hangup-after)\n";
    }
    for (const std::string& violation : board->board().protocolViolations()) {
        std::cerr << "zavuv-boardsim: protocol violation: " << violation << '\n';
    }
    error = board->stop();
    if (!error.empty()) {
        std::cerr << "zavuv-boardsim: " << error << '\n';
        return 1;
    }
    return end == boardsim::ServeEnd::Failed ? 1 : 0;
}
