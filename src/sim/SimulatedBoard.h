#pragma once
// One simulated programmer with its target chip, put together from the --sim-*
// options: the chip's state (fresh, or from the state directory), the chip
// model, the board's firmware, the line with its faults, and the wire trace.
// stop() writes the state back; so does destruction, if stop() was not called.

#include <memory>
#include <string>
#include <vector>

#include "link/InProcessBoard.h"
#include "sim/Board.h"
#include "sim/BoardLine.h"
#include "sim/ChipImage.h"
#include "sim/ChipSocket.h"
#include "sim/FaultPlan.h"
#include "sim/WireTrace.h"

namespace zavuv::sim {

struct SimOptions {
    std::string chip;                 // --sim-chip; empty: the state directory's chip, else ATmega8
    std::string stateDir;             // --sim-state; empty: nothing kept
    std::string traceFile;            // --sim-trace; empty: no file
    std::vector<std::string> faults;  // --sim-fault, each one fault
    bool traceInMemory = false;       // keep the trace lines for tests
    LineTiming timing;
};

class SimulatedBoard final : public link::InProcessBoard {
public:
    static constexpr const char* kDefaultChip = "ATmega8";

    // The board, or nothing with the reason in `error` (unknown chip, bad fault, unusable state
    // directory, trace file that cannot be opened).
    static std::unique_ptr<SimulatedBoard> create(const SimOptions& options, std::string& error);
    ~SimulatedBoard() override;
    SimulatedBoard(const SimulatedBoard&) = delete;
    SimulatedBoard& operator=(const SimulatedBoard&) = delete;

    BoardLine& line() { return *line_; }
    Board& board() { return *board_; }
    ChipImage& chip() { return image_; }
    WireTrace& trace() { return trace_; }

    std::unique_ptr<link::SerialPort> openPort(base::VirtualClock& clock) override;
    // Ends the trace and writes the state back. Empty on success, else the
    // message to show. Later calls do nothing.
    std::string stop() override;

private:
    SimulatedBoard(ChipImage image, const SimOptions& options, FaultPlan faults);

    ChipImage image_;
    std::string stateDir_;
    WireTrace trace_;
    std::unique_ptr<ChipSocket> socket_;
    std::unique_ptr<BoardLine> line_;
    std::unique_ptr<Board> board_;
    bool stopped_ = false;
};

// The maker the program hands its ports for the name "sim".
link::InProcessBoardMaker simulatorMaker(SimOptions options);

}  // namespace zavuv::sim
