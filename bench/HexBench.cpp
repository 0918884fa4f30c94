// Intel HEX throughput of a memory buffer: Load of a .hex file and Save As to
// .hex, as the program does them (file reading, decoding, byte states, atomic
// replacement of the file), on a 1 MB image (type 02 records) and on an
// AT45DB642's whole 8,650,752 bytes (type 04 records). The rate counts image
// bytes, not characters of HEX text.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "buffers/IntelHex.h"
#include "buffers/MemoryBuffer.h"
#include "support/RecordingUserPort.h"
#include "support/ScratchFolder.h"

namespace {

using namespace zavuv;

constexpr std::int64_t kOneMegabyte = 1048576;
constexpr std::int64_t kAt45db642Bytes = 8650752;

// Random bytes: no run of 0xFF that a reader or writer could make light of.
std::vector<std::uint8_t> randomImage(std::size_t size) {
    std::mt19937 numbers(12345);
    std::vector<std::uint8_t> image(size);
    for (auto& b : image)
        b = static_cast<std::uint8_t>(numbers());
    return image;
}

void reportRate(benchmark::State& state, std::size_t imageBytes) {
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(imageBytes));
}

void hexLoad(benchmark::State& state) {
    const auto size = static_cast<std::size_t>(state.range(0));
    testing::ScratchFolder folder;
    const std::string hex = buffers::writeIntelHex(randomImage(size));
    const std::string path = folder.write("image.hex", hex);
    testing::RecordingUserPort user;
    buffers::MemoryBuffer flash(false, user);
    for (auto _ : state) {
        flash.loadFile(path);
        if (flash.size() != size)
            state.SkipWithError("the image did not load whole");
    }
    reportRate(state, size);
}

void hexSave(benchmark::State& state) {
    const auto size = static_cast<std::size_t>(state.range(0));
    testing::ScratchFolder folder;
    testing::RecordingUserPort user;
    buffers::MemoryBuffer flash(false, user);
    flash.loadFile(folder.write("image.bin", randomImage(size)));
    const std::string path = folder.file("saved.hex");
    for (auto _ : state) {
        if (!flash.saveAs(path))
            state.SkipWithError("the image was not saved");
    }
    reportRate(state, size);
}

}  // namespace

// Wall time: a save waits for the disk, which costs no CPU time.
BENCHMARK(hexLoad)
    ->Arg(kOneMegabyte)
    ->Arg(kAt45db642Bytes)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(hexSave)
    ->Arg(kOneMegabyte)
    ->Arg(kAt45db642Bytes)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
