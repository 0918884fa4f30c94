#include "sim/SimulatedBoard.h"

#include <fmt/format.h>

#include "base/Utf8Path.h"
#include "sim/ChipNames.h"
#include "sim/SimulatedPort.h"
#include "sim/StateDirectory.h"

namespace zavuv::sim {

namespace {

// The chip to simulate: the state directory's, which --sim-chip must then agree
// with, or a fresh one of the --sim-chip name.
std::optional<ChipImage> chooseImage(const SimOptions& options, std::string& error) {
    std::optional<ChipChoice> named;
    if (!options.chip.empty()) {
        named = findChip(options.chip);
        if (!named) {
            error = fmt::format("unknown chip '{}' for --sim-chip; 'zavuv-cli devices' lists the "
                                "chips",
                                options.chip);
            return std::nullopt;
        }
    }
    if (!options.stateDir.empty()) {
        LoadedState state = loadChipState(base::utf8Path(options.stateDir));
        if (!state.error.empty()) {
            error = state.error;
            return std::nullopt;
        }
        if (state.image) {
            if (named && named->deviceIndex != state.image->deviceIndex) {
                error = fmt::format("the state directory {} holds an {}, not the {} of --sim-chip",
                                    options.stateDir, state.image->device().name,
                                    devices::DeviceTable::at(named->deviceIndex).name);
                return std::nullopt;
            }
            return state.image;
        }
    }
    const ChipChoice choice = named.value_or(*findChip(SimulatedBoard::kDefaultChip));
    ChipImage image = ChipImage::fresh(choice.deviceIndex);
    image.signature = choice.signature;
    return image;
}

}  // namespace

std::unique_ptr<SimulatedBoard> SimulatedBoard::create(const SimOptions& options,
                                                       std::string& error) {
    FaultPlan faults;
    error = parseFaults(faults, options.faults);
    if (!error.empty()) {
        return nullptr;
    }
    std::optional<ChipImage> image = chooseImage(options, error);
    if (!image) {
        return nullptr;
    }
    if (faults.locked) {
        image->lockMemories();
    }
    std::unique_ptr<SimulatedBoard> board(new SimulatedBoard(std::move(*image), options, faults));
    if (!options.traceFile.empty() && !board->trace_.openFile(options.traceFile)) {
        error = fmt::format("cannot write the trace file {}", options.traceFile);
        board->stopped_ = true;  // nothing happened that the state should keep
        return nullptr;
    }
    return board;
}

SimulatedBoard::SimulatedBoard(ChipImage image, const SimOptions& options, FaultPlan faults)
    : image_(std::move(image)), stateDir_(options.stateDir) {
    trace_.keepInMemory(options.traceInMemory);
    socket_ = std::make_unique<ChipSocket>(image_, faults.swapChipAfter);
    line_ = std::make_unique<BoardLine>(faults, trace_, options.timing);
    board_ = std::make_unique<Board>(*socket_, *line_, faults);
    line_->attach(*board_);
}

SimulatedBoard::~SimulatedBoard() {
    stop();
}

std::string SimulatedBoard::stop() {
    if (stopped_) {
        return {};
    }
    stopped_ = true;
    trace_.flush();
    return stateDir_.empty() ? std::string() : saveChipState(base::utf8Path(stateDir_), image_);
}

std::unique_ptr<link::SerialPort> SimulatedBoard::openPort(base::VirtualClock& clock) {
    return std::make_unique<SimulatedPort>(*this, clock);
}

link::InProcessBoardMaker simulatorMaker(SimOptions options) {
    return [options =
                std::move(options)](std::string& error) -> std::unique_ptr<link::InProcessBoard> {
        return SimulatedBoard::create(options, error);
    };
}

}  // namespace zavuv::sim
