// Program and verify through zavuv-boardsim on a pseudo-terminal, paced at the
// line's baud rate, with the termios back end: how close the whole operation
// comes to what the wire and the protocol's own pauses allow.
//
// The floor is the same program and verify against the in-process simulated
// board in virtual time with line-rate pacing and no adapter latency: there
// every byte costs exactly its ten bit times at the rate in force, each
// protocol pause is spent once, and nothing else takes time. With an adapter
// latency, a second virtual run with that latency tells the adapter's share
// from the program's own.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <numeric>
#include <string>
#include <vector>

#include "operations/OperationFrame.h"
#include "support/BoardSimProcess.h"
#include "support/RecordingUserPort.h"
#include "support/ScratchFolder.h"
#include "support/SimulatedWorkspace.h"
#include "workspace/Workspace.h"

namespace {

using namespace zavuv;

// The COM slot that stands for the pseudo-terminal during a run.
constexpr int kBenchPort = 3;

struct ChipCase {
    const char* chip;
    std::size_t bytes;  // programmed from offset 0
};

constexpr ChipCase kAtmega128{"ATmega128", 131072};
constexpr ChipCase kAt45db161b{"AT45DB161B", 256 * 1024};

std::vector<std::uint8_t> imageOf(std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 31 + 7 + (i >> 8)) % 251);
    return bytes;
}

// A workspace of its own: profile, user port, and the chip chosen as device.
class Stage {
public:
    Stage(const ChipCase& chip, int baudIndex)
        : profile_(folder_.file("profile.ini")), ws_(user_, profile_) {
        ws_.baudIndex = baudIndex;
        ws_.project().deviceNo = testing::deviceIndexOf(chip.chip);
        ws_.selectDevice(ws_.project().deviceNo);
        ws_.flash().loadFile(folder_.write("image.bin", imageOf(chip.bytes)));
    }

    workspace::Workspace& ws() { return ws_; }

    bool programAndVerify() {
        return operations::programFlash(ws_) && operations::verifyFlash(ws_);
    }

private:
    testing::ScratchFolder folder_;
    testing::RecordingUserPort user_;
    workspace::ProfileStore profile_;
    workspace::Workspace ws_;
};

struct Floor {
    double seconds = 0;
    double pauseSeconds = 0;
    std::size_t wireBytes = 0;
    bool ok = false;
};

std::size_t bytesOnTheWire(const std::vector<std::string>& traceLines) {
    std::size_t bytes = 0;
    for (const std::string& line : traceLines) {
        // "<ms> > 25 0D": three characters per byte after the direction mark.
        const std::size_t mark = line.find(' ');
        bytes += (line.size() - mark) / 3;
    }
    return bytes;
}

Floor floorOf(const ChipCase& chip, int baudIndex, int latencyMs) {
    Stage stage(chip, baudIndex);
    auto& ws = stage.ws();
    sim::SimOptions options;
    options.chip = chip.chip;
    options.traceInMemory = true;
    options.timing.lineRate = true;
    options.timing.latencyUs = std::int64_t{latencyMs} * 1000;
    ws.ports().mapForThisRun(kBenchPort, workspace::kSimulatedPortName);
    ws.ports().setSimulatorMaker(sim::simulatorMaker(options));
    ws.setComPort(kBenchPort);
    auto& clock = ws.clock().virtualClock();
    Floor floor;
    floor.ok = stage.programAndVerify();
    floor.seconds = static_cast<double>(clock.nowUs()) / 1e6;
    const auto pauses = clock.pauses();
    floor.pauseSeconds = std::accumulate(pauses.begin(), pauses.end(), 0.0) / 1e3;
    floor.wireBytes =
        bytesOnTheWire(dynamic_cast<sim::SimulatedBoard&>(*ws.ports().simulator()).trace().lines());
    return floor;
}

void measure(benchmark::State& state, const ChipCase& chip, int baudIndex, int latencyMs) {
    const Floor floor = floorOf(chip, baudIndex, 0);
    const Floor withLatency = floorOf(chip, baudIndex, latencyMs);
    if (!floor.ok || !withLatency.ok) {
        state.SkipWithError("the in-process run failed");
        return;
    }
    double measured = 0;
    for (auto _ : state) {
        testing::BoardSimProcess board(
            ZAVUV_BOARDSIM_PATH,
            {"--sim-chip", chip.chip, "--line-rate", "--sim-latency", std::to_string(latencyMs)});
        if (board.devicePath().empty()) {
            state.SkipWithError("zavuv-boardsim did not start");
            return;
        }
        Stage stage(chip, baudIndex);
        stage.ws().ports().mapForThisRun(kBenchPort, board.devicePath());
        stage.ws().setComPort(kBenchPort);
        const auto start = std::chrono::steady_clock::now();
        const bool ok = stage.programAndVerify();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        if (!ok) {
            state.SkipWithError("program or verify failed on the pseudo-terminal");
            return;
        }
        measured = elapsed.count();
        state.SetIterationTime(measured);
    }
    state.counters["floor_s"] = floor.seconds;
    state.counters["pauses_s"] = floor.pauseSeconds;
    state.counters["wire_bytes"] = static_cast<double>(floor.wireBytes);
    state.counters["ratio"] = measured / floor.seconds;
    state.counters["latency_floor_s"] = withLatency.seconds;
    state.counters["latency_ratio"] = measured / withLatency.seconds;
}

double minimum(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

// Arguments: baud index (0 = 19200, 1 = 115200, 2 = 921600), adapter latency in ms.
void atmega128(benchmark::State& state) {
    measure(state, kAtmega128, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
}

// A DataFlash always runs at 19200 baud; the argument is the adapter latency.
void at45db161b(benchmark::State& state) {
    measure(state, kAt45db161b, 0, static_cast<int>(state.range(0)));
}

}  // namespace

BENCHMARK(atmega128)
    ->ArgNames({"baud", "latency_ms"})
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->Iterations(1)
    ->UseManualTime()
    ->ComputeStatistics("min", minimum)
    ->Unit(benchmark::kSecond);
BENCHMARK(at45db161b)
    ->ArgNames({"latency_ms"})
    ->Args({0})
    ->Args({1})
    ->Iterations(1)
    ->UseManualTime()
    ->ComputeStatistics("min", minimum)
    ->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
