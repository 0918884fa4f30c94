// The production line: one project auto-programmed by zavuv-cli on one board
// and on four boards at once, each a zavuv-boardsim --line-rate on a
// pseudo-terminal. The boards work in parallel, so four should take hardly
// longer than one: `ratio` is the four-board wall time over the one-board time.

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "support/BoardSimProcess.h"
#include "support/RunProgram.h"
#include "support/ScratchFolder.h"

namespace {

using zavuv::testing::BoardSimProcess;
using zavuv::testing::runProgram;
using zavuv::testing::ScratchFolder;

constexpr std::size_t kImageBytes = 16 * 1024;

std::string imageOf(std::size_t count) {
    std::string bytes(count, '\0');
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<char>((i * 31 + 7 + (i >> 8)) % 251);
    return bytes;
}

// Seconds for one auto-program of the project on `boards` fresh boards at once;
// negative when the run failed.
double autoProgramSeconds(const ScratchFolder& folder, const std::string& project, int boards) {
    std::vector<std::unique_ptr<BoardSimProcess>> sims;
    std::string ports;
    for (int i = 0; i < boards; ++i) {
        sims.push_back(std::make_unique<BoardSimProcess>(
            ZAVUV_BOARDSIM_PATH,
            std::vector<std::string>{"--sim-chip", "ATmega128", "--line-rate"}));
        ports += (i == 0 ? "" : ",") + sims.back()->devicePath();
    }
    const auto start = std::chrono::steady_clock::now();
    const auto result = runProgram(
        ZAVUV_CLI_PATH, {"-p", ports, "-b", "1", "-d", "ATmega128", "-P", project, "autoprogram"},
        {"ZAVUV_PROFILE=" + folder.file("profile.ini")});
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result.exitCode == 0 ? seconds : -1;
}

void GangAutoProgram(benchmark::State& state) {
    ScratchFolder folder;
    const std::string flash = folder.write("image.bin", imageOf(kImageBytes));
    const std::string project =
        folder.write("job.kb2", "[Files]\nFlash=" + flash +
                                    "\n[AutoProgram]\nAutoFlashProgram=1\nAutoFlashVerify=1\n");
    double one = 0;
    double four = 0;
    for (auto _ : state) {
        const double oneNow = autoProgramSeconds(folder, project, 1);
        const double fourNow = autoProgramSeconds(folder, project, 4);
        if (oneNow < 0 || fourNow < 0) {
            state.SkipWithError("an auto-program failed");
            return;
        }
        one += oneNow;
        four += fourNow;
        state.SetIterationTime(oneNow + fourNow);
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["one_board_s"] = one / runs;
    state.counters["four_boards_s"] = four / runs;
    state.counters["ratio"] = four / one;
}

BENCHMARK(GangAutoProgram)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
